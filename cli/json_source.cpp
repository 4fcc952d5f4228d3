#include "cli/json_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lavodc::cli {

namespace {

[[noreturn]] void throwReadError(int error)
{
    throw JsonReadError(std::strerror(error));
}

} // namespace

std::size_t MemoryJsonSource::read(char* buffer, std::size_t size)
{
    const std::size_t count = std::min(size, text_.size() - at_);
    std::memcpy(buffer, text_.data() + at_, count);
    at_ += count;
    return count;
}

bool MemoryJsonSource::rewind()
{
    if (once_)
        return false;
    at_ = 0;
    return true;
}

FileJsonSource::FileJsonSource(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
{
    if (fd_ < 0)
        throwReadError(errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int error = errno;
        ::close(fd_);
        throwReadError(error);
    }
    regular_ = S_ISREG(info.st_mode);
}

FileJsonSource::~FileJsonSource()
{
    ::close(fd_);
}

std::size_t FileJsonSource::read(char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, size);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            throwReadError(errno);
    }
}

bool FileJsonSource::rewind()
{
    if (!regular_)
        return false;
    if (::lseek(fd_, 0, SEEK_SET) != 0)
        throwReadError(errno);
    return true;
}

} // namespace lavodc::cli
