#include "core/day_marks.h"

#include "core/cp949.h"

namespace lavodc {

namespace {

void storeDay(WorkerTable& table, int dayIndex, std::string_view value)
{
    table.Edit();
    table.SetFieldTextAt(kFirstDayField + dayIndex, value);
    table.Post();
    table.RecountDays();
}

} // namespace

bool ToggleDayMark(WorkerTable& table, int dayIndex)
{
    if (!table.Active() || table.IsEmpty() || dayIndex < 0 || dayIndex >= kDayCount)
        return false;
    const bool marked = table.FieldTextAt(kFirstDayField + dayIndex) == kDayMark;
    storeDay(table, dayIndex, marked ? std::string_view() : kDayMark);
    return true;
}

bool SetDayMark(WorkerTable& table, int dayIndex, std::string_view text)
{
    if (!table.Active() || table.IsEmpty() || dayIndex < 0 || dayIndex >= kDayCount)
        return false;
    storeDay(table, dayIndex, CutAtWholeCharacter(text, 3));
    return true;
}

std::string CutAtWholeCharacter(std::string_view cp949, std::size_t maxBytes)
{
    return std::string(WithoutDanglingHalf(cp949.substr(0, maxBytes)));
}

} // namespace lavodc
