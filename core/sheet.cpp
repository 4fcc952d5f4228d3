#include "core/sheet.h"

#include "core/edit_mask.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace lavodc {

std::string TodayText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[40];
    std::snprintf(text, sizeof text, "%04d.%02d.%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return text;
}

std::string CurrentPeriod()
{
    return TodayText().substr(0, 7);
}

std::string PeriodFromHeader(const SheetHeader& header)
{
    return header.gsyear + "." + header.gmonth;
}

void ResetHeader(SheetHeader& header, std::string_view period)
{
    header = SheetHeader{};
    header.gsyear = std::string(period.substr(0, 4));
    header.gmonth = std::string(period.substr(std::min<std::size_t>(5, period.size()), 2));
}

void NormalizeMaskedValues(SheetHeader& header)
{
    static const EditMask year(kYearMask);
    static const EditMask month(kMonthMask);
    static const EditMask managerNumber(kMgrJmnNoMask);
    header.gsyear = year.normalize(header.gsyear);
    header.gmonth = month.normalize(header.gmonth);
    header.MgrJmnNo = managerNumber.normalize(header.MgrJmnNo);
}

} // namespace lavodc
