#include "core/efile_codes.h"

#include "core/cp949.h"
#include "core/csv_reader.h"
#include "core/input_quote.h"
#include "core/quorva_lib.h"
#include "core/safe_save.h"
#include "core/worker_entry_lists.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace lavodc {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLatin(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool hasDigit(std::string_view text)
{
    for (char c : text)
        if (isDigit(c))
            return true;
    return false;
}

std::string joined(const std::vector<std::string>& cells)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i)
        line += (i ? "," : "") + cells[i];
    return line;
}

// The fields of a record without the empty ones a spreadsheet leaves at its end; nothing for a
// blank line.
std::vector<std::string> fieldsOf(const CsvRecord& record)
{
    std::vector<std::string> fields;
    for (const std::string& cell : record.cells)
        fields.push_back(Trim(cell));
    while (!fields.empty() && fields.back().empty())
        fields.pop_back();
    return fields;
}

// 13 digits from "9001015123456" or "900101-5123456"; empty for anything else.
std::string numberOf(std::string_view typed)
{
    const std::string text = Trim(typed);
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '-' && i == 6 && text.size() == 14)
            continue;
        if (!isDigit(text[i]))
            return {};
        digits.push_back(text[i]);
    }
    return digits.size() == 13 ? digits : std::string();
}

// The job table's key for the job column of a job file: "A", "a" or the whole entry "A.철근원".
std::string jobKeyOf(const std::string& utf8Job)
{
    if (utf8Job.size() == 1)
        return JobEntryOfKey(std::string(1, upper(utf8Job[0]))).empty() ? std::string() : std::string(1, upper(utf8Job[0]));
    for (const std::string& entry : JobEntries())
        if (fromCp949(entry) == utf8Job)
            return entry.substr(0, 1);
    return {};
}

// Reads the records of a code file one by one, skipping blank lines and a title line.
template <typename Take>
std::vector<CodeFileProblem> eachRecord(std::string_view bytes, std::size_t codeColumn, Take take)
{
    std::vector<CodeFileProblem> problems;
    bool first = true;
    std::string unreadable;
    const std::vector<CsvRecord> records = ReadSmallCsv(bytes, ',', &unreadable);
    for (const CsvRecord& record : records) {
        const std::vector<std::string> fields = fieldsOf(record);
        if (fields.empty())
            continue;
        const bool title = first && !(fields.size() > codeColumn && hasDigit(fields[codeColumn]));
        first = false;
        if (title)
            continue;
        std::string reason = take(fields);
        if (!reason.empty())
            problems.push_back({record.number, QuotedInput(joined(record.cells)), std::move(reason)});
    }
    // A quote left open: the lines from there on cannot be read.
    if (!unreadable.empty())
        problems.push_back({records.empty() ? 1 : records.back().number + 1, std::string(), std::move(unreadable)});
    return problems;
}

} // namespace

std::string JobCodeOf(std::string_view typed)
{
    const std::string text = Trim(typed);
    if (text.empty() || text.size() > 3)
        return {};
    for (char c : text)
        if (!isDigit(c))
            return {};
    return std::string(3 - text.size(), '0') + text;
}

std::string NationalityCodeOf(std::string_view typed)
{
    std::string text = Trim(typed);
    if (text.empty() || text.size() > 3)
        return {};
    bool digits = true;
    for (char& c : text) {
        if (!isDigit(c) && !isLatin(c))
            return {};
        digits = digits && isDigit(c);
        c = upper(c);
    }
    if (digits)
        return std::string(3 - text.size(), '0') + text;
    return text.size() == 3 ? text : std::string();
}

std::string StayStatusCodeOf(std::string_view typed)
{
    std::string text = Trim(typed);
    if (text.empty() || text.size() > 5 || !isLatin(text[0]))
        return {};
    for (char& c : text) {
        if (!isDigit(c) && !isLatin(c) && c != '-')
            return {};
        c = upper(c);
    }
    return text;
}

JobCodeFile ParseJobCodes(std::string_view bytes)
{
    JobCodeFile file;
    file.problems = eachRecord(bytes, 1, [&file](const std::vector<std::string>& fields) -> std::string {
        if (fields.size() < 2 || fields[0].empty() || fields[1].empty())
            return K("직종과 직종코드 두 칸이 있어야 합니다");
        if (fields.size() > 2)
            return K("칸이 셋 이상입니다");
        const std::string key = jobKeyOf(fields[0]);
        if (key.empty())
            return K("직종 목록에 없는 직종입니다 (첫 글자 \"A\"나 \"A.철근원\"처럼 씁니다)");
        const std::string code = JobCodeOf(fields[1]);
        if (code.empty())
            return K("직종코드는 숫자 세 자리입니다");
        const auto [at, added] = file.codes.emplace(key, code);
        if (!added && at->second != code)
            return K("같은 직종에 앞 줄과 다른 코드가 있습니다");
        return {};
    });
    return file;
}

PeopleCodeFile ParsePeopleCodes(std::string_view bytes)
{
    PeopleCodeFile file;
    file.problems = eachRecord(bytes, 0, [&file](const std::vector<std::string>& fields) -> std::string {
        if (fields.size() < 3)
            return K("등록번호, 국적코드, 체류자격코드 세 칸이 있어야 합니다");
        if (fields.size() > 3)
            return K("칸이 넷 이상입니다");
        const std::string number = numberOf(fields[0]);
        if (number.empty())
            return K("주민(외국인)등록번호는 숫자 13자리입니다");
        PersonCodes codes{NationalityCodeOf(fields[1]), StayStatusCodeOf(fields[2])};
        if (codes.nationality.empty())
            return K("국적코드는 영문자나 숫자 세 자리입니다");
        if (codes.stayStatus.empty())
            return K("체류자격코드는 영문자로 시작하는 다섯 자 이내의 영문자, 숫자, \"-\"입니다");
        const auto [at, added] = file.codes.emplace(number, codes);
        if (!added && (at->second.nationality != codes.nationality || at->second.stayStatus != codes.stayStatus))
            return K("같은 번호에 앞 줄과 다른 코드가 있습니다");
        return {};
    });
    return file;
}

std::string PeopleFileText(std::string_view existing, const PeopleCodes& updates)
{
    const auto lineOf = [](const std::string& number, const PersonCodes& codes) {
        return number + "," + codes.nationality + "," + codes.stayStatus;
    };
    std::map<std::string, bool> written;   // numbers of `updates` already in the text
    std::string text;
    std::size_t start = 0;
    while (start < existing.size()) {
        std::size_t end = existing.find('\n', start);
        end = end == std::string_view::npos ? existing.size() : end + 1;
        const std::string_view line = existing.substr(start, end - start);
        start = end;
        // The number as a reader of the file sees it: a spreadsheet may have quoted it.
        std::string unreadable;
        const std::vector<CsvRecord> cells = ReadSmallCsv(line, ',', &unreadable);
        const std::string number =
            cells.empty() || cells[0].cells.size() < 2 ? std::string() : numberOf(cells[0].cells[0]);
        const auto update = number.empty() ? updates.end() : updates.find(number);
        if (update == updates.end()) {
            text += line;
            continue;
        }
        if (written[number])
            continue;   // a second line of the same number goes with the first
        written[number] = true;
        if (update->second.nationality.empty() && update->second.stayStatus.empty())
            continue;
        const std::string_view ending = line.substr(line.find_last_not_of("\r\n") + 1);
        text += lineOf(number, update->second) + std::string(ending.empty() ? "\n" : ending);
    }
    if (existing.empty())
        text = fromCp949(K("주민(외국인)등록번호,국적코드,체류자격코드")) + "\n";
    else if (!text.empty() && text.back() != '\n')
        text += '\n';
    for (const auto& [number, codes] : updates)
        if (!written[number] && !(codes.nationality.empty() && codes.stayStatus.empty()))
            text += lineOf(number, codes) + "\n";
    return text;
}

std::string ReadSmallRegularFile(const std::string& path, std::size_t mostBytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        throw FileError(std::strerror(errno), errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw FileError(std::strerror(errno), errno);
    if (!S_ISREG(info.st_mode))
        throw FileError(kNotARegularFile);
    if (static_cast<std::uint64_t>(info.st_size) > mostBytes)
        throw FileError(K("파일이 너무 큽니다"));
    std::string bytes;
    char chunk[1 << 14];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(std::strerror(errno), errno);
        }
        if (got == 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(got));
        if (bytes.size() > mostBytes)
            throw FileError(K("파일이 너무 큽니다"));
    }
    return bytes;
}

} // namespace lavodc
