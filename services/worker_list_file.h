#pragma once
// A worker list file (.xlsx or .csv), chosen by the file's extension, planned for import.

#include "core/worker_import.h"

#include <string>
#include <string_view>

namespace lavodc {

// Throws ImportError (a file that cannot be read or is too big, no title row) or
// XlsxReadError (a damaged workbook); both carry CP949 texts.
ImportPlan PlanWorkerListImport(const std::string& path, const WorkerTable& table, std::string_view period);

} // namespace lavodc
