#pragma once
// The quick pass over a sheet's JSON: one reading of the text, straight into rows, for the sheet
// that is plainly right.

#include "cli/json_source.h"

#include "core/sheet.h"

#include <functional>

namespace lavodc::cli {

// Reads `in` to its end if it is a plain sheet: JSON text of the sheet's shape whose texts CP949
// holds, with every worker named and "header" and "workers" at most once each (a member longer
// than 64 KB may be left out of it). Then the header values found set those of `header`, each
// worker went to `worker` in the order of the list, and it returns true: the same header and rows
// as the general reader gives. At anything else it stops and returns false, `header` unchanged
// (workers may have gone to `worker`): the general reader then reads the text and tells what is
// wrong. Raises JsonReadError for a source that cannot be read.
bool ReadPlainSheet(JsonSource& in, SheetHeader& header, const std::function<void(const WorkerRow&)>& worker);

} // namespace lavodc::cli
