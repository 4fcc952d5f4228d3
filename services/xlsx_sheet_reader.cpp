#include "services/xlsx_sheet_reader.h"

#include "core/cp949.h"
#include "core/input_quote.h"

#include <zip.h>

#include <memory>

namespace lavodc {

namespace {

// A part of a worker list's workbook beyond this, unpacked, is no list (or a zip bomb).
constexpr zip_uint64_t kMaxPartSize = 512u * 1024u * 1024u;

std::string PartName(const std::string& name)
{
    return QuotedInputCp949(name);
}

// One part of the archive, unpacked as it is read.
class ZipPart : public ByteSource {
public:
    ZipPart(zip_t* zip, std::string name) : zip_(zip), name_(std::move(name)) {}
    ~ZipPart() override { Close(); }
    ZipPart(const ZipPart&) = delete;
    ZipPart& operator=(const ZipPart&) = delete;

    std::size_t Read(char* buffer, std::size_t size) override
    {
        if (!file_) {
            file_ = zip_fopen(zip_, name_.c_str(), 0);
            if (!file_)
                FailXlsx(PartName(name_) + ": " + zip_strerror(zip_));
        }
        const zip_int64_t got = zip_fread(file_, buffer, size);
        if (got < 0)
            FailXlsx(PartName(name_) + ": " + zip_file_strerror(file_));
        read_ += static_cast<zip_uint64_t>(got);
        if (read_ > kMaxPartSize)
            FailXlsx(PartName(name_) + K(" 부분이 너무 큽니다"));
        return static_cast<std::size_t>(got);
    }

    void Rewind() override
    {
        Close();
        read_ = 0;
    }

private:
    void Close()
    {
        if (file_)
            zip_fclose(file_);
        file_ = nullptr;
    }

    zip_t* zip_;
    std::string name_;
    zip_file_t* file_ = nullptr;
    zip_uint64_t read_ = 0;
};

class ZipArchive : public WorkbookParts {
public:
    explicit ZipArchive(const std::string& path)
    {
        int code = 0;
        zip_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
        if (!zip_) {
            zip_error_t error;
            zip_error_init_with_code(&error, code);
            const std::string reason = zip_error_strerror(&error);
            zip_error_fini(&error);
            FailXlsx(reason);
        }
    }
    ~ZipArchive() override { zip_discard(zip_); }
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    std::unique_ptr<ByteSource> Open(const std::string& name) override
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(zip_, name.c_str(), 0, &stat) != 0)
            return nullptr;
        if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > kMaxPartSize)
            FailXlsx(PartName(name) + K(" 부분이 너무 큽니다"));
        return std::make_unique<ZipPart>(zip_, name);
    }

private:
    zip_t* zip_ = nullptr;
};

} // namespace

void ReadXlsxFirstSheet(const std::string& path, ListRowSink& sink)
{
    ZipArchive zip(path);
    ReadFirstSheet(zip, sink);
}

} // namespace lavodc
