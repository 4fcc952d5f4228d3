#pragma once
// A worker list file (.xlsx or .csv) as cells, chosen by the file's extension.

#include "core/cell_rows.h"

#include <string>

namespace lavodc {

// Throws ImportError (a file that cannot be read) or XlsxReadError (a damaged workbook);
// both carry CP949 texts.
CellRows ReadWorkerListFile(const std::string& path);

} // namespace lavodc
