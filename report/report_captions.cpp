#include "report/report_captions.h"

#include "core/cp949.h"
#include "core/quorva_lib.h"

#include <algorithm>

namespace lavodc::report {
namespace {

constexpr int kDefaultTop = 140;
constexpr int kDefaultBottom = 100;
constexpr int kDefaultLeft = 160;
constexpr int kDefaultRight = 100;
constexpr int kPhoneWidth = 14;

// Characters `from`..`from + count - 1` (1-based) of the date box; a short text reads as blanks.
std::string dateChars(std::string_view date, std::size_t from, std::size_t count)
{
    std::string part(count, ' ');
    for (std::size_t i = 0; i < count && from - 1 + i < date.size(); ++i)
        part[i] = date[from - 1 + i];
    return part;
}

} // namespace

ReportMargins MarginsFromShifts(int topShift, int leftShift)
{
    ReportMargins margins;
    margins.top = kDefaultTop + topShift;
    margins.bottom = std::max(0, kDefaultBottom - topShift);
    margins.left = kDefaultLeft + leftShift;
    margins.right = std::max(0, kDefaultRight - leftShift);
    return margins;
}

std::vector<CaptionText> ReportCaptions(const SheetHeader& header, std::string_view reportDate)
{
    static const std::string titleOpen = K("근로내역확인신고서 ( ");
    static const std::string yearWord = K(" 년 ");
    static const std::string monthWord = K(" 월분 )");
    static const std::string phoneOpen = K("( 전화번호 :  ");
    static const std::string declarantOpen = K("신고인(사업주·대표자):   ");
    static const std::string signHere = K("   (서명 또는 인)");
    static const std::string dateYear = K(" 년     ");
    static const std::string dateMonth = K(" 월     ");
    static const std::string dateDay = K(" 일");

    return {
        {"HRTitl", titleOpen + header.gsyear + yearWord + header.gmonth + monthWord},
        {"cmpNo", header.cmpNo},
        {"indNo", header.indNo},
        {"indName", header.indName},
        {"gsName", header.gsName},
        {"MgrName", header.MgrName},
        {"MgrJmnNo", header.MgrJmnNo},
        {"cmpAddr", header.cmpAddr},
        {"cmpTel", phoneOpen + PadRight(' ', header.cmpTel, kPhoneWidth) + "  )"},
        {"cmpName", declarantOpen + header.cmpName + signHere},
        {"prtday", dateChars(reportDate, 1, 4) + dateYear + dateChars(reportDate, 6, 2) + dateMonth +
                       dateChars(reportDate, 9, 2) + dateDay},
    };
}

std::string TodayReportDate()
{
    return TodayText();
}

} // namespace lavodc::report
