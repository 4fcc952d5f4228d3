#include "core/phone_number.h"


namespace lavodc {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSeparator(char c) { return c == ' ' || c == '-' || c == '.' || c == '(' || c == ')' || c == '\t'; }

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Length of the area code (or of the first part of a four-digit service number) when the
// digits begin with one the plan knows, 0 otherwise.
std::size_t areaLength(std::string_view digits)
{
    if (startsWith(digits, "02"))
        return 2;
    if (digits.size() >= 4 && startsWith(digits, "050") && digits[3] >= '2' && digits[3] <= '8')
        return 4;   // personal numbers 0502 .. 0508
    static constexpr std::string_view threeDigitAreas[] = {
        "031", "032", "033", "041", "042", "043", "044", "051", "052", "053", "054", "055",
        "061", "062", "063", "064", "070", "010", "011", "016", "017", "018", "019"};
    for (std::string_view area : threeDigitAreas)
        if (startsWith(digits, area))
            return 3;
    return 0;
}

bool isServiceNumber(std::string_view digits)
{
    return digits.size() == 8 && (startsWith(digits, "15") || startsWith(digits, "16") || startsWith(digits, "18"));
}

} // namespace

std::string SplitPhoneNumber(std::string_view typed)
{
    std::string digits;
    int groups = 0;
    bool inGroup = false;
    for (char c : typed) {
        if (isDigit(c)) {
            digits.push_back(c);
            if (!inGroup)
                ++groups;
            inGroup = true;
        } else if (isSeparator(c)) {
            inGroup = false;
        } else {
            return std::string(typed);   // letters, an extension mark, Hangul: not a plain number
        }
    }
    // More groups than a number has is something else (an extension, two numbers).
    if (isServiceNumber(digits) && groups <= 2)
        return digits.substr(0, 4) + "-" + digits.substr(4);
    const std::size_t area = areaLength(digits);
    if (area == 0 || groups > 3)
        return std::string(typed);
    const std::size_t local = digits.size() - area;   // exchange of 3 or 4 digits, then 4
    if (local != 7 && local != 8)
        return std::string(typed);
    const std::size_t exchange = local - 4;
    return digits.substr(0, area) + "-" + digits.substr(area, exchange) + "-" + digits.substr(area + exchange);
}

} // namespace lavodc
