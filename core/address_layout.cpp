#include "core/address_layout.h"

#include "core/cp949.h"
#include "core/quorva_lib.h"

#include <algorithm>

namespace lavodc {

namespace {

constexpr double kTolerance = 1e-9;

std::size_t charLength(std::string_view text, std::size_t pos)
{
    const auto byte = static_cast<unsigned char>(text[pos]);
    return byte >= 0x81 && byte <= 0xFE && pos + 1 < text.size() ? 2 : 1;
}

std::string_view withoutTrailingBlanks(std::string_view line)
{
    while (!line.empty() && line.back() == ' ')
        line.remove_suffix(1);
    return line;
}

bool fits(std::string_view line, double width, const TextMeasure& measure)
{
    return measure(withoutTrailingBlanks(line)) <= width + kTolerance;
}

} // namespace

std::vector<std::string> BreakAtBlanks(std::string_view text, double width, const TextMeasure& measure)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;        // end of the widest run of whole characters that fits
        std::size_t afterBlank = 0;     // end of the line if it breaks at the last blank that fits
        while (end < text.size()) {
            const std::size_t next = end + charLength(text, end);
            if (!fits(text.substr(start, next - start), width, measure))
                break;
            end = next;
            if (text[end - 1] == ' ')
                afterBlank = end;
        }
        // Blanks after the break belong to the line that ends there.
        while (end < text.size() && text[end] == ' ')
            afterBlank = ++end;
        if (end == text.size())
            afterBlank = end;
        if (end == start)
            end = start + charLength(text, start);   // one character wider than the box
        const std::size_t stop = afterBlank > start ? afterBlank : end;
        lines.emplace_back(text.substr(start, stop - start));
        start = stop;
    }
    return lines;
}

std::vector<std::string> AddressBoxLines(std::string_view nAddr, std::string_view nTel, double boxWidth,
                                         int maxLines, const TextMeasure& measure)
{
    const std::string address{WithoutDanglingHalf(Trim(nAddr))};
    const std::string phone = RemoveBlanks(nTel);
    const std::size_t addressLines = static_cast<std::size_t>(std::max(1, maxLines - (phone.empty() ? 0 : 1)));

    std::vector<std::string> lines;
    if (!address.empty()) {
        // The narrowest width at which the address takes no more lines than it may; lines
        // wider than the box are drawn condensed.
        double width = boxWidth;
        if (BreakAtBlanks(address, width, measure).size() > addressLines) {
            double low = boxWidth;
            double high = std::max(boxWidth, measure(address));
            for (int step = 0; step < 40 && high - low > 1e-6 * high; ++step) {
                const double middle = (low + high) / 2;
                (BreakAtBlanks(address, middle, measure).size() > addressLines ? low : high) = middle;
            }
            width = high;
        }
        lines = BreakAtBlanks(address, width, measure);
    }
    if (!phone.empty())
        lines.push_back(phone);
    return lines;
}

} // namespace lavodc
