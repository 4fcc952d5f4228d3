#pragma once
// Worker rows kept small while a tool collects many of them (see PackedWorkerRows), and their
// by-name order.

#include "core/packed_worker_rows.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lavodc::cli {

class PackedRows {
public:
    // Cuts the texts to their fields' sizes, as a table does when it takes a row.
    void add(const WorkerRow& row) { rows_.add(row); }
    void clear() { rows_.clear(); }
    std::size_t size() const { return rows_.size(); }

    // The positions of the rows in the order the table gives them by name (then job),
    // ties in the order they were added.
    std::vector<std::uint32_t> byNameOrder() const;

    // The row as added, apart from its codes and cDate, which a saved record does not keep.
    void unpack(std::size_t index, WorkerRow& row) const { rows_.unpack(index, row); }
    const PackedWorkerRows& packed() const { return rows_; }

private:
    PackedWorkerRows rows_;
};

} // namespace lavodc::cli
