#include "core/day_marks.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

namespace lavodc {
namespace {

class DayMarksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.Open();
        table.Append();
        table.SetFieldText("pName", "A");
        table.Post();
    }
    std::string day(int index) const { return table.FieldTextAt(kFirstDayField + index); }

    WorkerTable table;
};

TEST_F(DayMarksTest, ToggleMarksAnyTextAndClearsOnlyTheMark)
{
    ASSERT_TRUE(SetDayMark(table, 4, "x"));
    EXPECT_EQ(table.FieldFloat("nNal"), 0);
    ASSERT_TRUE(ToggleDayMark(table, 4));
    EXPECT_EQ(day(4), kDayMark);
    EXPECT_EQ(table.FieldFloat("nNal"), 1);
    ASSERT_TRUE(ToggleDayMark(table, 4));
    EXPECT_EQ(day(4), "");
    EXPECT_EQ(table.FieldFloat("nNal"), 0);
}

TEST_F(DayMarksTest, ATypedCellIsRecountedAndCutAtAWholeCharacter)
{
    ASSERT_TRUE(SetDayMark(table, 30, std::string(kDayMark)));
    EXPECT_EQ(table.FieldFloat("nNal"), 1);
    // "√가" is four bytes; the syllable does not fit the three of a day cell.
    ASSERT_TRUE(SetDayMark(table, 0, K("√가")));
    EXPECT_EQ(day(0), kDayMark);
    EXPECT_EQ(table.FieldFloat("nNal"), 2);
    ASSERT_TRUE(SetDayMark(table, 0, "abcd"));
    EXPECT_EQ(day(0), "abc");
    EXPECT_EQ(table.FieldFloat("nNal"), 1);
}

TEST(DayMarks, AnEmptyTableChangesNothing)
{
    WorkerTable table;
    table.Open();
    EXPECT_FALSE(ToggleDayMark(table, 0));
    EXPECT_FALSE(SetDayMark(table, 0, "x"));
    EXPECT_TRUE(table.IsEmpty());
}

} // namespace
} // namespace lavodc
