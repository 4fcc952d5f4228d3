#include "core/batch_marks.h"

#include "case_names.h"
#include "core/cp949.h"

#include <gtest/gtest.h>

#include <ostream>

namespace lavodc {
namespace {

TEST(BatchGridColumnsTest, TheDayColumnComesFirstAndNamesItsDayInFieldAndTitle)
{
    for (const auto& [dayIndex, field, title] :
         {std::tuple{0, "d01", "01일"}, std::tuple{7, "d08", "08일"}, std::tuple{30, "d31", "31일"}}) {
        const std::vector<GridColumn> columns = BatchGridColumns(dayIndex);
        ASSERT_EQ(columns.size(), 5u);
        EXPECT_EQ(columns[0].field, field);
        EXPECT_EQ(columns[0].title, K(title));
        EXPECT_EQ(columns[0].width, 27);
        EXPECT_EQ(columns[0].cells, CellAlignment::Centre);
        // Every day column names a real field.
        EXPECT_EQ(FieldIndex(columns[0].field), kFirstDayField + dayIndex);
    }
    const std::vector<GridColumn> columns = BatchGridColumns(0);
    const char* fields[] = {"pName", "JmnNo", "nName", "nNal"};
    const char* titles[] = {"성    명", "주민등록번호", "직        종", "일수"};
    const int widths[] = {65, 107, 115, 35};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(columns[i + 1].field, fields[i]);
        EXPECT_EQ(columns[i + 1].title, K(titles[i]));
        EXPECT_EQ(columns[i + 1].width, widths[i]);
    }
    EXPECT_EQ(columns[2].cells, CellAlignment::Centre);
}

struct DayTextCase {
    const char* text;
    int dayIndex;
};

void PrintTo(const DayTextCase& c, std::ostream* out)
{
    *out << case_names::QuotedBytes(c.text);
}

class DayIndexOfDateTextTest : public ::testing::TestWithParam<DayTextCase> {};

TEST_P(DayIndexOfDateTextTest, OnlyTheNinthAndTenthCharactersCount)
{
    EXPECT_EQ(DayIndexOfDateText(GetParam().text), GetParam().dayIndex);
}

INSTANTIATE_TEST_SUITE_P(Texts, DayIndexOfDateTextTest,
                         ::testing::Values(DayTextCase{"2010.01.08", 7}, DayTextCase{"2010.02.31", 30},
                                           DayTextCase{"2026.12.01", 0}, DayTextCase{"    .  .15", 14},
                                           DayTextCase{"2010.01.00", -1}, DayTextCase{"2010.01.32", -1},
                                           DayTextCase{"2010.01. 8", -1}, DayTextCase{"2010.01.8", -1},
                                           DayTextCase{"", -1}));

// Remembers what the bound views were told.
class Recorder : public WorkerTableListener {
public:
    void tableChanged() override { ++tables; }
    void rowChanged(int) override { ++rows; }
    void currentChanged(int row) override { currents.push_back(row); }

    int tables = 0;
    int rows = 0;
    std::vector<int> currents;
};

class MarkDayForEveryoneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.Open();
        for (const char* name : {"A", "B", "C", "D"}) {
            table.Append();
            table.SetFieldText("pName", name);
            table.Post();
        }
        // B worked the 3rd already; C has typed text in the 10th and a mark on the 1st.
        table.MoveTo(1);
        table.Edit();
        table.SetFieldTextAt(kFirstDayField + 2, kDayMark);
        table.Post();
        table.RecountDays();
        table.MoveTo(2);
        table.Edit();
        table.SetFieldTextAt(kFirstDayField + 9, "ab");
        table.SetFieldTextAt(kFirstDayField + 0, kDayMark);
        table.Post();
        table.RecountDays();
        table.MoveTo(2);
    }

    std::string day(int row, int dayIndex) const
    {
        return RowFieldText(table.RowAt(row), kFirstDayField + dayIndex);
    }

    WorkerTable table;
};

TEST_F(MarkDayForEveryoneTest, MarksEveryRowReplacingTypedTextAndRecountsEach)
{
    MarkDayForEveryone(table, 9);
    const double counts[] = {1, 2, 2, 1};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(day(row, 9), kDayMark) << row;
        EXPECT_EQ(table.RowAt(row).nNal, counts[row]) << row;
    }
    // Other days are left as they were.
    EXPECT_EQ(day(1, 2), kDayMark);
    EXPECT_EQ(day(2, 0), kDayMark);
    EXPECT_EQ(day(0, 2), "");
    EXPECT_EQ(table.CurrentIndex(), 2);
    EXPECT_EQ(table.FieldText("pName"), "C");
}

TEST_F(MarkDayForEveryoneTest, ASecondRunChangesNothing)
{
    MarkDayForEveryone(table, 30);
    std::vector<WorkerRow> first;
    for (int row = 0; row < 4; ++row)
        first.push_back(table.RowAt(row));
    MarkDayForEveryone(table, 30);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(table.RowAt(row).days, first[std::size_t(row)].days);
        EXPECT_EQ(table.RowAt(row).nNal, first[std::size_t(row)].nNal);
    }
    EXPECT_EQ(table.CurrentIndex(), 2);
}

TEST_F(MarkDayForEveryoneTest, TheViewsHearOnceAtTheEndWithTheCurrentRowBack)
{
    Recorder views;
    table.AddListener(&views);
    MarkDayForEveryone(table, 4);
    table.RemoveListener(&views);
    EXPECT_EQ(views.tables, 1);
    EXPECT_EQ(views.rows, 0);
    EXPECT_EQ(views.currents, std::vector<int>{2});
    EXPECT_FALSE(table.Frozen());
}

TEST(MarkDayForEveryoneEmptyTest, AnEmptyTableStaysEmptyAndUnfrozen)
{
    WorkerTable table;
    table.Open();
    MarkDayForEveryone(table, 0);
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_FALSE(table.Frozen());
}

} // namespace
} // namespace lavodc
