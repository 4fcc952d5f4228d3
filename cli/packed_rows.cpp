#include "cli/packed_rows.h"

#include <algorithm>
#include <numeric>

namespace lavodc::cli {

void PackedRows::add(WorkerRow row)
{
    CutToFieldSizes(row);
    keys_.push_back({MakeOrderKey(row.pName), MakeOrderKey(row.nName)});
    rows_.add(std::move(row));
}

void PackedRows::clear()
{
    rows_.clear();
    keys_.clear();
}

std::vector<std::uint32_t> PackedRows::byNameOrder() const
{
    std::vector<std::uint32_t> order(size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
        const int byName = CompareOrderKeys(keys_[a].name, keys_[b].name);
        return byName != 0 ? byName < 0 : CompareOrderKeys(keys_[a].job, keys_[b].job) < 0;
    });
    return order;
}

} // namespace lavodc::cli
