#include "services/workbook_file.h"

#include "core/cp949.h"
#include "core/safe_save.h"

namespace lavodc {

namespace {

constexpr int kMostNumbers = 9999;

std::string withSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

// The saving path's reasons are the platform's or the program's own (CP949); these errors
// carry native paths, which are UTF-8 here.
[[noreturn]] void throwWriteError(const std::string& where, const FileError& error)
{
    throw FileWriteError("Cannot write " + where + ": " + fromCp949(error.what()));
}

} // namespace

std::string NumberedFileName(const std::string& baseName, const std::string& extension, int number)
{
    if (number <= 1)
        return baseName + extension;
    return baseName + " (" + std::to_string(number) + ")" + extension;
}

std::string WriteUnderFreeName(const std::string& folder, const std::string& baseName,
                               const std::string& extension, const FileContentWriter& write)
{
    const std::string first = withSlash(folder) + NumberedFileName(baseName, extension, 1);
    try {
        SafeSave save = SafeSave::NewFileIn(folder);
        write(save.temporaryPath());
        for (int number = 1; number <= kMostNumbers; ++number) {
            const std::string target = withSlash(folder) + NumberedFileName(baseName, extension, number);
            if (save.commitAsNew(target))
                return target;
        }
    } catch (const FileError& error) {
        throwWriteError(folder.empty() ? first : folder, error);
    }
    throw FileWriteError("Cannot write " + first + ": every numbered name up to " + std::to_string(kMostNumbers) +
                         " is taken");
}

FileStamp WriteReplacing(const std::string& path, const FileContentWriter& write)
{
    try {
        SafeSave save(path);
        write(save.temporaryPath());
        return save.commit();
    } catch (const FileError& error) {
        throwWriteError(path, error);
    }
}

} // namespace lavodc
