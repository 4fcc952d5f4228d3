// Text utilities over CP949 byte strings (every length counts bytes).

#include "core/quorva_lib.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace lavodc {

namespace {

bool isTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

// The local part of a telephone number: all digits but the last four, "-", the last four;
// "-" and the digits when there are four or fewer.
std::string localPart(std::string_view digits)
{
    // Built by appending: g++ 12 warns falsely (-Wrestrict) about "-" + std::string at -O3.
    const std::size_t split = digits.size() <= 4 ? 0 : digits.size() - 4;
    std::string local(digits.substr(0, split));
    local.push_back('-');
    local.append(digits.substr(split));
    return local;
}

// ---------------------------------------------------------------------------------------------
// Money.

// A currency amount: a signed count of ten-thousandths (four fixed decimals), as the original
// platform's Currency type. Range as that type: |amount| <= 922337203685477.5807.
using Currency = std::int64_t;

[[noreturn]] void notANumber(std::string_view text)
{
    throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
}

// Parses a number in the notation of the Korean locale (decimal point ".", no grouping):
// optional sign, digits with an optional fraction, an optional exponent. The amount is rounded
// to four decimals, half away from zero.
Currency parseCurrency(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string digits; // significant digits, leading zeros dropped
    long long exponent = 0; // value = digits * 10^exponent
    bool anyDigit = false;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        anyDigit = true;
        if (!(digits.empty() && text[i] == '0'))
            digits.push_back(text[i]);
        ++i;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9') {
            anyDigit = true;
            if (!(digits.empty() && text[i] == '0'))
                digits.push_back(text[i]);
            --exponent;
            ++i;
        }
    }
    if (!anyDigit)
        notANumber(text);
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            ++i;
        }
        if (i >= n || text[i] < '0' || text[i] > '9')
            notANumber(text);
        long long e = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9') {
            if (e < 100000)
                e = e * 10 + (text[i] - '0');
            ++i;
        }
        exponent += expNegative ? -e : e;
    }
    if (i != n)
        notANumber(text);
    if (digits.empty())
        return 0;

    // Scale to ten-thousandths: value * 10^4 = digits * 10^(exponent + 4).
    long long shift = exponent + 4;
    std::string kept = digits;
    bool roundUp = false;
    if (shift < 0) {
        const long long drop = -shift;
        if (drop > static_cast<long long>(kept.size())) {
            kept.clear();
        } else {
            const std::size_t keep = kept.size() - static_cast<std::size_t>(drop);
            roundUp = kept[keep] >= '5';
            kept.resize(keep);
        }
        shift = 0;
    }
    if (static_cast<long long>(kept.size()) + shift > 19)
        notANumber(text); // outside the range of a currency amount
    unsigned __int128 value = 0;
    for (char d : kept)
        value = value * 10 + static_cast<unsigned>(d - '0');
    for (long long k = 0; k < shift; ++k)
        value *= 10;
    if (roundUp)
        value += 1;
    if (value > static_cast<unsigned __int128>(std::numeric_limits<Currency>::max()))
        notANumber(text);
    const auto amount = static_cast<Currency>(value);
    return negative ? -amount : amount;
}

// "%m" of the Korean locale: won sign 0x5C in front, "," between groups of three, no decimals
// (the amount is rounded to whole won half away from zero); a negative amount as "-\1,234".
std::string formatKoreanMoney(Currency amount)
{
    const bool negative = amount < 0;
    // Magnitude in ten-thousandths, then whole won rounded half away from zero.
    const std::uint64_t magnitude = negative ? static_cast<std::uint64_t>(-(amount + 1)) + 1
                                             : static_cast<std::uint64_t>(amount);
    const std::uint64_t won = magnitude / 10000 + (magnitude % 10000 >= 5000 ? 1 : 0);
    std::string digits = std::to_string(won);
    std::string grouped;
    const std::size_t first = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    grouped.append(digits, 0, first);
    for (std::size_t k = first; k < digits.size(); k += 3) {
        grouped.push_back(',');
        grouped.append(digits, k, 3);
    }
    std::string result;
    if (negative && won != 0)
        result.push_back('-');
    result.push_back('\\');
    result += grouped;
    return result;
}

} // namespace

std::string RemoveBlanks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ' ')
            out.push_back(c);
    return out;
}

std::string RemoveChar(char ch, std::string_view text)
{
    const std::string trimmed = Trim(text);
    std::string out;
    out.reserve(trimmed.size());
    for (char c : trimmed)
        if (c != ch)
            out.push_back(c);
    return out;
}

std::string TrimLeading(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isTrimmed(text[i]))
        ++i;
    return std::string(text.substr(i));
}

std::string TrimTrailing(std::string_view text)
{
    std::size_t n = text.size();
    while (n > 0 && isTrimmed(text[n - 1]))
        --n;
    return std::string(text.substr(0, n));
}

std::string Trim(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isTrimmed(text[begin]))
        ++begin;
    while (end > begin && isTrimmed(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

std::string RepeatChar(char ch, int count)
{
    if (ch == '\0' || count <= 0)
        return {};
    return std::string(static_cast<std::size_t>(count), ch);
}

std::string PadLeft(std::string_view text, int width, char fill)
{
    const auto length = static_cast<long long>(text.size());
    if (length >= width)
        return std::string(text);
    return std::string(static_cast<std::size_t>(width - length), fill) + std::string(text);
}

std::string PadRight(char fill, std::string_view text, int width)
{
    std::string t = Trim(text);
    const auto length = static_cast<long long>(t.size());
    if (length < width)
        t.append(static_cast<std::size_t>(width - length), fill);
    return t;
}

std::string MoneyText(std::string_view text, int width, bool dropSign)
{
    std::string t = Trim(text);
    if (t.empty() || static_cast<long long>(t.size()) > width)
        t.assign(1, '0');   // not = "0": g++ 12 warns falsely (-Wrestrict) about it at -O3
    std::string money = formatKoreanMoney(parseCurrency(t));
    if (dropSign) {
        const std::size_t sign = money.find('\\');
        if (sign != std::string::npos)
            money.erase(sign, 1);
    }
    const auto length = static_cast<long long>(money.size());
    if (length >= width)
        return money;
    std::string padded(static_cast<std::size_t>(width - length), ' ');
    padded += money;
    return padded;
}

std::string MoneyValueText(double value, int width)
{
    // The plain decimal text of the currency amount (four decimals at most, trailing zeros and
    // a bare "." dropped). NaN and infinities give texts that MoneyText refuses.
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.4f", value);
    std::string text = buf;
    const std::size_t dot = text.find('.');
    if (dot != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return MoneyText(text, width, true);
}

bool IsDateTextComplete(char separator, std::string_view text)
{
    std::size_t remaining = 0;
    for (char c : text)
        if (c != separator && c != ' ')
            ++remaining;
    return remaining == 8 || remaining == 0;
}

// Edit form to stored form. A non-empty text with nothing after its first "-" (also a number
// typed without any "-") is returned as it is, blanks removed: it has no local number to
// bracket, and UnbracketPhone gives a text that does not begin with "(" back unchanged.
std::string BracketPhone(std::string_view text, int areaWidth)
{
    const std::string t = RemoveBlanks(text);
    if (t.empty())
        return "   ";
    const std::size_t dash = t.find('-');
    const std::string area = t.substr(0, dash);
    const std::string digits = dash == std::string::npos ? std::string() : RemoveChar('-', std::string_view(t).substr(dash));
    if (digits.empty())
        return t;
    std::string stored(1, '(');
    stored += PadLeft(area, areaWidth, ' ');
    stored.push_back(')');
    stored += PadLeft(localPart(digits), 9, ' ');
    return stored;
}

// Stored form to edit form. Only the layout BracketPhone makes is taken apart: "(", the area
// code, ")", then a local part with its one "-" and one to four characters after it (exactly
// four when there is anything before it). Any other text, "(02)" or "(02)1234" among them, is
// returned as it is, blanks removed, so that no character of it is lost. The blanks that pad
// the stored form are not the clerk's: "(  02) 555-1234" gives back "02-555-1234" as typed,
// and a local part of four digits or fewer joins its area ("1588-1234").
std::string UnbracketPhone(std::string_view text)
{
    const std::string t = RemoveBlanks(text);
    if (t.empty())
        return {};
    const std::size_t dash = t.find('-');
    if (t[0] != '(' || dash == std::string::npos || t.find('-', dash + 1) != std::string::npos)
        return t;
    const std::size_t tail = t.size() - dash - 1;
    const std::size_t close = t.rfind(')', dash);
    if (tail == 0 || tail > 4 || close == std::string::npos)
        return t;
    if (tail < 4 && close + 1 != dash)
        return t;
    const std::string area = t.substr(1, close - 1);
    const std::string_view local = std::string_view(t).substr(close + 1);
    if (local.front() == '-')
        return area + std::string(local);
    return area + "-" + std::string(local);
}

} // namespace lavodc
