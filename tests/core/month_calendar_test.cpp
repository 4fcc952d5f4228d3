#include "core/month_calendar.h"

#include "case_names.h"
#include "core/cp949.h"
#include "core/worker_fields.h"

#include <gtest/gtest.h>

#include <ostream>

namespace lavodc {
namespace {

struct MonthCase {
    const char* year;
    const char* month;
    int days;
    int firstWeekday;   // of the 1st; kNoWeekday when the month is not known
};

void PrintTo(const MonthCase& c, std::ostream* out)
{
    *out << case_names::QuotedBytes(c.year) << " " << case_names::QuotedBytes(c.month);
}

class MonthGridDaysTest : public ::testing::TestWithParam<MonthCase> {};

TEST_P(MonthGridDaysTest, ShowsTheMonthsOwnDaysWithTheirWeekdaysOrAll31)
{
    const MonthCase& c = GetParam();
    const std::vector<GridDay> days = MonthGridDays(c.year, c.month);
    ASSERT_EQ(int(days.size()), c.days);
    for (int i = 0; i < c.days; ++i) {
        EXPECT_EQ(days[std::size_t(i)].dayIndex, i);
        const int expected = c.firstWeekday == kNoWeekday ? kNoWeekday : (c.firstWeekday + i) % 7;
        EXPECT_EQ(days[std::size_t(i)].weekday, expected) << "day " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Months, MonthGridDaysTest,
    ::testing::Values(MonthCase{"2024", "02", 29, 4},      // leap year, the 1st a Thursday
                      MonthCase{"2023", "02", 28, 3},
                      MonthCase{"1900", "02", 28, 4},      // a century is no leap year ...
                      MonthCase{"2000", "02", 29, 2},      // ... unless it is a fourth one
                      MonthCase{"2024", "04", 30, 1},
                      MonthCase{"2025", "03", 31, 6},      // the 1st a Saturday
                      MonthCase{"2024", "12", 31, 0},      // the 1st a Sunday
                      // Boxes that name no month: every day cell, no weekdays.
                      MonthCase{"    ", "  ", 31, kNoWeekday},
                      MonthCase{"2024", "13", 31, kNoWeekday},
                      MonthCase{"2024", "00", 31, kNoWeekday},
                      MonthCase{"2024", "1 ", 31, 1},      // a month typed "1" reads "1 "
                      MonthCase{"2024", " 2", 29, 4},
                      MonthCase{"0000", "05", 31, kNoWeekday},
                      MonthCase{"20 4", "05", 31, kNoWeekday},
                      MonthCase{"", "", 31, kNoWeekday}));

TEST(MonthGridColumnsTest, NameAndNumberThenTheDaysTitledWithTheirWeekdayThenTheCount)
{
    const std::vector<GridColumn> columns = MonthGridColumns(MonthGridDays("2025", "03"));
    ASSERT_EQ(columns.size(), 2u + 31u + 1u);
    EXPECT_EQ(columns[0].field, "pName");
    EXPECT_EQ(columns[0].title, K("성명"));
    EXPECT_EQ(columns[1].field, "JmnNo");
    EXPECT_EQ(columns[1].title, K("주민등록번호"));
    EXPECT_EQ(columns[2].field, "d01");
    EXPECT_EQ(columns[2].title, K("1\n토"));
    EXPECT_EQ(columns[3].title, K("2\n일"));
    EXPECT_EQ(columns[4].title, K("3\n월"));
    EXPECT_EQ(columns[32].field, "d31");
    EXPECT_EQ(columns[32].title, K("31\n월"));
    EXPECT_EQ(columns[33].field, "nNal");
    EXPECT_EQ(columns[33].title, K("근로일수"));
    for (std::size_t i = 2; i < 33; ++i) {
        EXPECT_EQ(FieldIndex(columns[i].field), kFirstDayField + int(i) - 2);
        EXPECT_EQ(columns[i].cells, CellAlignment::Centre);
    }

    // A short month ends at its last day; an unknown one shows the bare day numbers.
    const std::vector<GridColumn> february = MonthGridColumns(MonthGridDays("2023", "02"));
    ASSERT_EQ(february.size(), 2u + 28u + 1u);
    EXPECT_EQ(february[29].field, "d28");
    EXPECT_EQ(february[29].title, K("28\n화"));
    const std::vector<GridColumn> unknown = MonthGridColumns(MonthGridDays("", ""));
    EXPECT_EQ(unknown[2].title, "1");
    EXPECT_EQ(unknown[32].title, "31");
}

} // namespace
} // namespace lavodc
