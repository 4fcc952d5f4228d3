#include "core/day_marks.h"

#include "core/cp949.h"

namespace lavodc {

namespace {

bool canMark(const WorkerTable& table, int dayIndex)
{
    return table.Active() && !table.IsEmpty() && dayIndex >= 0 && dayIndex < kDayCount;
}

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
    if (!canMark(table, dayIndex))
        return false;
    const bool marked = table.FieldTextAt(kFirstDayField + dayIndex) == kDayMark;
    storeDay(table, dayIndex, marked ? std::string_view() : kDayMark);
    return true;
}

bool SetDayMark(WorkerTable& table, int dayIndex, std::string_view text)
{
    if (!canMark(table, dayIndex))
        return false;
    storeDay(table, dayIndex, cutToWholeCharacters(text, 3));
    return true;
}

std::optional<std::string_view> DayCellAfterTyping(std::string_view typed)
{
    if (typed == "\b")
        return std::string_view();
    if (typed == kDayMark)
        return kDayMark;
    if (typed.size() != 1)
        return std::nullopt;
    switch (typed.front()) {
    case 'o':
    case 'O':
    case 'v':
    case 'V':
    case '1':
    case ' ':
        return kDayMark;
    default:
        return std::nullopt;
    }
}

bool IsStrayDayText(std::string_view cell)
{
    return !cell.empty() && cell != kDayMark;
}

} // namespace lavodc
