#pragma once
// A worksheet or CSV file as rows of text cells (UTF-8), as the readers hand it to the import.

#include <string>
#include <vector>

namespace lavodc {

struct CellRow {
    int number = 0;                  // the row's number in the file, from 1
    std::vector<std::string> cells;  // from the first column; missing cells are empty
};

using CellRows = std::vector<CellRow>;

} // namespace lavodc
