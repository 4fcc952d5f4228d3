#pragma once
// Column widths that fit their texts, for a workbook whose cells use a 9-point font.
// The spreadsheet keeps a column's width in characters of its default font (the digit width
// of an 11-point Calibri, 7 pixels, with 5 pixels of cell margin added on top); there is no
// spreadsheet here to measure the text, so the width is worked out from the text itself.

#include <string_view>

namespace lavodc {

// Pixels that a CP949 text needs at 9 points (12 pixels an em), on the safe side for the
// fonts that stand in for 굴림 on this desktop (DejaVu Sans for Latin letters, NanumGothic
// for Hangul): a double-byte character is a full em, a single-byte one the wider of its two
// widths in those fonts.
int TextPixels(std::string_view cp949);

// The width, in the spreadsheet's characters, of a column whose widest text needs `pixels`;
// never below 1.
double ColumnWidthForPixels(int pixels);

} // namespace lavodc
