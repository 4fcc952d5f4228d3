#include "cli/packed_rows.h"

#include "core/worker_order_key.h"

namespace lavodc::cli {

std::vector<std::uint32_t> PackedRows::byNameOrder() const
{
    return ByNameOrder(
        size(), [this](std::size_t i) { return rows_.name(i); }, [this](std::size_t i) { return rows_.job(i); });
}

} // namespace lavodc::cli
