#pragma once
// One sheet: the eleven header values, the period "yyyy.mm" and the worker table.

#include "worker_table.h"

#include <string>
#include <string_view>

namespace lavodc {

// Header values as the header boxes give them (CP949). The masked ones keep their
// literals and read unfilled positions as blanks: an empty year is four blanks.
struct SheetHeader {
    std::string gsName;
    std::string gsyear;
    std::string gmonth;
    std::string cmpNo;
    std::string indNo;
    std::string indName;
    std::string MgrName;
    std::string MgrJmnNo;
    std::string cmpAddr;
    std::string cmpTel;     // edit form, e.g. 042-123-4567
    std::string cmpName;
};

inline constexpr std::string_view kYearMask = "####;1;_";
inline constexpr std::string_view kMonthMask = "##;1;_";
inline constexpr std::string_view kMgrJmnNoMask = "######-#######;1;_";

// Today's date (local time) in the program's one date format, "yyyy.mm.dd".
std::string TodayText();
// "yyyy.mm" of today's date.
std::string CurrentPeriod();
// The year box, ".", the month box.
std::string PeriodFromHeader(const SheetHeader& header);
// New and Open: every value empty, year and month from the period.
void ResetHeader(SheetHeader& header, std::string_view period);
// The year, month and manager's number as their masked boxes would give them back.
void NormalizeMaskedValues(SheetHeader& header);

struct Sheet {
    SheetHeader header;
    std::string period;   // SheetPeriod
    WorkerTable table;
};

} // namespace lavodc
