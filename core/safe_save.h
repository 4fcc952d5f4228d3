#pragma once
// The one way the program writes a file: the content goes to a temporary file in the target's
// folder, which takes the target's name by a rename only once it is complete and on the disk.
//
// - The target is a regular file or does not exist yet; a symbolic link, a device, a FIFO or a
//   socket is refused (a link is not followed: whoever made it would choose which file is
//   replaced, and replacing the link itself would cut it silently).
// - A target this process may not write, or one marked read-only for everybody, is refused,
//   also for the super-user.
// - The file that replaces a target keeps its owner, group and mode; a save that cannot keep
//   the owner (someone else's file) is refused. A new file gets the mode any new file gets.
// - A folder that takes no new file refuses the save: nothing is written in place.
// - Temporary files are named ".lvodc-<process id>-<host>-XXXXXX"; one that is left behind
//   (a killed save) is removed by the next save into its folder once its process has ended.
// - Nothing of a failed save stays behind.
//
// Plain C++: paths are native file names; error texts are ASCII (the platform's) or the
// program's own in CP949.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include <sys/stat.h>

namespace lavodc {

// An I/O failure; what() is the platform's text for it (e.g. "No such file or directory") or
// one of the program's texts below, code() the platform's error number where there is one.
class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& text, int code = 0) : std::runtime_error(text), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// Files are read from and written to regular files only: a FIFO or a device would block or
// never end, and saving over one would put a file in its place.
inline constexpr const char* kNotARegularFile = "Not a regular file";
inline constexpr const char* kSymbolicLink = "Is a symbolic link";

// The refusal of a folder that takes no new file, and of a file whose owner a save cannot keep
// (CP949).
std::string FolderTakesNoNewFileText();
std::string OwnerCannotBeKeptText();

// A running hash of a file's bytes, to tell whether a file still holds what was read or written.
class ContentHash {
public:
    void add(const void* data, std::size_t size);
    std::uint64_t value() const;

private:
    void mix(std::uint64_t word);

    std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
    std::uint64_t length_ = 0;
    unsigned char tail_[8] = {};
    std::size_t tailSize_ = 0;
};

// What a file was when it was read or written.
struct FileStamp {
    bool known = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t hash = 0;
};

// The stamp of an open file whose bytes hashed to `hash`.
FileStamp StampOf(const struct stat& info, std::uint64_t hash);

enum class FileState { Same, Changed, Missing };
// Whether the file at `path` still is what `stamp` describes: the same file unchanged in size
// and time, or else the same bytes. Missing where nothing can be found at `path`; a file that
// is there but cannot be read counts as changed.
FileState CompareWithStamp(const std::string& path, const FileStamp& stamp);

// One save in progress. Writers fill the temporary file through fd() or write(), or open
// temporaryPath() by name themselves (libxlsxwriter, QPdfWriter); then commit().
class SafeSave {
public:
    // A save as the file `path`. Checks the target, removes leftovers of ended saves from its
    // folder and makes the temporary file. Raises FileError.
    explicit SafeSave(std::string path);
    // A new file in `folder` that never replaces one: commitAsNew() gives it its name.
    static SafeSave NewFileIn(const std::string& folder);
    ~SafeSave();
    SafeSave(SafeSave&& other) noexcept;
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;
    SafeSave& operator=(SafeSave&&) = delete;

    int fd() const { return fd_; }
    const std::string& temporaryPath() const { return temporaryPath_; }

    // The file is to be readable and writable by its owner alone (0600), also when the file it
    // replaces had another mode.
    void makePrivate();

    // Appends to the temporary file through fd().
    void write(const void* data, std::size_t size);

    // Flushes the temporary file to the disk, gives it the owner, group and mode of the file
    // it replaces and renames it over the target. Returns what the file now is.
    FileStamp commit();
    // Gives the finished file the name `path` (in the same folder) unless a file, a link or
    // anything else holds it: false then, and the temporary file waits for another name.
    bool commitAsNew(const std::string& path);

private:
    struct NewFileTag {};
    SafeSave(NewFileTag, const std::string& folder);
    void createTemporary(mode_t mode);
    void finish();

    std::string target_;
    std::string folder_;
    std::string temporaryPath_;
    int fd_ = -1;
    bool replacing_ = false;   // a target existed when the save began
    bool private_ = false;
    struct stat targetInfo_ {};
    ContentHash written_;
    std::uint64_t writtenSize_ = 0;
    FileStamp stamp_;
    bool finished_ = false;
    bool committed_ = false;
};

// Writes `bytes` as the whole content of the file at `path` through a SafeSave.
FileStamp WriteWholeFile(const std::string& path, std::string_view bytes);

} // namespace lavodc
