#pragma once
// The month grid ("출역표"): a window of its own beside the main window, over the same worker
// table, that shows every worker against every day of the sheet's month. A click toggles a
// day; Space marks the selection when any of its cells lacks the mark and clears it otherwise;
// Delete clears it. Each change is one step that Ctrl+Z undoes and Ctrl+Y redoes, back to when
// the window was opened; each recounts the workers it touched and is announced by daysEdited().
// Escape closes the window; it stays one window for the whole run.

#include "core/grid_marks.h"

#include <QWidget>

#include <string_view>

class QLabel;

namespace lavodc {

class MonthGridModel;
class MonthGridView;
class Prompts;
class WorkerTable;

class MonthGrid : public QWidget {
    Q_OBJECT
public:
    MonthGrid(WorkerTable& table, Prompts& prompts, QWidget* owner);

    MonthGridView* Grid = nullptr;
    QLabel* HintLine = nullptr;

    MonthGridModel* gridModel() const { return model_; }

    // The days of the month the header's year and month boxes name.
    void showMonth(std::string_view yearText, std::string_view monthText);
    // Shows the window (placed over `ownerFrame` the first time) or brings it forward.
    void open(const QRect& ownerFrame);

    // What the mouse and the keys start.
    void toggleDay(int row, int dayIndex);
    void fillSelection();
    void clearSelection();
    void undo();
    void redo();
    const DayEditHistory& history() const { return history_; }

signals:
    // Day marks changed: the sheet has changed.
    void daysEdited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fill(const DaySelection& cells, DayFill fill);
    void replay(bool undo);
    // Runs a change; a table error ends it in the error box.
    void run(const std::function<void()>& change);

    WorkerTable& table_;
    Prompts& prompts_;
    MonthGridModel* model_;
    DayEditHistory history_;
    bool placed_ = false;
};

} // namespace lavodc
