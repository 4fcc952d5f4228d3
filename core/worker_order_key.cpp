#include "core/worker_order_key.h"

#include "core/cp949.h"

namespace lavodc {

namespace {

// The first three code points packed so that comparing two prefixes orders them as the
// keys themselves; a shorter key sorts first. Equal prefixes need the whole keys.
std::uint64_t keyPrefix(const std::u32string& key)
{
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::uint64_t code = i < key.size() ? static_cast<std::uint64_t>(key[i]) + 1 : 0;
        prefix = (prefix << 21) | code;
    }
    return prefix;
}

} // namespace

OrderKey MakeOrderKey(std::string_view cp949)
{
    OrderKey key;
    key.codePoints = cp949CodePoints(cp949);
    key.prefix = keyPrefix(key.codePoints);
    return key;
}

int CompareOrderKeys(const OrderKey& a, const OrderKey& b)
{
    if (a.prefix != b.prefix)
        return a.prefix < b.prefix ? -1 : 1;
    return a.codePoints.compare(b.codePoints);
}

} // namespace lavodc
