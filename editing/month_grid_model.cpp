#include "editing/month_grid_model.h"

#include "core/worker_fields.h"

namespace lavodc {

QColor SaturdayColour()
{
    return QColor(0, 0, 255);
}

QColor SundayColour()
{
    return QColor(220, 0, 0);
}

MonthGridModel::MonthGridModel(WorkerTable& table, QObject* parent)
    : WorkerTableModel(table, {}, Rows::All, parent)
{
    showMonth({}, {});
}

void MonthGridModel::showMonth(std::string_view yearText, std::string_view monthText)
{
    std::vector<GridDay> days = MonthGridDays(yearText, monthText);
    const bool same = days.size() == days_.size()
                      && std::equal(days.begin(), days.end(), days_.begin(), [](const GridDay& a, const GridDay& b) {
                             return a.dayIndex == b.dayIndex && a.weekday == b.weekday;
                         });
    if (same && columnCount() > 0)
        return;
    days_ = std::move(days);
    setColumns(MonthGridColumns(days_));
}

int MonthGridModel::dayOfColumn(int column) const
{
    const int day = fieldPosition(column) - kFirstDayField;
    return day >= 0 && day < kDayCount ? day : -1;
}

int MonthGridModel::columnOfDay(int dayIndex) const
{
    return dayIndex >= 0 && dayIndex < int(days_.size()) ? kFirstDayColumn + dayIndex : -1;
}

QVariant MonthGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::ForegroundRole) {
        const int day = dayOfColumn(section);
        if (day < 0 || day >= int(days_.size()))
            return {};
        const int weekday = days_[std::size_t(day)].weekday;
        if (weekday == kSaturday)
            return SaturdayColour();
        if (weekday == kSunday)
            return SundayColour();
        return {};
    }
    return WorkerTableModel::headerData(section, orientation, role);
}

} // namespace lavodc
