#include "core/day_marks.h"

#include "case_names.h"
#include "core/cp949.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

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


// ---- the mark rule for typed keys ---------------------------------------------------

struct TypedCase {
    const char* typed;        // UTF-8
    const char* cell;         // UTF-8 of what the cell holds after it; nullptr when refused
};

void PrintTo(const TypedCase& c, std::ostream* out)
{
    *out << case_names::QuotedBytes(c.typed);
}

class DayCellAfterTypingTest : public ::testing::TestWithParam<TypedCase> {};

TEST_P(DayCellAfterTypingTest, MarksClearsOrRefuses)
{
    const std::optional<std::string_view> cell = DayCellAfterTyping(K(GetParam().typed));
    if (GetParam().cell == nullptr) {
        EXPECT_FALSE(cell.has_value());
    } else {
        ASSERT_TRUE(cell.has_value());
        EXPECT_EQ(std::string(*cell), K(GetParam().cell));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DayCellAfterTypingTest,
    ::testing::Values(TypedCase{"o", "√"}, TypedCase{"O", "√"}, TypedCase{"v", "√"}, TypedCase{"V", "√"},
                      TypedCase{"1", "√"}, TypedCase{" ", "√"}, TypedCase{"√", "√"}, TypedCase{"\b", ""},
                      // Look-alikes and everything else are refused.
                      TypedCase{"0", nullptr}, TypedCase{"x", nullptr}, TypedCase{"l", nullptr},
                      TypedCase{"2", nullptr}, TypedCase{"-", nullptr}, TypedCase{"오", nullptr},
                      TypedCase{"ㅇ", nullptr}, TypedCase{"\t", nullptr}, TypedCase{"\r", nullptr},
                      TypedCase{"", nullptr}, TypedCase{"oo", nullptr}, TypedCase{"√ ", nullptr},
                      TypedCase{" o", nullptr}));

TEST(DayMarks, OnlyTextOtherThanTheMarkOrNothingIsStray)
{
    EXPECT_FALSE(IsStrayDayText(""));
    EXPECT_FALSE(IsStrayDayText(kDayMark));
    for (const std::string& stray : {std::string("x"), std::string(" "), std::string(kDayMark) + " ",
                                    std::string("v"), K("가"), std::string("\xA1")})
        EXPECT_TRUE(IsStrayDayText(stray)) << case_names::QuotedBytes(stray, true);
}

} // namespace
} // namespace lavodc
