#include "core/byte_source.h"

#include "core/cp949.h"
#include "core/list_rows.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lavodc {

namespace {

[[noreturn]] void FailReading(const char* what, int error)
{
    throw ImportError(K(what) + std::strerror(error));
}

} // namespace

std::size_t MemorySource::Read(char* buffer, std::size_t size)
{
    const std::size_t n = std::min(size, bytes_.size() - at_);
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return n;
}

FileSource::FileSource(const std::string& path) : file_(std::fopen(path.c_str(), "rb"))
{
    if (!file_)
        FailReading("명단 파일을 열 수 없습니다: ", errno);
}

FileSource::~FileSource()
{
    std::fclose(file_);
}

std::size_t FileSource::Read(char* buffer, std::size_t size)
{
    const std::size_t n = std::fread(buffer, 1, size, file_);
    if (n == 0 && std::ferror(file_))
        FailReading("명단 파일을 읽을 수 없습니다: ", errno);
    return n;
}

void FileSource::Rewind()
{
    if (std::fseek(file_, 0, SEEK_SET) != 0)
        FailReading("명단 파일을 읽을 수 없습니다: ", errno);
    std::clearerr(file_);
}

} // namespace lavodc
