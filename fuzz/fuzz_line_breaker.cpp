// Line breaking and the break point over arbitrary CP949 bytes: every line fits its box or is a
// single character that cannot, no line splits a double-byte character, one-line boxes give one
// line at most, and the break point only inserts one blank.
#include "core/quorva_lib.h"
#include "report/line_breaker.h"
#include "report/report_filling.h"

#include "fuzz_input.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Each byte as wide as its value says, so that widths vary with the text.
class ByteWidths : public lavodc::report::TextWidthSource {
public:
    double TextWidth(std::string_view cp949) const override
    {
        double width = 0;
        for (const char c : cp949)
            width += 0.5 + (static_cast<unsigned char>(c) % 7) * 0.25;
        return width;
    }
};

bool wholeCharacters(std::string_view line)
{
    std::size_t pos = 0;
    while (pos < line.size())
        pos += lavodc::report::Cp949CharLength(line, pos);
    return pos == line.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lavodc::report;
    lavodc::fuzz::Input input(data, size);
    const double boxWidth = input.byte() * 0.5;
    const bool wrap = input.byte() % 2 == 1;
    const int limit = input.byte();
    const std::string text(input.rest());

    const ByteWidths widths;
    const std::vector<std::string> lines =
        BreakLines(text, boxWidth, widths, wrap ? LineRule::Wrap : LineRule::OneLine);
    if (!wrap && lines.size() > 1)
        std::abort();
    for (const std::string& line : lines) {
        if (!wholeCharacters(line))
            std::abort();
        const std::string_view visible = VisiblePart(line);
        const bool oneCharacter = !visible.empty() && Cp949CharLength(visible, 0) == visible.size();
        if (widths.TextWidth(visible) > boxWidth + 1e-6 && !oneCharacter)
            std::abort();
    }
    (void)VisibleLineCount(boxWidth, 1.0 + limit * 0.1);

    const std::string broken = BreakPointText(text, limit);
    if (broken != text) {
        const std::string trimmed = lavodc::TrimTrailing(text);
        if (broken.size() != trimmed.size() + 1)
            std::abort();
        bool found = false;
        for (std::size_t at = 0; at < broken.size() && !found; ++at)
            found = broken[at] == ' ' && broken.substr(0, at) + broken.substr(at + 1) == trimmed
                 && wholeCharacters(broken.substr(0, at));
        if (!found)
            std::abort();
    }
    return 0;
}
