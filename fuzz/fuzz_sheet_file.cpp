// The .Lvo reader over arbitrary bytes: whatever the file holds, Open ends, and every worker it
// yields survives being written into a record and read back.
#include "core/sheet_file.h"
#include "core/sheet_record.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace {

int memoryFile()
{
    static const int fd = ::memfd_create("lvo", MFD_CLOEXEC);
    return fd;
}

// Amounts are held as doubles: exact up to 2^53 ten-thousandths, beyond that as near as a double
// comes, and then only required to stay savable.
bool sameAmount(double a, double b)
{
    constexpr double kExact = 9007199254740992.0 / 10000.0;
    return std::fabs(a) > kExact || a == b;
}

bool sameRow(const lavodc::WorkerRow& a, const lavodc::WorkerRow& b)
{
    return a.pName == b.pName && a.JmnNo == b.JmnNo && a.nName == b.nName && a.nAddr == b.nAddr
        && a.nTel == b.nTel && a.nEtc == b.nEtc && a.nNal == b.nNal && sameAmount(a.nDay, b.nDay)
        && sameAmount(a.SmMny, b.SmMny) && a.days == b.days;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = memoryFile();
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    lavodc::Sheet sheet;
    sheet.table.Open();
    lavodc::OpenSheetFile(path, sheet);
    if (static_cast<std::size_t>(sheet.table.RecordCount()) > size / lavodc::kRecordSize)
        std::abort();

    lavodc::record::Bytes bytes{};
    for (int i = 0; i < sheet.table.RecordCount(); ++i) {
        const lavodc::WorkerRow& row = sheet.table.RowAt(i);
        if (row.nNal != row.CountWorkedDays())
            std::abort();   // Open recounts every row
        lavodc::record::fillWorker(bytes, row, sheet.period);   // whatever was read can be saved
        lavodc::WorkerRow back;
        lavodc::record::readWorker(bytes.data(), back);
        if (!sameRow(row, back))
            std::abort();
    }
    return 0;
}
