#pragma once
// The next month's sheet from this month's: the crew of a site changes little, so the
// header and the workers who stay are carried over with the month's own figures cleared.

#include "core/sheet.h"

#include <string>

namespace lavodc {

struct NextMonthResult {
    bool periodAdvanced = false;   // false: the year or month was blank or invalid, left as it was
    int carried = 0;               // workers kept
    int leftOut = 0;               // workers with a reason for leaving, not carried over
};

// Year and month advanced by one month (December to January of the next year), written
// back as four and two digits. A year or month that is not a number in range is left
// as it is and false is returned.
bool AdvanceHeaderMonth(SheetHeader& header);

// The whole sheet: header advanced (the period follows it when it advanced), workers with
// a reason for leaving dropped, the others keep name, number, job, address, telephone and
// daily hours while their day marks, days, wages and reason are cleared. By-name order,
// first worker current.
NextMonthResult AdvanceToNextMonth(Sheet& sheet);

// The status bar's text after the command (CP949).
std::string NextMonthStatusText(const SheetHeader& header, const NextMonthResult& result);
// What the user is told when the year or month could not be advanced (CP949).
std::string InvalidPeriodText();

} // namespace lavodc
