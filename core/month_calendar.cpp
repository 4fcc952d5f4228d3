#include "core/month_calendar.h"

#include "core/cp949.h"
#include "core/worker_fields.h"

#include <chrono>

namespace lavodc {

namespace {

// A number made only of digits, blanks around it allowed; -1 for anything else.
int digitsValue(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
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

std::optional<HeaderMonth> MonthOfHeader(std::string_view yearText, std::string_view monthText)
{
    using namespace std::chrono;
    const int yearValue = digitsValue(yearText);
    const int monthValue = digitsValue(monthText);
    if (yearValue < 1 || monthValue < 1 || monthValue > 12)
        return std::nullopt;
    const year_month month{year{yearValue}, std::chrono::month{unsigned(monthValue)}};
    return HeaderMonth{yearValue, monthValue, int(unsigned((month / std::chrono::last).day()))};
}

std::vector<GridDay> MonthGridDays(std::string_view yearText, std::string_view monthText)
{
    using namespace std::chrono;
    std::vector<GridDay> days;
    const std::optional<HeaderMonth> named = MonthOfHeader(yearText, monthText);
    if (!named) {
        for (int i = 0; i < kDayCount; ++i)
            days.push_back({i, kNoWeekday});
        return days;
    }
    const year_month month{year{named->year}, std::chrono::month{unsigned(named->month)}};
    const weekday first{sys_days{month / 1}};
    for (int i = 0; i < named->days; ++i)
        days.push_back({i, int((first.c_encoding() + unsigned(i)) % 7)});
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
