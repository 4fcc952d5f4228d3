#include "core/list_values.h"

#include "core/cp949.h"
#include "core/day_marks.h"
#include "core/edit_mask.h"
#include "core/phone_number.h"
#include "core/quorva_lib.h"
#include "core/sheet.h"
#include "core/sheet_record.h"
#include "core/worker_entry_lists.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lavodc {

namespace {

// An amount written longer than this is no amount a clerk typed.
constexpr std::size_t kMaxAmountText = 64;

// A day cell longer than this is no mark; it is not converted.
constexpr std::size_t kMaxMarkText = 8;

bool RemovePrefix(std::string& text, std::string_view prefix)
{
    if (text.compare(0, prefix.size(), prefix) != 0)
        return false;
    text.erase(0, prefix.size());
    return true;
}

bool AllDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

std::string_view TrimUtf8(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    return text.substr(begin, end - begin);
}

// Converted a slice at a time, so that a huge cell never stands in memory twice.
std::string FieldText(std::string_view cell, std::size_t width)
{
    constexpr std::size_t kSlice = 4096;
    std::string_view rest = TrimUtf8(cell);
    std::string kept;
    while (!rest.empty()) {
        std::size_t cut = std::min(kSlice, rest.size());
        while (cut < rest.size() && (static_cast<unsigned char>(rest[cut]) & 0xC0) == 0x80)
            ++cut;   // not inside a character
        const std::string slice = toCp949(rest.substr(0, cut));
        if (kept.size() <= width)
            kept += slice;
        rest.remove_prefix(cut);
    }
    return cutToWholeCharacters(kept, width);
}

std::optional<Amount> ReadAmount(std::string_view utf8)
{
    std::string text;
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == ',')
            continue;
        if (text.size() == kMaxAmountText)
            return std::nullopt;
        text += c;
    }
    if (!RemovePrefix(text, "\xE2\x82\xA9") && !RemovePrefix(text, "\xEF\xBF\xA6"))
        RemovePrefix(text, "\\");
    if (text.size() >= 3 && text.compare(text.size() - 3, 3, "\xEC\x9B\x90") == 0)
        text.erase(text.size() - 3);
    if (text.empty())
        return Amount{};
    if (text[0] == '+')
        text.erase(0, 1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return Amount{true, value + 0.0};   // no negative zero
}

bool StorableAmount(double value)
{
    return value >= 0 && record::fitsAmount(value);
}

std::string RegistrationNumber(const std::string& cp949)
{
    static const EditMask mask(kMgrJmnNoMask);
    std::string text = RemoveBlanks(cp949);
    if (text.size() == 12 && AllDigits(text))
        text.insert(0, 1, '0');
    if (text.size() == 13 && AllDigits(text))
        text.insert(6, 1, '-');
    return mask.normalize(text);
}

std::optional<std::uint64_t> NumberKey(std::string_view cp949)
{
    std::uint64_t key = 0;
    int digits = 0;
    for (const char c : cp949) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == '-')
            continue;
        if (c < '0' || c > '9' || ++digits > 13)
            return std::nullopt;
        key = key * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (digits != 13)
        return std::nullopt;
    return key;
}

std::string JobEntry(const std::string& cp949)
{
    const std::string key = RemoveBlanks(cp949);
    for (const std::string& entry : JobEntries()) {
        const std::string entryKey = RemoveBlanks(entry);
        if (key == entryKey || (!key.empty() && key == entryKey.substr(2)))
            return entry;
    }
    return JobEntries()[static_cast<std::size_t>(JobPosition(cp949))];
}

std::string StoredPhone(const std::string& cp949)
{
    std::string text = TrimLeading(cp949);
    if (!text.empty() && text[0] == '(')
        text = UnbracketPhone(text);
    text = cutToWholeCharacters(TrimTrailing(SplitPhoneNumber(text)), 15);
    return cutToWholeCharacters(BracketPhone(text, 3), 15);
}

DayCell ReadDayCell(std::string_view utf8)
{
    const std::string_view text = TrimUtf8(utf8);
    if (text.empty())
        return DayCell::Empty;
    if (text.size() > kMaxMarkText)
        return DayCell::Other;
    try {
        // What typing the text into a day cell would leave there.
        return DayCellAfterTyping(toCp949(text)) == kDayMark ? DayCell::Mark : DayCell::Other;
    } catch (const EncodingError&) {
        return DayCell::Other;
    }
}

} // namespace lavodc
