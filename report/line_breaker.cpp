#include "report/line_breaker.h"

namespace lavodc::report {
namespace {

constexpr double kFitTolerance = 1e-9;
constexpr double kLineOverhang = 0.1;

bool endsWord(char c)
{
    return c == ' ' || c == '-' || c == '\r';
}

bool fits(std::string_view candidate, double boxWidth, const TextWidthSource& widths)
{
    return widths.TextWidth(VisiblePart(candidate)) <= boxWidth + kFitTolerance;
}

// The longest prefix of `word`, whole characters only, that fits the box.
std::string widestFittingPrefix(std::string_view word, double boxWidth, const TextWidthSource& widths)
{
    std::size_t end = 0;
    while (end < word.size()) {
        const std::size_t next = end + Cp949CharLength(word, end);
        if (!fits(word.substr(0, next), boxWidth, widths))
            break;
        end = next;
    }
    return std::string(word.substr(0, end));
}

std::vector<std::string> splitWords(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = Cp949CharLength(text, pos);
        const char c = text[pos];
        pos += len;
        if (len == 1 && c == '\n')
            continue;
        word.append(text.substr(pos - len, len));
        if (len == 1 && endsWord(c)) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

} // namespace

std::size_t Cp949CharLength(std::string_view text, std::size_t pos)
{
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte >= 0x81 && byte <= 0xFE && pos + 1 < text.size())
        return 2;
    return 1;
}

std::string_view VisiblePart(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && line[end - 1] == ' ')
        --end;
    return line.substr(0, end);
}

std::vector<std::string> BreakLines(std::string_view text, double boxWidth, const TextWidthSource& widths,
                                    LineRule rule)
{
    std::vector<std::string> lines;
    std::string line;
    bool lineOpen = false;   // a carriage return leaves an open, possibly empty, line behind
    const auto closeLine = [&] {
        lines.push_back(std::move(line));
        line.clear();
        lineOpen = false;
    };

    for (std::string word : splitWords(text)) {
        const bool hardBreak = word.back() == '\r';
        if (hardBreak)
            word.pop_back();

        bool cut = false;
        if (!word.empty()) {
            if (!line.empty() && !fits(line + word, boxWidth, widths)) {
                // Blanks alone never make a line: a padded amount would otherwise leave its
                // first line empty and its digits below a one-line box.
                if (VisiblePart(line).empty())
                    line.clear();
                else
                    closeLine();
            }
            if (line.empty() && !fits(word, boxWidth, widths)) {
                line = widestFittingPrefix(word, boxWidth, widths);
                closeLine();
                cut = true;
            } else {
                line += word;
                lineOpen = true;
            }
        }
        if (hardBreak && !cut)
            closeLine();
        if (rule == LineRule::OneLine && !lines.empty())
            break;
    }
    if (lineOpen || !line.empty())
        closeLine();
    if (rule == LineRule::OneLine && lines.size() > 1)
        lines.resize(1);
    return lines;
}

int VisibleLineCount(double boxHeight, double lineHeight)
{
    if (lineHeight <= 0)
        return 0;
    int count = 0;
    while ((count + 1) * lineHeight <= boxHeight + kLineOverhang + kFitTolerance)
        ++count;
    return count;
}

} // namespace lavodc::report
