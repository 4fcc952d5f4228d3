#include "services/workbook_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lavodc {

namespace {

constexpr int kMostNumbers = 9999;

std::string withSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string systemReason(int error)
{
    return std::strerror(error);
}

// A fresh empty file in `folder`, hidden, with the permissions a new file gets here
// (the temporary-file call alone would make it private to the user).
std::string createTemporary(const std::string& folder)
{
    std::string name = withSlash(folder) + ".lavodc-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        throw FileWriteError("Cannot create a file in " + folder + ": " + systemReason(errno));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
    return name;
}

// Removes the temporary file unless it was given its name.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& folder) : path_(createTemporary(folder)) {}
    ~TemporaryFile()
    {
        if (!kept_)
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    std::string path_;
    bool kept_ = false;
};

// Renames without replacing: true when done, false when `target` exists.
bool renameIfFree(const std::string& from, const std::string& target)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    const int error = errno;
    if (error == EEXIST)
        return false;
    if (error != EINVAL && error != ENOSYS)
        throw FileWriteError("Cannot write " + target + ": " + systemReason(error));
    // A file system that cannot rename without replacing: look first.
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0)
        return false;
    if (::rename(from.c_str(), target.c_str()) != 0)
        throw FileWriteError("Cannot write " + target + ": " + systemReason(errno));
    return true;
}

// The content reaches the disk before the file gets its name, so that a crash right after
// the rename cannot leave an empty file under that name.
void flushToDisk(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        throw FileWriteError("Cannot write " + path + ": " + systemReason(errno));
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0)
        throw FileWriteError("Cannot write " + path + ": " + systemReason(error));
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
    TemporaryFile temporary(folder);
    write(temporary.path());
    flushToDisk(temporary.path());
    for (int number = 1; number <= kMostNumbers; ++number) {
        const std::string target = withSlash(folder) + NumberedFileName(baseName, extension, number);
        if (renameIfFree(temporary.path(), target)) {
            temporary.keep();
            return target;
        }
    }
    throw FileWriteError("Cannot write " + withSlash(folder) + NumberedFileName(baseName, extension, 1) +
                         ": every numbered name up to " + std::to_string(kMostNumbers) + " is taken");
}

void WriteReplacing(const std::string& path, const FileContentWriter& write)
{
    TemporaryFile temporary(folderOf(path));
    write(temporary.path());
    flushToDisk(temporary.path());
    if (::rename(temporary.path().c_str(), path.c_str()) != 0)
        throw FileWriteError("Cannot write " + path + ": " + systemReason(errno));
    temporary.keep();
}

} // namespace lavodc
