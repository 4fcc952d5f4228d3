#pragma once
// The tab-separated text of an exported grid, as it goes to the clipboard.

#include "services/grid_snapshot.h"

#include <string>

namespace lavodc {

// The titles, then one line a row; a tab after every value and CR LF after every line.
// Values go as they are: a value holding a tab or a line break moves what follows it
// when the text is pasted. CP949.
std::string ClipboardText(const GridSnapshot& grid);

} // namespace lavodc
