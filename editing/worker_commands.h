#pragma once
// The editing commands on the worker table: add and modify through the entry dialog,
// delete with its question, the sort choice, recounting every worker and the batch page.

#include <QRect>
#include <functional>
#include <string>

class QWidget;

namespace lavodc {

class Prompts;
class TInPutf;
class WorkerTable;

class WorkerCommands {
public:
    // `owner` is the main window (the dialog is placed over it); `period` gives SheetPeriod
    // when a command starts; `markModified` sets SheetModified.
    WorkerCommands(WorkerTable& table, Prompts& prompts, QWidget* owner,
                   std::function<std::string()> period, std::function<void()> markModified);

    void BtnAppClick();
    void BtnEdtClick();
    void BtnDelClick();
    void InDex1Click(bool byName);
    void RecountAll();
    // The batch page; `year` and `month` are the header boxes' texts as their masks give them.
    void BtnGonSuAllClick(const std::string& year, const std::string& month);

    // Shows the dialog modally; tests replace it to work the dialog without a modal loop.
    std::function<int(TInPutf& dialog)> runDialog;

    // Where the entry dialog goes over a main window at `owner`: top, left, height, width.
    static QRect EntryDialogPlace(const QRect& owner);
    static QRect BatchDialogPlace(const QRect& owner);

private:
    void openEntry(bool modify);

    WorkerTable& table_;
    Prompts& prompts_;
    QWidget* owner_;
    std::function<std::string()> period_;
    std::function<void()> markModified_;
};

} // namespace lavodc
