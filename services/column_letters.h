#pragma once
// Spreadsheet column names: "A" for column 0, "Z" for 25, then "AA", "AB", ... "XFD".

#include <string>

namespace lavodc {

// `column` counts from 0; a negative column gives an empty text.
std::string ColumnLetters(int column);

} // namespace lavodc
