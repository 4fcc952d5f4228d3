#include "core/grid_columns.h"

#include "core/cp949.h"

#include <cstdio>

namespace lavodc {

const std::vector<GridColumn>& WorkerListColumns()
{
    static const std::vector<GridColumn> columns = {
        {"pName", K("성    명"), 60, CellAlignment::Left},
        {"JmnNo", K("주민등록번호"), 98, CellAlignment::Centre},
        {"nAddr", K("주                    소    "), 310, CellAlignment::Left},
        {"nTel", K("전화번호"), 95, CellAlignment::Left},
        {"nName", K("직        종"), 115, CellAlignment::Left},
        {"nNal", K("일수"), 35, CellAlignment::Left},
        {"nDay", K("평균시간"), 55, CellAlignment::Left},
        {"SmMny", K("임금총액"), 65, CellAlignment::Left},
        {"nEtc", K("이 직 사 유"), 170, CellAlignment::Left},
    };
    return columns;
}

const std::vector<GridColumn>& DayStripColumns()
{
    static const std::vector<GridColumn> columns = [] {
        std::vector<GridColumn> list;
        for (int day = 1; day <= 31; ++day) {
            char field[4];
            std::snprintf(field, sizeof field, "d%02d", day);
            list.push_back({field, std::to_string(day), 30, CellAlignment::Left});
        }
        return list;
    }();
    return columns;
}

} // namespace lavodc
