#pragma once
// The month's e-filing workbook (근로내용확인신고 전자신고용) as an .xlsx file: one sheet
// "서식", the titles in row 1 (columns A to BB), one worker a row from row 2, nothing else.
// Codes and numbers with leading zeros are text cells, counts and amounts numbers, a worked
// day the number 1.

#include "core/efile_rows.h"

#include <string>
#include <vector>

namespace lavodc {

inline constexpr int kEfileColumnCount = 54;   // A .. BB

// The titles of row 1 (UTF-8), A first.
const std::vector<std::string>& EfileTitles();

// Writes `sheet` to the file `path` (a native file name), creating or replacing it; callers
// write through a temporary file (WriteReplacing). Raises WorkbookError. The library's own
// messages on standard error are kept from the user: the error raised carries the reason.
void WriteEfileWorkbook(const EfileSheet& sheet, const std::string& path);

// Saves the workbook as the file `path` through the program's saving path: complete or not at
// all, nothing left behind on failure. Raises FileError (CP949 or the platform's text) or
// WorkbookError.
void SaveEfileWorkbook(const EfileSheet& sheet, const std::string& path);

} // namespace lavodc
