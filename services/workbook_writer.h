#pragma once
// The exported grid as an .xlsx workbook: one sheet "Sheet1" with the table from B2, the
// titles in row 2 on silver grey, one row a worker from row 3, hairline black borders on the
// table, text columns in the text format "@", numbers as numbers, 굴림 9 and rows of 17 points
// throughout, column A one character wide, the other columns fitted, the selection on B2.

#include "services/grid_snapshot.h"

#include <stdexcept>
#include <string>

namespace lavodc {

// Why a workbook could not be written; the text is the library's and the system's reason.
class WorkbookError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes `grid` to `path` (a native file name), creating or replacing the file.
// On failure the file may be incomplete; callers write to a temporary file.
void WriteWorkbook(const GridSnapshot& grid, const std::string& path);

// A cell's text as the workbook holds it (UTF-8): characters that a workbook cannot hold
// as they are (control characters other than tab and line feed, and text that looks like
// such an escape) written as "_xHHHH_", the escape spreadsheet programs read back.
std::string WorkbookCellText(const std::string& cp949);

} // namespace lavodc
