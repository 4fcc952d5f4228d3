#pragma once
// Writing a workbook whole or not at all, through the program's one saving path
// (core/safe_save.h): the writer fills a temporary file in the target's folder by its name,
// which takes the target's name only when complete. Native file names throughout.

#include "core/safe_save.h"

#include <functional>
#include <stdexcept>
#include <string>

namespace lavodc {

// Why a file could not be written: the path and the system's reason.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Fills the temporary file at the path it is given; throws to give up.
using FileContentWriter = std::function<void(const std::string& temporaryPath)>;

// "name.xlsx", or when that exists "name (2).xlsx", "name (3).xlsx", ...
std::string NumberedFileName(const std::string& baseName, const std::string& extension, int number);

// Writes into `folder` under the first of the numbered names that no file holds, never
// replacing a file, also one that appears meanwhile. Returns the full path written.
// On failure nothing is left behind and the writer's or the system's error is raised.
std::string WriteUnderFreeName(const std::string& folder, const std::string& baseName,
                               const std::string& extension, const FileContentWriter& write);

// Writes `path` through a temporary file beside it, replacing the regular file there (keeping
// its owner, group and mode); anything else at `path` is refused.
FileStamp WriteReplacing(const std::string& path, const FileContentWriter& write);

} // namespace lavodc
