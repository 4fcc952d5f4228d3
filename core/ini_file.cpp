// The Windows profile format over CP949 bytes; see ini_file.h for the rules.

#include "core/ini_file.h"

#include "core/safe_save.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

namespace lavodc {

namespace {

bool isBlankOrTab(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && isBlankOrTab(s[b]))
        ++b;
    while (e > b && isBlankOrTab(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

bool isLeadByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

char lowerLatin(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

struct Line {
    std::string_view text; // without its line end
    std::string_view end;  // "\r\n", "\n", "\r" or "" (last line without one)
};

std::vector<Line> splitLines(std::string_view contents)
{
    std::vector<Line> lines;
    std::size_t i = 0;
    while (i < contents.size()) {
        std::size_t j = i;
        while (j < contents.size() && contents[j] != '\n' && contents[j] != '\r')
            ++j;
        std::size_t endLen = 0;
        if (j < contents.size()) {
            endLen = (contents[j] == '\r' && j + 1 < contents.size() && contents[j + 1] == '\n') ? 2 : 1;
        }
        lines.push_back({contents.substr(i, j - i), contents.substr(j, endLen)});
        i = j + endLen;
    }
    return lines;
}

std::string_view lineEndOf(std::string_view contents)
{
    const std::size_t lf = contents.find('\n');
    if (lf == std::string_view::npos)
        return contents.find('\r') != std::string_view::npos ? "\r" : "\r\n";
    return (lf > 0 && contents[lf - 1] == '\r') ? "\r\n" : "\n";
}

// The name of a section line, or nothing when the line is not one.
std::optional<std::string_view> sectionName(std::string_view line)
{
    const std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const std::size_t close = t.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return trimBlanks(t.substr(1, close - 1));
}

struct KeyLine {
    std::string_view name;
    std::string_view value; // trimmed, quotes still on
};

std::optional<KeyLine> keyLine(std::string_view line)
{
    const std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return std::nullopt;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return KeyLine{trimBlanks(t.substr(0, eq)), trimBlanks(t.substr(eq + 1))};
}

std::string valueAsRead(std::string_view raw)
{
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
        raw = raw.substr(1, raw.size() - 2);
    if (raw.size() > kIniMaxValueBytes)
        raw = raw.substr(0, kIniMaxValueBytes);
    return std::string(raw);
}

// Where a section is in the lines: its header line and the first line after its body.
struct SectionSpan {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionSpan> findSection(const std::vector<Line>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (!name || !IniNamesEqual(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !sectionName(lines[end].text))
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line>& lines, SectionSpan span, std::string_view key)
{
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const auto k = keyLine(lines[i].text);
        if (k && IniNamesEqual(k->name, key))
            return i;
    }
    return std::nullopt;
}

// The bytes of a regular file; nothing when it is missing, not a file or cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& file)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return std::nullopt;
    try {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return std::nullopt;
        std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad())
            return std::nullopt;
        return contents;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

bool IniNamesEqual(std::string_view a, std::string_view b)
{
    a = trimBlanks(a);
    b = trimBlanks(b);
    if (a.size() != b.size())
        return false;
    std::size_t i = 0;
    while (i < a.size()) {
        if (isLeadByte(a[i]) && i + 1 < a.size()) {
            // A double-byte character: both bytes exactly (a trail byte may look like a letter).
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            i += 2;
            continue;
        }
        if (lowerLatin(a[i]) != lowerLatin(b[i]))
            return false;
        ++i;
    }
    return true;
}

std::optional<std::string> IniLookup(std::string_view contents, std::string_view section, std::string_view key)
{
    const std::vector<Line> lines = splitLines(contents);
    const auto span = findSection(lines, section);
    if (!span)
        return std::nullopt;
    const auto at = findKey(lines, *span, key);
    if (!at)
        return std::nullopt;
    return valueAsRead(keyLine(lines[*at].text)->value);
}

std::string IniUpdate(std::string_view contents, std::string_view section, std::string_view key,
                      std::string_view value)
{
    const std::size_t lineBreak = value.find_first_of("\r\n");
    if (lineBreak != std::string_view::npos)
        value = value.substr(0, lineBreak);
    const std::string_view eol = lineEndOf(contents);
    const std::vector<Line> lines = splitLines(contents);
    const std::string_view sectionTrimmed = trimBlanks(section);
    const std::string_view keyTrimmed = trimBlanks(key);

    std::string out;
    out.reserve(contents.size() + sectionTrimmed.size() + keyTrimmed.size() + value.size() + 8);
    auto appendLines = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            out += lines[i].text;
            out += lines[i].end;
        }
    };
    auto appendLineEndIfMissing = [&] {
        if (!out.empty() && out.back() != '\n' && out.back() != '\r')
            out += eol;
    };

    const auto span = findSection(lines, section);
    if (!span) {
        out.assign(contents);
        appendLineEndIfMissing();
        out += '[';
        out += sectionTrimmed;
        out += ']';
        out += eol;
        out += keyTrimmed;
        out += '=';
        out += value;
        out += eol;
        return out;
    }

    if (const auto at = findKey(lines, *span, key)) {
        // Same line, same key spelling, new value, same line end.
        const std::string_view text = lines[*at].text;
        const std::size_t eq = text.find('=');
        appendLines(0, *at);
        out += trimBlanks(text.substr(0, eq));
        out += '=';
        out += value;
        out += lines[*at].end;
        appendLines(*at + 1, lines.size());
        return out;
    }

    // After the last non-blank line of the section (blank lines before the next section stay).
    std::size_t insertAt = span->end;
    while (insertAt > span->header + 1 && trimBlanks(lines[insertAt - 1].text).empty())
        --insertAt;
    appendLines(0, insertAt);
    appendLineEndIfMissing();
    out += keyTrimmed;
    out += '=';
    out += value;
    out += eol;
    appendLines(insertAt, lines.size());
    return out;
}

std::optional<int> ParseIniInteger(std::string_view text)
{
    const std::string_view t = trimBlanks(text);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        const std::string_view hex = t.substr(2);
        if (hex.size() > 8)
            return std::nullopt;
        std::uint32_t v = 0;
        for (char c : hex) {
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return std::nullopt;
            v = v * 16 + static_cast<std::uint32_t>(d);
        }
        return static_cast<int>(static_cast<std::int32_t>(v));
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    if (i == t.size())
        return std::nullopt;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return std::nullopt;
        v = v * 10 + (t[i] - '0');
        if (v > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(v);
}

std::optional<std::string> IniFile::read(std::string_view section, std::string_view key) const
{
    const auto contents = readWholeFile(file_);
    if (!contents)
        return std::nullopt;
    return IniLookup(*contents, section, key);
}

std::string IniFile::readText(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    auto value = read(section, key);
    if (!value)
        return std::string(defaultValue.substr(0, std::min(defaultValue.size(), kIniMaxValueBytes)));
    return std::move(*value);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    const auto value = read(section, key);
    if (!value)
        return defaultValue;
    return ParseIniInteger(*value).value_or(defaultValue);
}

void IniFile::writeText(std::string_view section, std::string_view key, std::string_view value) const
{
    const std::string failure = "Unable to write to " + file_.string();
    std::error_code ec;
    std::string contents;
    if (std::filesystem::exists(file_, ec)) {
        auto existing = readWholeFile(file_);
        if (!existing)
            throw IniWriteError(failure);
        contents = std::move(*existing);
    } else if (ec) {
        throw IniWriteError(failure);
    }
    // Saved whole or not at all: a full disk must not cut the settings.
    try {
        WriteWholeFile(file_.string(), IniUpdate(contents, section, key, value));
    } catch (const FileError&) {
        throw IniWriteError(failure);
    }
}

} // namespace lavodc
