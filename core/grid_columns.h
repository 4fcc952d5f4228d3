#pragma once
// The columns of the two grids of the main window: the worker list and the day strip.
// The export and the command-line tool use the same columns, so they live here.

#include <string>
#include <vector>

namespace lavodc {

enum class CellAlignment { Left, Centre };

struct GridColumn {
    std::string field;     // the WorkerTable field it shows
    std::string title;     // CP949
    int width = 0;         // pixels
    CellAlignment cells = CellAlignment::Left;
};

// pName, JmnNo, nAddr, nTel, nName, nNal, nDay, SmMny, nEtc with their titles.
const std::vector<GridColumn>& WorkerListColumns();
// d01..d31 titled "1".."31", 30 pixels each.
const std::vector<GridColumn>& DayStripColumns();

} // namespace lavodc
