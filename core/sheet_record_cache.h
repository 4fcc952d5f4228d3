#pragma once
// The worker records of a table kept encoded as the table changes, so that the bytes of a whole
// sheet file cost a copy rather than an encoding of every row: for copies of a large sheet
// taken while the user works. A row that changes in place is encoded again alone; anything that
// moves rows (adding, deleting, sorting, a frozen walk) encodes them all at the next request.

#include "core/sheet.h"

#include <string>
#include <vector>

namespace lavodc {

class SheetRecordCache : public WorkerTableListener {
public:
    explicit SheetRecordCache(WorkerTable& table);
    ~SheetRecordCache() override;
    SheetRecordCache(const SheetRecordCache&) = delete;
    SheetRecordCache& operator=(const SheetRecordCache&) = delete;

    // What SheetFileBytes(header, table) gives, into `out`, whose memory is used again: a copy
    // of a large sheet then touches no fresh pages.
    void SheetBytes(const SheetHeader& header, std::string& out);

    void tableChanged() override { stale_ = true; }
    void rowChanged(int row) override { changedRows_.push_back(row); }
    void currentChanged(int) override {}

private:
    void encodeRow(std::size_t index, const std::string& period);

    WorkerTable& table_;
    std::string records_;             // one encoded record per row, in the table's order
    std::string period_;              // the period they were encoded with
    bool stale_ = true;
    std::vector<int> changedRows_;
};

} // namespace lavodc
