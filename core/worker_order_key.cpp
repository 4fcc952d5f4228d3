#include "core/worker_order_key.h"

#include "core/cp949.h"

#include <algorithm>
#include <array>

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

namespace {

// The first six code points of a text, three to a word as keyPrefix packs them, and whether
// that is all of it; texts whose six agree and that go on are compared whole.
struct TextKey {
    std::array<std::uint64_t, 2> words{};
    bool whole = true;
};

TextKey makeTextKey(std::string_view cp949)
{
    TextKey key;
    std::size_t at = 0;
    for (std::uint64_t& word : key.words) {
        for (int i = 0; i < 3; ++i) {
            const std::uint64_t code = at < cp949.size() ? static_cast<std::uint64_t>(nextCp949CodePoint(cp949, at)) + 1 : 0;
            word = (word << 21) | code;
        }
    }
    key.whole = at == cp949.size();
    return key;
}

int compareCodePoints(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = nextCp949CodePoint(a, i);
        const char32_t y = nextCp949CodePoint(b, j);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return i < a.size() ? 1 : j < b.size() ? -1 : 0;
}

int compareTextKeys(const TextKey& a, const TextKey& b, const RowText& text, std::size_t rowA, std::size_t rowB)
{
    if (a.words != b.words)
        return a.words < b.words ? -1 : 1;
    if (a.whole || b.whole)
        return a.whole == b.whole ? 0 : a.whole ? -1 : 1;   // the whole one is the start of the other
    return compareCodePoints(text(rowA), text(rowB));
}

} // namespace

std::vector<std::uint32_t> ByNameOrder(std::size_t count, const RowText& name, const RowText& job)
{
    struct Keyed {
        TextKey name;
        TextKey job;
        std::uint32_t row;
    };
    std::vector<Keyed> keyed(count);
    for (std::size_t i = 0; i < count; ++i)
        keyed[i] = {makeTextKey(name(i)), makeTextKey(job(i)), static_cast<std::uint32_t>(i)};
    std::sort(keyed.begin(), keyed.end(), [&name, &job](const Keyed& a, const Keyed& b) {
        int order = compareTextKeys(a.name, b.name, name, a.row, b.row);
        if (order == 0)
            order = compareTextKeys(a.job, b.job, job, a.row, b.row);
        return order != 0 ? order < 0 : a.row < b.row;
    });
    std::vector<std::uint32_t> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = keyed[i].row;
    return order;
}

} // namespace lavodc
