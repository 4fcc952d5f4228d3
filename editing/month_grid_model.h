#pragma once
// The month grid's model: every worker of the table with name and registration number, one
// column for each day of the sheet's month and the worked-day count. Day titles carry the
// weekday, Saturdays in blue and Sundays in red; stray text keeps its pale red ground.

#include "core/month_calendar.h"
#include "editing/worker_table_model.h"

#include <string_view>
#include <vector>

namespace lavodc {

class MonthGridModel : public WorkerTableModel {
    Q_OBJECT
public:
    static constexpr int kNameColumn = 0;
    static constexpr int kNumberColumn = 1;
    static constexpr int kFirstDayColumn = 2;

    explicit MonthGridModel(WorkerTable& table, QObject* parent = nullptr);

    // The days of the month the year and month boxes name (texts as the masks give them).
    void showMonth(std::string_view yearText, std::string_view monthText);
    const std::vector<GridDay>& days() const { return days_; }

    int lastDayColumn() const { return kFirstDayColumn + int(days_.size()) - 1; }
    int countColumn() const { return lastDayColumn() + 1; }
    // The day a column shows (0 for the 1st), -1 for the other columns.
    int dayOfColumn(int column) const;
    int columnOfDay(int dayIndex) const;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<GridDay> days_;
};

// The colours of a Saturday's and a Sunday's title.
QColor SaturdayColour();
QColor SundayColour();

} // namespace lavodc
