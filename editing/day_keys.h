#pragma once
// Keys typed into a day cell of the day strip or the batch grid. There is no cell editor: the
// grid takes the key itself and stores what the mark rule makes of it.

#include <optional>
#include <string>

class QKeyEvent;

namespace lavodc {

// The character a key press types, as CP949 ("\b" for Backspace); nothing for a key that
// types nothing (arrows, Tab, Enter, function keys) or is held with Ctrl, Alt or Meta.
std::optional<std::string> TypedDayKey(const QKeyEvent& key);

} // namespace lavodc
