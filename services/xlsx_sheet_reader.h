#pragma once
// The cells of the first worksheet of an .xlsx workbook, read straight from the zip
// archive: the workbook part for the first sheet, its shared strings and its cells.
// Enough for a list that a spreadsheet program saved; formulas give their last value.

#include "core/cell_rows.h"

#include <stdexcept>
#include <string>

namespace lavodc {

// The file is no workbook or is damaged; what() is CP949.
class XlsxReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Rows in sheet order (rows without cells left out), cells from column A, texts UTF-8.
CellRows ReadXlsxFirstSheet(const std::string& path);

} // namespace lavodc
