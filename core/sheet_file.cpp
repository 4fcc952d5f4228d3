#include "core/sheet_file.h"

#include "core/sheet_record.h"
#include "core/worker_order_key.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lavodc {

namespace {

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

// Records collect in a chunk and go to the file in large writes.
class RecordWriter {
public:
    explicit RecordWriter(SafeSave& file) : file_(file) { chunk_.reserve(record::kSize * kRecordsPerChunk); }

    void add(const record::Bytes& bytes)
    {
        chunk_.insert(chunk_.end(), bytes.begin(), bytes.end());
        if (chunk_.size() >= record::kSize * kRecordsPerChunk)
            flush();
    }

    void flush()
    {
        file_.write(chunk_.data(), chunk_.size());
        chunk_.clear();
    }

private:
    SafeSave& file_;
    std::vector<unsigned char> chunk_;
};

// What goes into a file: the header, and `count` worker records that `fill(i, buffer)` makes.
struct RowsToWrite {
    const SheetHeader& header;
    const std::string& period;
    std::size_t count;
    std::function<void(std::size_t index, record::Bytes& buffer)> fill;
};

void writeRecords(SafeSave& file, const RowsToWrite& rows, const Progress& progress)
{
    RecordWriter writer(file);
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
        rows.fill(i, buffer);
        writer.add(buffer);
    }
    writer.flush();
}

void writeFile(const std::string& path, const RowsToWrite& rows, const Progress& progress, FileStamp* written)
{
    SafeSave file(path);
    writeRecords(file, rows, progress);
    const FileStamp stamp = file.commit();
    if (written)
        *written = stamp;
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
        if (::fstat(fd_, &info_) != 0) {
            const int error = errno;
            ::close(fd_);
            throwIoError(error);
        }
        if (!S_ISREG(info_.st_mode)) {
            ::close(fd_);
            if (S_ISDIR(info_.st_mode))
                throwIoError(EISDIR);
            throw SheetFileError(kNotARegularFile);
        }
    }
    ~ReadOnlyFile() { ::close(fd_); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    std::size_t wholeRecords() const { return static_cast<std::size_t>(info_.st_size) / record::kSize; }

    // What the file was as it was read: every byte read so far went into its hash.
    FileStamp stamp() const { return StampOf(info_, hash_.value()); }

    // Reads (and hashes) the rest of the file, which holds no whole record.
    void readRest()
    {
        unsigned char rest[record::kSize];
        while (read(rest, sizeof rest) == sizeof rest) {
        }
    }

    // Reads up to `size` bytes; fewer only at the end of the file.
    std::size_t read(unsigned char* data, std::size_t size)
    {
        const std::size_t total = readSome(data, size);
        hash_.add(data, total);
        return total;
    }

private:
    std::size_t readSome(unsigned char* data, std::size_t size)
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

    int fd_;
    struct stat info_ {};
    ContentHash hash_;
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
                 const std::function<void()>& opened = {}, FileStamp* stamp = nullptr)
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
    if (stamp) {
        file.readRest();
        *stamp = file.stamp();
    }
}

} // namespace

void WriteSheetFile(const std::string& path, const Sheet& sheet, const Progress& progress, FileStamp* written)
{
    const WorkerTable& table = sheet.table;
    requireOpenTable(table);
    const RowAt rowAt = [&table](std::size_t i) -> const WorkerRow& { return table.RowAt(static_cast<int>(i)); };
    WriteSheetRows(path, sheet.header, sheet.period, static_cast<std::size_t>(table.RecordCount()), rowAt,
                   progress, written);
}

void WriteSheetRows(const std::string& path, const SheetHeader& header, const std::string& period,
                    std::size_t count, const RowAt& rowAt, const Progress& progress, FileStamp* written)
{
    const auto fill = [&rowAt, &period](std::size_t i, record::Bytes& buffer) {
        record::fillWorker(buffer, rowAt(i), period);
    };
    writeFile(path, RowsToWrite{header, period, count, fill}, progress, written);
}

void WriteSheetRows(const std::string& path, const SheetHeader& header, const std::string& period,
                    const PackedWorkerRows& rows, const std::vector<std::uint32_t>& order, FileStamp* written)
{
    const auto fill = [&rows, &order, &period](std::size_t i, record::Bytes& buffer) {
        rows.fillRecord(order[i], buffer, period);
    };
    writeFile(path, RowsToWrite{header, period, order.size(), fill}, {}, written);
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
                   const std::function<void()>& opened, FileStamp* read)
{
    requireOpenTable(sheet.table);
    const std::string period = CurrentPeriod();
    FileContents contents;
    ResetHeader(contents.header, period);
    FileStamp stamp;
    readRecords(path, contents, progress, opened, read ? &stamp : nullptr);

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
    if (read)
        *read = stamp;
}

namespace {

// The records of a file read without a table: the header and period set as Open sets them,
// the worker records kept for the caller to walk.
FileContents readHeaderAndWorkers(const std::string& path, SheetHeader& header, std::string& period)
{
    const std::string today = CurrentPeriod();
    FileContents contents;
    ResetHeader(contents.header, today);
    readRecords(path, contents, {});
    period = today;
    header = std::move(contents.header);
    NormalizeMaskedValues(header);
    return contents;
}

} // namespace

void ReadSheetFileInOrder(const std::string& path, SheetHeader& header, std::string& period,
                          const std::function<void(const WorkerRow&)>& each)
{
    FileContents contents = readHeaderAndWorkers(path, header, period);

    // The order the table would give them: by name, then job, ties in file order. The texts as
    // read are cut to their fields' sizes already, as a table cuts them.
    const auto text = [&contents](std::size_t i, record::TextField field) {
        return record::textAt(contents.workerRecords.data() + i * record::kSize, field);
    };
    const std::vector<std::uint32_t> order =
        ByNameOrder(contents.workerCount(), [&text](std::size_t i) { return text(i, record::kName); },
                    [&text](std::size_t i) { return text(i, record::kJob); });
    WorkerRow row;
    for (const std::uint32_t index : order) {
        contents.fillRow(index, row);
        row.nNal = row.CountWorkedDays();
        each(row);
    }
}

void ReadSheetFileAsStored(const std::string& path, SheetHeader& header, std::string& period,
                           const std::function<void(const WorkerRow&)>& each)
{
    FileContents contents = readHeaderAndWorkers(path, header, period);
    WorkerRow row;
    for (std::size_t i = 0; i < contents.workerCount(); ++i) {
        row = WorkerRow();
        contents.fillRow(i, row);
        CutToFieldSizes(row);
        row.nNal = row.CountWorkedDays();
        each(row);
    }
}

void SaveSheetFile(const std::string& path, Sheet& sheet, const Progress& progress, FileStamp* written)
{
    sheet.period = PeriodFromHeader(sheet.header);
    WorkerTable& table = sheet.table;
    requireOpenTable(table);
    // A row still being appended or edited is posted first, as leaving it by walking does.
    const WorkerTable::Bookmark mark = table.GetBookmark();
    FreezeScope frozen(table);
    try {
        table.First();
        WriteSheetFile(path, sheet, progress, written);
    } catch (...) {
        table.GotoBookmark(mark);
        throw;
    }
    table.GotoBookmark(mark);
    table.FreeBookmark(mark);
}

} // namespace lavodc
