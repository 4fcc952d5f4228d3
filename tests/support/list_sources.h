#pragma once
// Lists for the readers' tests: bytes handed over a few at a time, and a sink that keeps
// every cell of every row as the reader delivers it.

#include "core/byte_source.h"
#include "core/list_rows.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace lavodc::test {

// Bytes in reads of at most `piece` bytes (all at once for 0).
class PiecewiseSource : public ByteSource {
public:
    PiecewiseSource(std::string bytes, std::size_t piece) : bytes_(std::move(bytes)), piece_(piece) {}
    std::size_t Read(char* buffer, std::size_t size) override
    {
        std::size_t n = std::min(size, bytes_.size() - at_);
        if (piece_ > 0)
            n = std::min(n, piece_);
        std::memcpy(buffer, bytes_.data() + at_, n);
        at_ += n;
        return n;
    }
    void Rewind() override { at_ = 0; }

private:
    std::string bytes_;
    std::size_t piece_;
    std::size_t at_ = 0;
};

struct KeptRow {
    int number = 0;
    std::size_t width = 0;
    bool blank = true;
    std::vector<std::string> cells;   // from column A; cells not handed over are empty
};

// Asks for every cell whole and keeps the rows.
class KeepAllRows : public ListRowSink {
public:
    CellUse Use(std::size_t) const override { return CellUse::Whole; }
    void Row(const ListRow& row) override
    {
        KeptRow kept{row.number, row.width, row.blank, {}};
        for (const ListCell& cell : row.cells) {
            if (kept.cells.size() <= cell.column)
                kept.cells.resize(cell.column + 1);
            kept.cells[cell.column] = std::string(cell.text);
        }
        rows.push_back(std::move(kept));
    }
    std::vector<KeptRow> rows;
};

} // namespace lavodc::test
