#pragma once
// Reading the sheet JSON event by event instead of as one document: the header and each worker
// are built as small documents of their own and checked as SheetFromJson checks them, so that a
// sheet of many workers never stands in memory as a whole tree.

#include "cli/sheet_json.h"

#include <functional>
#include <istream>

namespace lavodc::cli {

struct SheetJsonReceiver {
    std::function<void(WorkerRow&& row)> worker;   // each worker, in the order of the list
    std::function<void()> dropWorkers;             // a later "workers" list replaces the earlier one
};

// Reads `in` to its end. The header values found set those of `header`; the workers go to
// `receiver`. Raises what Json::parse raises for text that is not JSON, then what SheetFromJson
// raises for JSON that is not a sheet, the same error for the same text; `header` is then
// unchanged, while workers may have gone to `receiver` already.
void ReadSheetJson(std::istream& in, SheetHeader& header, const SheetJsonReceiver& receiver);

} // namespace lavodc::cli
