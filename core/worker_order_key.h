#pragma once
// The sort key of one text field of the worker table's orders: its code points, with the first
// three packed into one number so that most comparisons never look further.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lavodc {

struct OrderKey {
    std::u32string codePoints;
    std::uint64_t prefix = 0;
};

OrderKey MakeOrderKey(std::string_view cp949);
// Negative, zero or positive as `a` sorts before, with or after `b`; a shorter key sorts first.
int CompareOrderKeys(const OrderKey& a, const OrderKey& b);

// The same order for many rows that are not in a table, without a key of each row's own: the
// positions 0 .. count - 1 sorted by name, then job, ties in the order of the positions, as the
// table's by-name order sorts them. `name(i)` and `job(i)` are row i's texts (CP949).
using RowText = std::function<std::string_view(std::size_t row)>;
std::vector<std::uint32_t> ByNameOrder(std::size_t count, const RowText& name, const RowText& job);

} // namespace lavodc
