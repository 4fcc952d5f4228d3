#include "core/month_calendar.h"

#include "core/cp949.h"
#include "core/worker_fields.h"

#include <chrono>

namespace lavodc {

namespace {

// A number made only of digits, or -1.
int digitsValue(std::string_view text)
{
    if (text.empty() || text.size() > 4)
        return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::vector<GridDay> MonthGridDays(std::string_view yearText, std::string_view monthText)
{
    using namespace std::chrono;
    const int yearValue = digitsValue(yearText);
    const int monthValue = digitsValue(monthText);
    std::vector<GridDay> days;
    if (yearValue < 1 || monthValue < 1 || monthValue > 12) {
        for (int i = 0; i < kDayCount; ++i)
            days.push_back({i, kNoWeekday});
        return days;
    }
    const year_month month{year{yearValue}, std::chrono::month{unsigned(monthValue)}};
    const auto last = unsigned((month / std::chrono::last).day());
    const weekday first{sys_days{month / 1}};
    for (unsigned i = 0; i < last; ++i)
        days.push_back({int(i), int((first.c_encoding() + i) % 7)});
    return days;
}

std::string GridDayTitle(const GridDay& day)
{
    static const char* const names[] = {"일", "월", "화", "수", "목", "금", "토"};
    std::string title = std::to_string(day.dayIndex + 1);
    if (day.weekday >= kSunday && day.weekday <= kSaturday)
        title += "\n" + K(names[day.weekday]);
    return title;
}

std::vector<GridColumn> MonthGridColumns(const std::vector<GridDay>& days)
{
    std::vector<GridColumn> columns = {
        {"pName", K("성명"), 70, CellAlignment::Left},
        {"JmnNo", K("주민등록번호"), 104, CellAlignment::Centre},
    };
    for (const GridDay& day : days) {
        const int number = day.dayIndex + 1;
        const std::string field{'d', char('0' + number / 10), char('0' + number % 10)};
        columns.push_back({field, GridDayTitle(day), 26, CellAlignment::Centre});
    }
    columns.push_back({"nNal", K("근로일수"), 56, CellAlignment::Centre});
    return columns;
}

} // namespace lavodc
