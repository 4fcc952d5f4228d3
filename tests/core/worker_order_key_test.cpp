// The by-name order of many rows without a key of each row's own sorts them as the keys of the
// table sort them: code points, not bytes; shorter first; name before job; ties in their order.
#include "core/worker_order_key.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace lavodc {
namespace {

struct Row {
    std::string name;
    std::string job;
};

// What the table does: each row's keys, a stable sort.
std::vector<std::uint32_t> orderByKeys(const std::vector<Row>& rows)
{
    std::vector<std::uint32_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&rows](std::uint32_t a, std::uint32_t b) {
        const int byName = CompareOrderKeys(MakeOrderKey(rows[a].name), MakeOrderKey(rows[b].name));
        return byName != 0 ? byName < 0 : CompareOrderKeys(MakeOrderKey(rows[a].job), MakeOrderKey(rows[b].job)) < 0;
    });
    return order;
}

std::vector<std::uint32_t> orderByTexts(const std::vector<Row>& rows)
{
    return ByNameOrder(
        rows.size(), [&rows](std::size_t i) -> std::string_view { return rows[i].name; },
        [&rows](std::size_t i) -> std::string_view { return rows[i].job; });
}

// Texts that meet at every place the order looks: the sixth and seventh code point, one text the
// start of another, pairs whose bytes sort the other way (갂 81 41 before 가 B0 A1), bytes that
// do not decode, ASCII against Hangul, nothing at all.
const std::vector<std::string> kTexts = {
    "", "a", "A", "ab", "abc", "abcdef", "abcdefg", "abcdefh", "abcdeg", "abcdefgh",
    K("가"), K("각"), K("갂"), K("가나다라마바"), K("가나다라마바사"), K("가나다라마바아"), K("가나다라마"),
    K("강도윤") + "1", K("강도윤") + "12", K("강도윤") + "2", K("똠"), K("홍길동"), K("√"),
    "\xB0", "\x80", "\xFF" "a", "\xC8" "A", K("가") + "\xB0", "zz", "~", std::string("\0", 1),
};

TEST(ByNameOrder, SortsAsTheTablesKeysSort)
{
    std::mt19937 random(20);
    for (const std::size_t count : {0u, 1u, 2u, 50u, 3000u}) {
        SCOPED_TRACE(count);
        std::vector<Row> rows(count);
        for (Row& row : rows) {
            row.name = kTexts[random() % kTexts.size()];
            row.job = kTexts[random() % kTexts.size()];
        }
        EXPECT_EQ(orderByTexts(rows), orderByKeys(rows));
    }
}

TEST(ByNameOrder, EveryPairOfTextsComparesAsTheirKeys)
{
    for (const std::string& a : kTexts) {
        for (const std::string& b : kTexts) {
            const std::vector<Row> rows = {{a, ""}, {b, ""}};
            EXPECT_EQ(orderByTexts(rows), orderByKeys(rows)) << testing::PrintToString(a) << " "
                                                             << testing::PrintToString(b);
        }
    }
}

} // namespace
} // namespace lavodc
