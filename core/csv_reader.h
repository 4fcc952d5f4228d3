#pragma once
// Reading CSV text the way spreadsheets write it: UTF-8 with or without a byte-order mark,
// or CP949; comma, semicolon or tab between fields; fields in double quotes may hold the
// separator, line breaks and doubled quotes.

#include "core/cell_rows.h"

#include <string>
#include <string_view>

namespace lavodc {

// The file's bytes as UTF-8: a UTF-8 byte-order mark is dropped, text that is valid
// UTF-8 is taken as it is, anything else is read as CP949.
std::string CsvTextAsUtf8(std::string_view bytes);

// Records of `utf8` split at `separator`. A record ends at CR LF, LF or CR outside quotes;
// a trailing line break makes no empty record. Records are numbered from 1.
CellRows ParseCsv(std::string_view utf8, char separator);

inline constexpr char kCsvSeparators[] = {',', ';', '\t'};

} // namespace lavodc
