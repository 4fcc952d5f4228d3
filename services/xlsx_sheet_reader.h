#pragma once
// The cells of the first worksheet of an .xlsx workbook, read straight from the zip archive
// a part at a time (see ReadFirstSheet).

#include "core/list_rows.h"
#include "core/xlsx_list_reader.h"

#include <string>

namespace lavodc {

// Hands the rows of the first sheet of the workbook at `path` to `sink`. Raises
// XlsxReadError for a file that is no workbook or is damaged, ImportError for a list past
// the limits.
void ReadXlsxFirstSheet(const std::string& path, ListRowSink& sink);

} // namespace lavodc
