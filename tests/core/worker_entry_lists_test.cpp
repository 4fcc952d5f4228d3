#include "core/worker_entry_lists.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

namespace lavodc {
namespace {

struct PositionCase {
    const char* stored;   // UTF-8
    int position;
};

class JobPositionTest : public testing::TestWithParam<PositionCase> {};

TEST_P(JobPositionTest, FollowsTheFirstCharacterAfterLeadingBlanks)
{
    EXPECT_EQ(JobPosition(K(GetParam().stored)), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Stored, JobPositionTest, testing::Values(
    PositionCase{"1.고위임원&관리자", 0}, PositionCase{"9.단순노무직근로자", 8},
    PositionCase{"A.철근원", 9}, PositionCase{"  G", 15}, PositionCase{"U.건설단순노무자", 29},
    PositionCase{"V", 29}, PositionCase{"0", 29}, PositionCase{"a", 29},
    PositionCase{"목공", 29}, PositionCase{"", 29}, PositionCase{"   ", 29}));

class ReasonPositionTest : public testing::TestWithParam<PositionCase> {};

TEST_P(ReasonPositionTest, FollowsTheFirstCharacterOfANonBlankReason)
{
    EXPECT_EQ(ReasonPosition(K(GetParam().stored)), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Stored, ReasonPositionTest, testing::Values(
    PositionCase{"", 0}, PositionCase{"   ", 0}, PositionCase{"\t", 0},
    PositionCase{"1.회사사정에 의한 이직", 1}, PositionCase{" 2.부득이한 개인사정", 2},
    PositionCase{"3", 3}, PositionCase{"4.기타", 0}, PositionCase{"이직", 0}));

TEST(WorkerEntryListsTest, ListsHoldTheirEntriesAndStoredReasons)
{
    ASSERT_EQ(JobEntries().size(), 30u);
    EXPECT_EQ(JobEntries()[14], K("F.조적원(벽돌공)"));
    ASSERT_EQ(ReasonEntries().size(), 4u);
    EXPECT_EQ(ReasonEntries()[0].stored, "");
    EXPECT_EQ(ReasonEntries()[1].stored, K("1.회사사정에 의한 이직"));
    EXPECT_EQ(ReasonEntries()[3].shown, K(" 3. 기타 개인사정에 의한 이직(전직,자영업에 의한 이직)"));
}

} // namespace
} // namespace lavodc
