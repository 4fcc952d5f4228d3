#pragma once
// Worker rows kept small while many of them wait to be saved or added: the texts of each row
// in one record-sized block (as a saved record holds them), the amounts beside it.

#include "core/sheet_record.h"
#include "core/worker_fields.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace lavodc {

class PackedWorkerRows {
public:
    // Cuts the texts to their fields' sizes, as a table does when it takes a row.
    void add(const WorkerRow& row);
    void clear();
    std::size_t size() const { return amounts_.size(); }
    bool empty() const { return amounts_.empty(); }

    // The row as added, apart from its codes and cDate, which a saved record does not keep.
    // Raises std::logic_error for a row whose texts were released.
    void unpack(std::size_t index, WorkerRow& row) const;
    // The worker record of a row, written over `bytes` as record::fillWorker writes it for the
    // unpacked row.
    void fillRecord(std::size_t index, record::Bytes& bytes, std::string_view period) const;
    // The name and the job of a row as kept (cut), for sorting; valid until the row is released.
    std::string_view name(std::size_t index) const;
    std::string_view job(std::size_t index) const;
    // Frees the texts of the rows before `index` that are done with (whole blocks only), so
    // that rows handed on one by one do not stand in memory twice. size() stays.
    void release(std::size_t index);

private:
    const unsigned char* block(std::size_t index) const;

    // In blocks of a fixed number of rows: growing never copies what is there.
    std::vector<std::vector<unsigned char>> texts_;
    std::vector<std::array<double, 3>> amounts_;
    std::size_t released_ = 0;   // blocks whose texts are freed
};

} // namespace lavodc
