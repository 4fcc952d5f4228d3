#pragma once
// The name an exported workbook goes under: the site and the month of the sheet, as the
// clerk knows it ("행복아파트 신축공사 2026-11"), or the sheet file's name when the header
// does not hold both.

#include "core/sheet.h"

#include <QString>

namespace lavodc {

// Without extension. The site name with the characters that file names cannot hold (here or on
// a Windows drive the file may be copied to) replaced by "_", a blank, the year and the month
// as "yyyy-mm"; else the sheet file's name without its extension, "이름없음" while untitled.
QString WorkbookBaseName(const SheetHeader& header, const QString& sheetFileName);

} // namespace lavodc
