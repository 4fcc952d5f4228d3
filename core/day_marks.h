#pragma once
// Changing the day marks of the current worker: the toggle of a double-click, a key typed into
// a day cell, and the batch's mark. Each keeps the row's worked-day count right.

#include "core/worker_table.h"

#include <optional>
#include <string_view>

namespace lavodc {

// Day `dayIndex` (0 for the 1st .. 30 for the 31st) of the current row becomes empty when it
// holds exactly the mark, the mark otherwise; then the row is recounted. False on an empty
// table (nothing changes).
bool ToggleDayMark(WorkerTable& table, int dayIndex);

// `text` cut to the 3 bytes of a day mark at a whole character, stored in day `dayIndex` of
// the current row, and the row recounted. False on an empty table.
bool SetDayMark(WorkerTable& table, int dayIndex, std::string_view text);

// What one character typed into a day cell (CP949) leaves there. Clerks cannot type the mark,
// so "o", "O", "v", "V", "1" and a blank stand for it, as does the mark itself; Backspace
// ("\b") empties the cell. Nothing for any other character: the key is refused.
std::optional<std::string_view> DayCellAfterTyping(std::string_view typed);

// A cell that is neither empty nor the mark (only a file can bring one): it prints but does
// not count as a day worked.
bool IsStrayDayText(std::string_view cell);

} // namespace lavodc
