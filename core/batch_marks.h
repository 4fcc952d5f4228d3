#pragma once
// Marking one day for a whole crew: the batch grid's columns for the chosen day, the day a
// date text names, and the walk that marks that day worked for every worker.

#include "core/grid_columns.h"
#include "core/worker_table.h"

#include <string_view>
#include <vector>

namespace lavodc {

// The day column ("dNN", titled "NN일", 27 pixels, centred) for day `dayIndex` (0 for the
// 1st .. 30 for the 31st), then pName, JmnNo, nName and nNal.
std::vector<GridColumn> BatchGridColumns(int dayIndex);

// The day named by characters 9 and 10 of a "yyyy.mm.dd" text, as an index (0 .. 30);
// -1 when they are not "01" .. "31".
int DayIndexOfDateText(std::string_view text);

// Sets day `dayIndex` of every row to the mark and recounts the row, in the table's order,
// with the bound views frozen; the row that was current stays current. Whatever a cell held
// before is replaced; nothing is cleared.
void MarkDayForEveryone(WorkerTable& table, int dayIndex);

} // namespace lavodc
