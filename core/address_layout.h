#pragma once
// The address box of the printed form: the worker's whole address, broken into lines at
// blanks, and the telephone on a line of its own. When that takes more lines than the box
// shows, the address keeps fewer, wider lines, which the form draws condensed to the box's
// width: nothing of the address or the telephone is ever cut.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lavodc {

// Width of a run of CP949 text as the form draws it, in any unit the box width uses.
using TextMeasure = std::function<double(std::string_view cp949)>;

// The lines to draw, at most `maxLines` (at least one) unless the telephone needs one more
// than a one-line box has. `nTel` is the stored telephone; its padding blanks are not printed.
// A line may be wider than `boxWidth`; the caller condenses it.
std::vector<std::string> AddressBoxLines(std::string_view nAddr, std::string_view nTel, double boxWidth,
                                         int maxLines, const TextMeasure& measure);

// `text` broken into lines no wider than `width`: after a blank when one lies within the
// width, otherwise after the widest run of whole characters that fits.
std::vector<std::string> BreakAtBlanks(std::string_view text, double width, const TextMeasure& measure);

} // namespace lavodc
