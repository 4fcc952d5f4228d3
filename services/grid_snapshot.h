#pragma once
// What a grid of the main window shows, taken from the worker table in one walk:
// the column titles and every row's values as plain text, in the table's current order.
// The clipboard text and the workbook are both made from it.

#include "core/grid_columns.h"
#include "core/worker_table.h"

#include <cstddef>
#include <string>
#include <vector>

namespace lavodc {

struct SnapshotColumn {
    std::string title;   // CP949
    bool isText = true;  // a string field; the others are numbers
};

struct GridSnapshot {
    std::vector<SnapshotColumn> columns;
    std::size_t rowCount = 0;
    // Row by row, one value a column, as the table gives a field's text (CP949):
    // numbers without grouping (1234567, 7.5, 17), strings as stored.
    std::vector<std::string> cells;

    const std::string& cell(std::size_t row, std::size_t column) const
    {
        return cells[row * columns.size() + column];
    }
};

// Walks the table with its views frozen and puts the current row back, also when the walk
// fails. A column naming a field the table does not have raises a TableError.
GridSnapshot TakeGridSnapshot(WorkerTable& table, const std::vector<GridColumn>& columns);

} // namespace lavodc
