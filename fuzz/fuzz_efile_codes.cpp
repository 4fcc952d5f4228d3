// The e-filing code files over arbitrary bytes: reading ends, every code taken is a code, a
// quoted line is at most 80 characters, and a people file updated with codes gives those codes
// back when it is read again.
#include "core/efile_codes.h"
#include "core/input_quote.h"

#include "fuzz_input.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

std::size_t characters(const std::string& utf8)
{
    std::size_t count = 0;
    for (const char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// Line ends the update and a reader agree on: LF, or CR LF.
bool plainLines(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '"' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    lavodc::fuzz::Input input(data, size);
    const std::string updates = input.piece();
    const std::string_view text = input.rest();

    const lavodc::JobCodeFile jobs = lavodc::ParseJobCodes(text);
    for (const auto& [key, code] : jobs.codes) {
        require(!lavodc::JobEntryOfKey(key).empty());
        require(lavodc::JobCodeOf(code) == code);
    }
    for (const lavodc::CodeFileProblem& problem : jobs.problems)
        require(characters(problem.quotedUtf8) <= lavodc::kQuotedCharacters + 3 && !problem.reason.empty());

    const lavodc::PeopleCodeFile people = lavodc::ParsePeopleCodes(text);
    for (const auto& [number, codes] : people.codes) {
        require(number.size() == 13);
        require(lavodc::NationalityCodeOf(codes.nationality) == codes.nationality);
        require(lavodc::StayStatusCodeOf(codes.stayStatus) == codes.stayStatus);
    }

    const lavodc::PeopleCodes wanted = lavodc::ParsePeopleCodes(updates).codes;
    const std::string updated = lavodc::PeopleFileText(text, wanted);
    if (plainLines(text)) {
        const lavodc::PeopleCodes read = lavodc::ParsePeopleCodes(updated).codes;
        for (const auto& [number, codes] : wanted) {
            const auto found = read.find(number);
            require(found != read.end() && found->second.nationality == codes.nationality &&
                    found->second.stayStatus == codes.stayStatus);
        }
    }
    return 0;
}
