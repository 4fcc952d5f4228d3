#pragma once
// The day strip: the 31 day marks of the current worker in one row. A double-click toggles
// a day and moves the selection to the next one; a cell can also be typed into (at most the
// 3 bytes of a day mark), and the cell editor is always open on the selected day.

#include <QTableView>

namespace lavodc {

class DayCellDelegate;
class Prompts;
class WorkerTable;
class WorkerTableModel;

class DayStrip : public QTableView {
    Q_OBJECT
public:
    DayStrip(WorkerTable& table, Prompts& prompts, QWidget* parent = nullptr);

    WorkerTableModel* dayModel() const { return model_; }
    int selectedDay() const;            // 0 for the 1st .. 30 for the 31st
    void selectDay(int dayIndex);
    // The key maps also watch the cell editors, so that a key there acts as in the strip.
    void addKeyFilter(QObject* filter);
    // Stores what the user typed into the open cell editor, if anything.
    void commitTypedCell();

    // The double-click: toggles the selected day (a beep on an empty table).
    void CuntGridDblClick();

signals:
    // A day was toggled or a typed cell committed: the sheet has changed.
    void daysEdited();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    friend class DayStripCellDelegate;
    void installKeyFilters(QWidget* editor);
    void reopenEditor();

    WorkerTable& table_;
    Prompts& prompts_;
    WorkerTableModel* model_;
    QList<QObject*> keyFilters_;
    DayCellDelegate* delegate_ = nullptr;
    int day_ = 0;
};

} // namespace lavodc
