#pragma once
// The day strip: the 31 day marks of the current worker in one row. A double-click toggles
// a day and moves the selection to the next one. Keys typed into the selected day go through
// the mark rule: a mark moves on to the next day, Backspace empties the day, anything else is
// refused with a beep. No cell editor is ever open, so the strip never takes the focus by itself.

#include <QPointer>
#include <QTableView>

#include <string>

namespace lavodc {

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
    // Where the focus goes when the strip has it and its last worker goes (the worker list),
    // so that the keys keep working.
    void setFocusWhenEmpty(QWidget* target) { focusWhenEmpty_ = target; }

    // The double-click: toggles the selected day (a beep on an empty table).
    void CuntGridDblClick();

signals:
    // A day was toggled or typed into: the sheet has changed.
    void daysEdited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void typeIntoDay(const std::string& typed);
    void handOnFocusWhenEmpty();

    WorkerTable& table_;
    Prompts& prompts_;
    WorkerTableModel* model_;
    QPointer<QWidget> focusWhenEmpty_;
    int day_ = 0;
};

} // namespace lavodc
