#pragma once
// Changing the day marks of the current worker: the toggle of a double-click and a typed
// cell. Both keep the row's worked-day count right.

#include "core/worker_table.h"

#include <string_view>

namespace lavodc {

// Day `dayIndex` (0 for the 1st .. 30 for the 31st) of the current row becomes empty when it
// holds exactly the mark, the mark otherwise; then the row is recounted. False on an empty
// table (nothing changes).
bool ToggleDayMark(WorkerTable& table, int dayIndex);

// A typed cell: `text` cut to the 3 bytes of a day mark at a whole character, stored in
// day `dayIndex` of the current row, and the row recounted. False on an empty table.
bool SetDayMark(WorkerTable& table, int dayIndex, std::string_view text);

} // namespace lavodc
