#include "core/sheet_record_cache.h"

#include "core/sheet_file.h"
#include "core/sheet_record.h"

#include <cstring>

namespace lavodc {

SheetRecordCache::SheetRecordCache(WorkerTable& table) : table_(table)
{
    table_.AddListener(this);
}

SheetRecordCache::~SheetRecordCache()
{
    table_.RemoveListener(this);
}

void SheetRecordCache::encodeRow(std::size_t index, const std::string& period)
{
    // A buffer of its own, zero at first: the program's shared one stays as Save left it.
    record::Bytes bytes{};
    record::fillWorker(bytes, table_.RowAt(static_cast<int>(index)), period);
    std::memcpy(records_.data() + index * record::kSize, bytes.data(), record::kSize);
}

void SheetRecordCache::SheetBytes(const SheetHeader& header, std::string& out)
{
    if (!table_.Active()) {
        out = SheetFileBytes(header, table_);   // raises as it does
        return;
    }
    const std::string period = PeriodFromHeader(header);
    const auto rows = static_cast<std::size_t>(table_.RecordCount());
    if (stale_ || period != period_ || records_.size() != rows * record::kSize) {
        records_.assign(rows * record::kSize, '\0');
        period_.clear();
        for (std::size_t i = 0; i < rows; ++i)
            encodeRow(i, period);
        period_ = period;
        stale_ = false;
    } else {
        for (const int row : changedRows_)
            if (row >= 0 && static_cast<std::size_t>(row) < rows)
                encodeRow(static_cast<std::size_t>(row), period);
    }
    changedRows_.clear();

    out.clear();
    out.reserve(3 * record::kSize + records_.size());
    auto add = [&out, &period, &header](void (*fill)(record::Bytes&, const SheetHeader&, std::string_view)) {
        record::Bytes buffer{};
        fill(buffer, header, period);
        out.append(reinterpret_cast<const char*>(buffer.data()), buffer.size());
    };
    add(record::fillHeaderA);
    add(record::fillHeaderB);
    add(record::fillHeaderC);
    out += records_;
}

} // namespace lavodc
