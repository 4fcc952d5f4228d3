#pragma once
// The .Lvo sheet file: 344-byte records, three header records (A, B, C) then one per worker (N).

#include "packed_worker_rows.h"
#include "safe_save.h"
#include "sheet.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lavodc {

inline constexpr std::size_t kRecordSize = 344;

// Sheet files fail with the saving path's errors (safe_save.h).
using SheetFileError = FileError;

using Progress = std::function<void(int)>;

// Writes header records A, B, C and one record per row in the table's current order, saved
// as every file is (safe_save.h): a failed write leaves the old file whole. `progress` gets
// i * 100 / rows before each worker record i. `written`, when given, gets what the file now is.
void WriteSheetFile(const std::string& path, const Sheet& sheet, const Progress& progress = {},
                    FileStamp* written = nullptr);

// The same for rows that are not in a table: `count` rows, `rowAt(i)` giving them in the order
// they are written, under `header` and `period`. A tool that never opens the sheet for editing
// writes large sheets this way without building a table.
using RowAt = std::function<const WorkerRow&(std::size_t index)>;
void WriteSheetRows(const std::string& path, const SheetHeader& header, const std::string& period,
                    std::size_t count, const RowAt& rowAt, const Progress& progress = {},
                    FileStamp* written = nullptr);
// The same for packed rows, written straight from how they are kept: `order` gives the rows in
// the order they are written.
void WriteSheetRows(const std::string& path, const SheetHeader& header, const std::string& period,
                    const PackedWorkerRows& rows, const std::vector<std::uint32_t>& order,
                    FileStamp* written = nullptr);

// The whole file as WriteSheetFile would write it, each record made in a zero buffer of its own
// so that the program's one shared buffer (and with it the next Save) is left as it was: for
// copies of the sheet that are not the user's file. The period is rebuilt from the year and month.
std::string SheetFileBytes(const SheetHeader& header, const WorkerTable& table);

// Reads every whole record. Header records set the header values they carry (starting
// from sheet.header as it is), worker records are appended to the table, sorted once.
// `progress` gets the wrapping 0..99 record counter. On failure `sheet` is unchanged.
// Anything but a regular file is refused without waiting on it.
void ReadSheetFile(const std::string& path, Sheet& sheet, const Progress& progress = {});

// Open as the program does it: period set to the current month, header reset, by-name
// order, the table emptied, the file read, every day count recounted.
// `opened` is called once the file is open, before its first record is read; `read`, when
// given, gets what the file was. On failure (also one that `progress` raises) `sheet` is
// unchanged.
void OpenSheetFile(const std::string& path, Sheet& sheet, const Progress& progress = {},
                   const std::function<void()>& opened = {}, FileStamp* read = nullptr);

// What Open leaves, for a file that is only looked at: `header` and `period` as Open sets them,
// and each worker handed to `each` as the row Open makes of it, in the by-name order, one at a
// time, so that a large file costs little more than its records. Raises before the first row.
void ReadSheetFileInOrder(const std::string& path, SheetHeader& header, std::string& period,
                          const std::function<void(const WorkerRow&)>& each);

// The same in the order of the file's records, which is the table's order when it was saved.
void ReadSheetFileAsStored(const std::string& path, SheetHeader& header, std::string& period,
                           const std::function<void(const WorkerRow&)>& each);

// Save as the program does it: the period rebuilt from the year and month, then written.
void SaveSheetFile(const std::string& path, Sheet& sheet, const Progress& progress = {},
                   FileStamp* written = nullptr);

} // namespace lavodc
