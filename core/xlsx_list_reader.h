#pragma once
// The cells of the first worksheet of an .xlsx workbook, from the workbook's parts: the
// workbook part for the first sheet, its shared strings and its cells, each read as a stream.
// Enough for a list that a spreadsheet program saved; formulas give their last value.

#include "core/byte_source.h"
#include "core/list_rows.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace lavodc {

// The file is no workbook or is damaged; what() is CP949.
class XlsxReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "The workbook cannot be read: " and the reason (CP949).
[[noreturn]] void FailXlsx(const std::string& reason);

// A workbook's parts by name, as its archive holds them.
class WorkbookParts {
public:
    virtual ~WorkbookParts() = default;
    // The part's bytes; nullptr when the workbook has no such part.
    virtual std::unique_ptr<ByteSource> Open(const std::string& name) = 0;
};

// Shared strings (text and index) beyond this are no worker list's.
inline constexpr std::size_t kMaxSharedStrings = kMaxListText;

// Hands the rows of the first worksheet to `sink` in sheet order, those with a cell that
// holds a value; texts UTF-8, columns from 0 for A. Shared strings are handed over where
// they stand, never copied per cell. Raises XlsxReadError for a damaged workbook (rows out
// of order or past the last row or column included) and ImportError past the limits.
void ReadFirstSheet(WorkbookParts& parts, ListRowSink& sink);

} // namespace lavodc
