#include "core/batch_marks.h"

#include "core/cp949.h"
#include "core/day_marks.h"

namespace lavodc {

std::vector<GridColumn> BatchGridColumns(int dayIndex)
{
    const int day = dayIndex + 1;
    const std::string digits{char('0' + day / 10), char('0' + day % 10)};
    return {
        {"d" + digits, digits + K("일"), 27, CellAlignment::Centre},
        {"pName", K("성    명"), 65, CellAlignment::Left},
        {"JmnNo", K("주민등록번호"), 107, CellAlignment::Centre},
        {"nName", K("직        종"), 115, CellAlignment::Left},
        {"nNal", K("일수"), 35, CellAlignment::Left},
    };
}

int DayIndexOfDateText(std::string_view text)
{
    if (text.size() < 10)
        return -1;
    const char tens = text[8];
    const char ones = text[9];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9')
        return -1;
    const int day = (tens - '0') * 10 + (ones - '0');
    return day >= 1 && day <= kDayCount ? day - 1 : -1;
}

void MarkDayForEveryone(WorkerTable& table, int dayIndex)
{
    if (!table.Active() || table.IsEmpty() || dayIndex < 0 || dayIndex >= kDayCount)
        return;
    const WorkerTable::Bookmark mark = table.GetBookmark();
    FreezeScope frozen(table);
    for (table.First(); !table.Eof(); table.Next())
        SetDayMark(table, dayIndex, kDayMark);
    table.GotoBookmark(mark);
    table.FreeBookmark(mark);
}

} // namespace lavodc
