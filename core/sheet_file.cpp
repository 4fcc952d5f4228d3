#include "core/sheet_file.h"

#include "core/sheet_record.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lavodc {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRecordsPerChunk = 512;

[[noreturn]] void throwIoError(int error)
{
    throw SheetFileError(std::strerror(error), error);
}

void requireOpenTable(const WorkerTable& table)
{
    if (!table.Active())
        throw TableError("Cannot perform this operation on a closed worker table");
}

// ---- writing ---------------------------------------------------------------

void writeAll(int fd, const unsigned char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throwIoError(errno);
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

// A temporary file beside the target that disappears unless it was renamed over it.
// Its name is short, so that a target name of up to 255 bytes still leaves room for it.
class TemporaryFile {
public:
    explicit TemporaryFile(const fs::path& target)
    {
        const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
        std::string pattern = (folder / ".lvodc-XXXXXX").string();
        fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd_ < 0)
            throwIoError(errno);
        path_ = pattern;
    }
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }

    // Flushes to the disk, gives the file the target's permissions and renames it over the target.
    void commit(const fs::path& target)
    {
        if (::fsync(fd_) != 0)
            throwIoError(errno);
        struct stat existing {};
        mode_t mode;
        if (::stat(target.c_str(), &existing) == 0) {
            mode = existing.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::fchmod(fd_, mode) != 0)
            throwIoError(errno);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            throwIoError(errno);
        if (::rename(path_.c_str(), target.c_str()) != 0)
            throwIoError(errno);
        path_.clear();
    }

private:
    int fd_ = -1;
    std::string path_;
};

// The target itself, cut to nothing and written over; used only when no temporary file can be
// made beside it. A copy of what it held lies in the backup folder until the write is complete.
class InPlaceFile {
public:
    InPlaceFile(const fs::path& target, const std::string& backupFolder)
    {
        copyPath_ = copyToBackup(target, backupFolder);
        fd_ = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK);
        if (fd_ < 0)
            fail(errno);
    }
    ~InPlaceFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    InPlaceFile(const InPlaceFile&) = delete;
    InPlaceFile& operator=(const InPlaceFile&) = delete;

    int fd() const { return fd_; }

    void commit()
    {
        if (::fsync(fd_) != 0)
            fail(errno);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            fail(errno);
        ::unlink(copyPath_.c_str());
    }

    // The error text with the place of the copy, which is all that is left of the previous file.
    [[noreturn]] void fail(int error) const
    {
        throw SheetFileError(std::string(std::strerror(error)) + "; the previous file was copied to "
                             + copyPath_, error);
    }

private:
    static std::string copyToBackup(const fs::path& target, const std::string& backupFolder)
    {
        std::error_code ignored;
        fs::create_directories(backupFolder, ignored);
        std::string pattern = (fs::path(backupFolder) / "previous-XXXXXX.Lvo").string();
        const int out = ::mkostemps(pattern.data(), 4, O_CLOEXEC);
        if (out < 0)
            throwIoError(errno);
        const int in = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        int error = in < 0 ? errno : 0;
        std::vector<unsigned char> chunk(1 << 16);
        while (error == 0) {
            const ssize_t got = ::read(in, chunk.data(), chunk.size());
            if (got < 0) {
                if (errno != EINTR)
                    error = errno;
                continue;
            }
            if (got == 0)
                break;
            try {
                writeAll(out, chunk.data(), static_cast<std::size_t>(got));
            } catch (const SheetFileError& failure) {
                error = failure.code();
            }
        }
        if (error == 0 && ::fsync(out) != 0)
            error = errno;
        if (in >= 0)
            ::close(in);
        if (::close(out) != 0 && error == 0)
            error = errno;
        if (error != 0) {
            ::unlink(pattern.c_str());
            throwIoError(error);
        }
        return pattern;
    }

    int fd_ = -1;
    std::string copyPath_;
};

// Records collect in a chunk and go to the file in large writes.
class RecordWriter {
public:
    explicit RecordWriter(int fd) : fd_(fd) { chunk_.reserve(record::kSize * kRecordsPerChunk); }

    void add(const record::Bytes& bytes)
    {
        chunk_.insert(chunk_.end(), bytes.begin(), bytes.end());
        if (chunk_.size() >= record::kSize * kRecordsPerChunk)
            flush();
    }

    void flush()
    {
        writeAll(fd_, chunk_.data(), chunk_.size());
        chunk_.clear();
    }

private:
    int fd_;
    std::vector<unsigned char> chunk_;
};

struct RowsToWrite {
    const SheetHeader& header;
    const std::string& period;
    std::size_t count;
    const RowAt& rowAt;
};

void writeRecords(int fd, const RowsToWrite& rows, const Progress& progress)
{
    RecordWriter writer(fd);
    record::Bytes& buffer = record::sharedBuffer();
    record::fillHeaderA(buffer, rows.header, rows.period);
    writer.add(buffer);
    record::fillHeaderB(buffer, rows.header, rows.period);
    writer.add(buffer);
    record::fillHeaderC(buffer, rows.header, rows.period);
    writer.add(buffer);
    for (std::size_t i = 0; i < rows.count; ++i) {
        if (progress)
            progress(static_cast<int>(static_cast<unsigned long long>(i) * 100 / rows.count));
        record::fillWorker(buffer, rows.rowAt(i), rows.period);
        writer.add(buffer);
    }
    writer.flush();
}

// An existing target must be a regular file that this process may write: renaming over it
// would otherwise replace a file that a write is refused for.
bool checkTargetWritable(const fs::path& target)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return false;
        throwIoError(errno);
    }
    if (S_ISDIR(info.st_mode))
        throwIoError(EISDIR);
    if (!S_ISREG(info.st_mode))
        throw SheetFileError(kNotARegularFile);
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throwIoError(errno);
    ::close(fd);
    return true;
}

// Saving over a symbolic link replaces the file it points to, not the link.
fs::path resolvedTarget(const std::string& path)
{
    std::error_code error;
    const fs::path target(path);
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        const fs::path resolved = fs::weakly_canonical(target, error);
        if (!error)
            return resolved;
    }
    return target;
}

// ---- reading ---------------------------------------------------------------

class ReadOnlyFile {
public:
    // Opened without blocking, so that a FIFO without a writer is refused instead of waited on.
    explicit ReadOnlyFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY))
    {
        if (fd_ < 0)
            throwIoError(errno);
        struct stat info {};
        if (::fstat(fd_, &info) != 0) {
            const int error = errno;
            ::close(fd_);
            throwIoError(error);
        }
        if (!S_ISREG(info.st_mode)) {
            ::close(fd_);
            if (S_ISDIR(info.st_mode))
                throwIoError(EISDIR);
            throw SheetFileError(kNotARegularFile);
        }
    }
    ~ReadOnlyFile() { ::close(fd_); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    std::size_t wholeRecords() const
    {
        struct stat info {};
        if (::fstat(fd_, &info) != 0)
            throwIoError(errno);
        return static_cast<std::size_t>(info.st_size) / record::kSize;
    }

    // Reads up to `size` bytes; fewer only at the end of the file.
    std::size_t read(unsigned char* data, std::size_t size)
    {
        std::size_t total = 0;
        while (total < size) {
            const ssize_t got = ::read(fd_, data + total, size - total);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                throwIoError(errno);
            }
            if (got == 0)
                break;
            total += static_cast<std::size_t>(got);
        }
        return total;
    }

private:
    int fd_;
};

// What a whole file holds, gathered before anything of the sheet changes: the header values
// and the worker records as they stand in the file (parsed when they go into the table).
struct FileContents {
    SheetHeader header;
    std::vector<unsigned char> workerRecords;

    std::size_t workerCount() const { return workerRecords.size() / record::kSize; }
    void fillRow(std::size_t index, WorkerRow& row) const
    {
        record::readWorker(workerRecords.data() + index * record::kSize, row);
    }
};

void readRecords(const std::string& path, FileContents& contents, const Progress& progress,
                 const std::function<void()>& opened = {})
{
    ReadOnlyFile file(path);
    const std::size_t count = file.wholeRecords();   // a folder fails here, as not openable
    if (opened)
        opened();
    contents.workerRecords.reserve(count * record::kSize);
    record::Bytes& buffer = record::sharedBuffer();
    std::vector<unsigned char> chunk(record::kSize * std::min(count, kRecordsPerChunk));
    int counter = 0;
    for (std::size_t done = 0; done < count;) {
        const std::size_t wanted = std::min(count - done, kRecordsPerChunk);
        const std::size_t got = file.read(chunk.data(), wanted * record::kSize) / record::kSize;
        for (std::size_t i = 0; i < got; ++i) {
            std::memcpy(buffer.data(), chunk.data() + i * record::kSize, record::kSize);
            if (record::kindOf(buffer.data()) == record::kKindN)
                contents.workerRecords.insert(contents.workerRecords.end(), buffer.begin(), buffer.end());
            else
                record::applyHeaderRecord(buffer.data(), contents.header);   // other kinds: skipped
            if (progress)
                progress(counter);
            counter = (counter + 1) % 100;
        }
        done += got;
        if (got < wanted)
            break;   // the file got shorter while being read
    }
}

} // namespace

void WriteSheetFile(const std::string& path, const Sheet& sheet, const Progress& progress,
                    const std::string& backupFolder)
{
    const WorkerTable& table = sheet.table;
    requireOpenTable(table);
    const RowAt rowAt = [&table](std::size_t i) -> const WorkerRow& { return table.RowAt(static_cast<int>(i)); };
    WriteSheetRows(path, sheet.header, sheet.period, static_cast<std::size_t>(table.RecordCount()), rowAt,
                   progress, backupFolder);
}

void WriteSheetRows(const std::string& path, const SheetHeader& header, const std::string& period,
                    std::size_t count, const RowAt& rowAt, const Progress& progress,
                    const std::string& backupFolder)
{
    const RowsToWrite rows{header, period, count, rowAt};
    const fs::path target = resolvedTarget(path);
    const bool exists = checkTargetWritable(target);

    std::optional<TemporaryFile> temporary;
    try {
        temporary.emplace(target);
    } catch (const SheetFileError& error) {
        const bool folderRefused = error.code() == EACCES || error.code() == EPERM;
        if (!exists || !folderRefused || backupFolder.empty())
            throw;
    }
    if (temporary) {
        writeRecords(temporary->fd(), rows, progress);
        temporary->commit(target);
        return;
    }

    InPlaceFile file(target, backupFolder);
    try {
        writeRecords(file.fd(), rows, progress);
    } catch (const SheetFileError& error) {
        file.fail(error.code());
    }
    file.commit();
}

std::string SheetFileBytes(const SheetHeader& header, const WorkerTable& table)
{
    requireOpenTable(table);
    const std::string period = PeriodFromHeader(header);
    const auto rows = static_cast<std::size_t>(table.RecordCount());
    std::string bytes;
    bytes.reserve((3 + rows) * record::kSize);
    // Each record from a zero buffer: a copy's undefined bytes then do not depend on its history.
    record::Bytes buffer{};
    auto add = [&bytes, &buffer] {
        bytes.append(reinterpret_cast<const char*>(buffer.data()), buffer.size());
        buffer = {};
    };
    record::fillHeaderA(buffer, header, period);
    add();
    record::fillHeaderB(buffer, header, period);
    add();
    record::fillHeaderC(buffer, header, period);
    add();
    for (std::size_t i = 0; i < rows; ++i) {
        record::fillWorker(buffer, table.RowAt(static_cast<int>(i)), period);
        add();
    }
    return bytes;
}

void WriteWholeFile(const std::string& path, std::string_view bytes)
{
    const fs::path target = resolvedTarget(path);
    checkTargetWritable(target);
    TemporaryFile file(target);
    writeAll(file.fd(), reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    file.commit(target);
}

void ReadSheetFile(const std::string& path, Sheet& sheet, const Progress& progress)
{
    requireOpenTable(sheet.table);
    FileContents contents;
    contents.header = sheet.header;
    readRecords(path, contents, progress);

    // Everything was read: hand it over.
    sheet.header = std::move(contents.header);
    sheet.table.AppendRows(contents.workerCount(),
                           [&contents](std::size_t i, WorkerRow& row) { contents.fillRow(i, row); });
    sheet.table.First();
}

void OpenSheetFile(const std::string& path, Sheet& sheet, const Progress& progress,
                   const std::function<void()>& opened)
{
    requireOpenTable(sheet.table);
    const std::string period = CurrentPeriod();
    FileContents contents;
    ResetHeader(contents.header, period);
    readRecords(path, contents, progress, opened);

    // Everything was read: hand it over in one step.
    WorkerTable& table = sheet.table;
    {
        FreezeScope frozen(table);
        table.DeleteAllRows();
        table.SetIndexFieldNames(kByNameIndex);
        table.ReplaceRows(contents.workerCount(),
                          [&contents](std::size_t i, WorkerRow& row) { contents.fillRow(i, row); });
        table.First();
        table.RecountAllDays();
    }
    sheet.period = period;
    sheet.header = std::move(contents.header);
    NormalizeMaskedValues(sheet.header);
}

void ReadSheetFileInOrder(const std::string& path, SheetHeader& header, std::string& period,
                          const std::function<void(const WorkerRow&)>& each)
{
    const std::string today = CurrentPeriod();
    FileContents contents;
    ResetHeader(contents.header, today);
    readRecords(path, contents, {});
    period = today;
    header = std::move(contents.header);
    NormalizeMaskedValues(header);

    // The order the table would give them: by name, then job, ties in file order.
    struct Keyed {
        OrderKey name;
        OrderKey job;
        std::size_t index;
    };
    std::vector<Keyed> order;
    order.reserve(contents.workerCount());
    WorkerRow row;
    for (std::size_t i = 0; i < contents.workerCount(); ++i) {
        row = WorkerRow();
        contents.fillRow(i, row);
        CutToFieldSizes(row);
        order.push_back({MakeOrderKey(row.pName), MakeOrderKey(row.nName), i});
    }
    std::stable_sort(order.begin(), order.end(), [](const Keyed& a, const Keyed& b) {
        const int byName = CompareOrderKeys(a.name, b.name);
        return byName != 0 ? byName < 0 : CompareOrderKeys(a.job, b.job) < 0;
    });
    for (const Keyed& keyed : order) {
        row = WorkerRow();
        contents.fillRow(keyed.index, row);
        CutToFieldSizes(row);
        row.nNal = row.CountWorkedDays();
        each(row);
    }
}

void SaveSheetFile(const std::string& path, Sheet& sheet, const Progress& progress,
                   const std::string& backupFolder)
{
    sheet.period = PeriodFromHeader(sheet.header);
    WorkerTable& table = sheet.table;
    requireOpenTable(table);
    // A row still being appended or edited is posted first, as leaving it by walking does.
    const WorkerTable::Bookmark mark = table.GetBookmark();
    FreezeScope frozen(table);
    try {
        table.First();
        WriteSheetFile(path, sheet, progress, backupFolder);
    } catch (...) {
        table.GotoBookmark(mark);
        throw;
    }
    table.GotoBookmark(mark);
    table.FreeBookmark(mark);
}

} // namespace lavodc
