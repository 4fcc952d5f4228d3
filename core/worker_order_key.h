#pragma once
// The sort key of one text field of the worker table's orders: its code points, with the first
// three packed into one number so that most comparisons never look further.

#include <cstdint>
#include <string>
#include <string_view>

namespace lavodc {

struct OrderKey {
    std::u32string codePoints;
    std::uint64_t prefix = 0;
};

OrderKey MakeOrderKey(std::string_view cp949);
// Negative, zero or positive as `a` sorts before, with or after `b`; a shorter key sorts first.
int CompareOrderKeys(const OrderKey& a, const OrderKey& b);

} // namespace lavodc
