#pragma once
// The batch page of the input dialog: pick one date, then mark that day worked for every
// worker at once ("일괄처리"), or toggle single workers in the batch grid, which shows
// that day's mark beside each worker of the same table.

#include <QDate>
#include <QWidget>
#include <functional>
#include <string_view>

class QLabel;
class QPushButton;
class QToolButton;

namespace lavodc {

class BatchGrid;
class CalendarDateBox;
class Prompts;
class TInPutf;
class WorkerTable;

// The date the page opens on and the calendar's range, from the header's year and month
// texts. A valid month limits the calendar to that month, on today's day or the month's
// last day when today's day is past it; otherwise the date is today and any date may be
// chosen (`first` and `last` are null).
struct BatchDateChoice {
    QDate date;
    QDate first;
    QDate last;
};
BatchDateChoice ChooseBatchDate(std::string_view yearText, std::string_view monthText, const QDate& today);

class BatchPage : public QWidget {
    Q_OBJECT
public:
    // `markModified` sets SheetModified.
    BatchPage(TInPutf& frame, WorkerTable& table, Prompts& prompts, std::function<void()> markModified);

    QLabel* DayCaption = nullptr;
    CalendarDateBox* CmbDay = nullptr;
    QPushButton* AllDtBtn = nullptr;
    QToolButton* mExit1 = nullptr;
    BatchGrid* DayGrid = nullptr;

    // The page is shown: the date box gets the header's year and month (texts as the masks
    // give them) and today's day.
    void prepare(std::string_view yearText, std::string_view monthText, const QDate& today);

    // The date box's text changed: the day column follows its day.
    void CmbDayChange();
    // "일괄처리": the chosen day is marked for every worker.
    void AllDtBtnClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();

    TInPutf& frame_;
    WorkerTable& table_;
    std::function<void()> markModified_;
};

} // namespace lavodc
