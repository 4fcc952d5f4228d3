#pragma once
// The .Lvo sheet file: 344-byte records, three header records (A, B, C) then one per worker (N).

#include "sheet.h"

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lavodc {

inline constexpr std::size_t kRecordSize = 344;

// An I/O failure; what() is the platform's text for it (e.g. "No such file or directory"),
// code() the platform's error number where there is one, else 0.
class SheetFileError : public std::runtime_error {
public:
    explicit SheetFileError(const std::string& text, int code = 0) : std::runtime_error(text), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// Sheet files are read from and written to regular files only: a FIFO or a device would block
// or never end.
inline constexpr const char* kNotARegularFile = "Not a regular file";

using Progress = std::function<void(int)>;

// Writes header records A, B, C and one record per row in the table's current order.
// Goes through a temporary file in the target's folder, renamed over the target only
// once everything is written and flushed: a failed write leaves the old file whole.
// An existing target that this process may not write is refused with the access error.
// When the folder takes no new file but the target is writable, and `backupFolder` is given,
// the previous file is copied there first and the target is written in place; a failure
// then names the copy. `progress` gets i * 100 / rows before each worker record i.
void WriteSheetFile(const std::string& path, const Sheet& sheet, const Progress& progress = {},
                    const std::string& backupFolder = {});

// The same for rows that are not in a table: `count` rows, `rowAt(i)` giving them in the order
// they are written, under `header` and `period`. A tool that never opens the sheet for editing
// writes large sheets this way without building a table.
using RowAt = std::function<const WorkerRow&(std::size_t index)>;
void WriteSheetRows(const std::string& path, const SheetHeader& header, const std::string& period,
                    std::size_t count, const RowAt& rowAt, const Progress& progress = {},
                    const std::string& backupFolder = {});

// The whole file as WriteSheetFile would write it, each record made in a zero buffer of its own
// so that the program's one shared buffer (and with it the next Save) is left as it was: for
// copies of the sheet that are not the user's file. The period is rebuilt from the year and month.
std::string SheetFileBytes(const SheetHeader& header, const WorkerTable& table);

// Writes `bytes` as the whole content of the file at `path` the way WriteSheetFile writes: a
// temporary file beside it, flushed, then renamed over it. A failure leaves the old file whole.
void WriteWholeFile(const std::string& path, std::string_view bytes);

// Reads every whole record. Header records set the header values they carry (starting
// from sheet.header as it is), worker records are appended to the table, sorted once.
// `progress` gets the wrapping 0..99 record counter. On failure `sheet` is unchanged.
// Anything but a regular file is refused without waiting on it.
void ReadSheetFile(const std::string& path, Sheet& sheet, const Progress& progress = {});

// Open as the program does it: period set to the current month, header reset, by-name
// order, the table emptied, the file read, every day count recounted.
// `opened` is called once the file is open, before its first record is read.
// On failure `sheet` is unchanged.
void OpenSheetFile(const std::string& path, Sheet& sheet, const Progress& progress = {},
                   const std::function<void()>& opened = {});

// What Open leaves, for a file that is only looked at: `header` and `period` as Open sets them,
// and each worker handed to `each` as the row Open makes of it, in the by-name order, one at a
// time, so that a large file costs little more than its records. Raises before the first row.
void ReadSheetFileInOrder(const std::string& path, SheetHeader& header, std::string& period,
                          const std::function<void(const WorkerRow&)>& each);

// Save as the program does it: the period rebuilt from the year and month, then written.
void SaveSheetFile(const std::string& path, Sheet& sheet, const Progress& progress = {},
                   const std::string& backupFolder = {});

} // namespace lavodc
