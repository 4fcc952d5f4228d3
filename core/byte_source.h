#pragma once
// Bytes read as a stream, a piece at a time, from the start again when asked: a list is read
// more than once and never held whole.

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace lavodc {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `buffer`; 0 at the end. Raises the source's own error.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
    // Back to the first byte.
    virtual void Rewind() = 0;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Read(char* buffer, std::size_t size) override;
    void Rewind() override { at_ = 0; }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

// A file; failures raise ImportError with the system's reason (CP949).
class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::size_t Read(char* buffer, std::size_t size) override;
    void Rewind() override;

private:
    std::FILE* file_ = nullptr;
};

} // namespace lavodc
