#pragma once
// Breaking a CP949 text into the lines of a text box. Pure: widths come from a
// TextWidthSource, so the rules can be checked without fonts.

#include "report/form_layout.h"

#include <string>
#include <string_view>
#include <vector>

namespace lavodc::report {

class TextWidthSource {
public:
    virtual ~TextWidthSource() = default;
    // Width in millimetres of a run of CP949 text drawn in one font.
    virtual double TextWidth(std::string_view cp949) const = 0;
};

// The lines of `text` in a box `boxWidth` wide. A word ends after a blank, a hyphen or a
// carriage return, which stays with it; a carriage return also ends the line and a line
// feed is ignored. Words join a line while it fits (trailing blanks are invisible and not
// measured); a word wider than the box is cut to what fits on a line of its own and the
// rest of it is dropped. One-line boxes keep only the first line.
std::vector<std::string> BreakLines(std::string_view text, double boxWidth, const TextWidthSource& widths,
                                    LineRule rule);

// How many lines of `lineHeight` a box of `boxHeight` shows: a line counts while it ends
// no lower than 0.1 mm below the box.
int VisibleLineCount(double boxHeight, double lineHeight);

// The text without trailing blanks: what is measured and aligned.
std::string_view VisiblePart(std::string_view line);

// Bytes of the CP949 character that starts at `pos` (2 for a lead byte with a partner).
std::size_t Cp949CharLength(std::string_view text, std::size_t pos);

} // namespace lavodc::report
