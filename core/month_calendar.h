#pragma once
// The days the month grid shows: those of the month the header names, each with its weekday,
// and the grid's columns over them.

#include "core/grid_columns.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lavodc {

inline constexpr int kNoWeekday = -1;
inline constexpr int kSunday = 0;
inline constexpr int kSaturday = 6;

struct GridDay {
    int dayIndex = 0;          // 0 for the 1st .. 30 for the 31st
    int weekday = kNoWeekday;  // 0 Sunday .. 6 Saturday; none when the month is not known
};

// The month the header's year and month boxes name: digits, blanks around them allowed (a
// month typed "5" reads "5 " from its box); nothing when they name none.
struct HeaderMonth {
    int year = 0;
    int month = 0;   // 1 .. 12
    int days = 0;    // 28 .. 31
};
std::optional<HeaderMonth> MonthOfHeader(std::string_view yearText, std::string_view monthText);

// The days of the month named by the year and month boxes' texts (as their masks give them:
// four digits, two digits). When they name no month (blanks, a month outside 1..12), all 31
// days without weekdays, as the form and the file always have 31 day cells.
std::vector<GridDay> MonthGridDays(std::string_view yearText, std::string_view monthText);

// A day's title (CP949): the day and, when known, its weekday below it ("1\n토").
std::string GridDayTitle(const GridDay& day);

// Name and registration number, one column per day ("dNN"), then the worked-day count.
std::vector<GridColumn> MonthGridColumns(const std::vector<GridDay>& days);

} // namespace lavodc
