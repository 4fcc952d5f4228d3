#pragma once
// The text of a sheet's JSON as build reads it: in pieces, and once more from its start where
// the source allows it (a file does, a pipe does not).

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lavodc::cli {

// A source that cannot be read; what() is the system's reason.
class JsonReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class JsonSource {
public:
    virtual ~JsonSource() = default;
    // Up to `size` bytes into `buffer`; 0 at the end. Raises JsonReadError.
    virtual std::size_t read(char* buffer, std::size_t size) = 0;
    // Back to the first byte; false, and nothing changed, for a source that is read only once.
    virtual bool rewind() = 0;
};

class MemoryJsonSource : public JsonSource {
public:
    // `once`: read only once, as a pipe is.
    explicit MemoryJsonSource(std::string_view text, bool once = false) : text_(text), once_(once) {}
    std::size_t read(char* buffer, std::size_t size) override;
    bool rewind() override;

private:
    std::string_view text_;
    bool once_;
    std::size_t at_ = 0;
};

// A file opened for reading (raises JsonReadError when it cannot be): a regular file can be read
// again, anything else only once.
class FileJsonSource : public JsonSource {
public:
    explicit FileJsonSource(const std::string& path);
    ~FileJsonSource() override;
    FileJsonSource(const FileJsonSource&) = delete;
    FileJsonSource& operator=(const FileJsonSource&) = delete;

    std::size_t read(char* buffer, std::size_t size) override;
    bool rewind() override;

private:
    int fd_ = -1;
    bool regular_ = false;
};

} // namespace lavodc::cli
