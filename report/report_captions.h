#pragma once
// What the print command and the command-line tool hand to the report besides the table:
// the texts of the page header and footer labels, and the margins after the user's shifts.

#include "core/sheet.h"

#include <string>
#include <string_view>
#include <vector>

namespace lavodc::report {

// Page margins in tenths of a millimetre.
struct ReportMargins {
    int top = 140;
    int bottom = 100;
    int left = 160;
    int right = 100;
};

// The form's own margins moved down by `topShift` and right by `leftShift` (tenths of a
// millimetre). The printed area keeps its size; a bottom or right margin that would turn
// negative is held at zero and the area runs off the paper there.
ReportMargins MarginsFromShifts(int topShift, int leftShift);

struct CaptionText {
    std::string label;
    std::string text;   // CP949
};

// The eleven header and footer label texts, in the order they are set, from the sheet
// header and a report date written yyyy.mm.dd.
std::vector<CaptionText> ReportCaptions(const SheetHeader& header, std::string_view reportDate);

// Today's date as yyyy.mm.dd (local time).
std::string TodayReportDate();

} // namespace lavodc::report
