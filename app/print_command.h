#pragma once
// The print command: the counting run over the table, the print page in its dialog, and
// the pages sent to a printer, shown in the preview or saved as a PDF — all through the
// one report form, with the table's views frozen and its current row kept around each run.

#include "core/sheet.h"
#include "editing/print_page.h"
#include "report/print_target.h"
#include "report/ptq_lvodoc.h"
#include "services/prompts.h"

#include <QDialog>
#include <QRect>

#include <functional>
#include <memory>

namespace lavodc {

class PrintCommand {
public:
    using HeaderSource = std::function<SheetHeader()>;   // the header boxes' texts
    using DialogRunner = std::function<void(QDialog&)>;  // exec() unless a test looks instead
    using StatusSink = std::function<void(const QString&)>;   // the main window's status bar

    PrintCommand(WorkerTable& table, HeaderSource header, Prompts& prompts, report::PrintTarget& target);
    ~PrintCommand();

    // PrtBtnClick: nothing for an empty table; else the counting run, then the print page
    // in its dialog over `mainWindow`, shown modally until it is closed.
    void PrtBtnClick(QWidget* mainWindow);

    // The steps of PrtBtnClick, for the window and for tests.
    bool Prepare();   // the counting run; false for an empty table
    int PageCount() const;
    // The input dialog showing the print page, placed over the main window's frame and opened.
    std::unique_ptr<QDialog> CreateDialog(const QRect& mainWindow, QWidget* parent);
    PrintPage* Page() const { return page_; }

    // What the page's buttons do; each returns whether its pages went out.
    bool Print(const PrintChoice& choice, QWidget* parent = nullptr);
    bool Preview(const PrintChoice& choice, QWidget* parent = nullptr);
    bool SavePdf(const PrintChoice& choice, QWidget* parent = nullptr);

    // One page as the printer gets it, drawn at `dpi`.
    QImage RenderPage(const PrintChoice& choice, int pageNumber, double dpi);

    void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    // Told, once a job is handed to the queue, which printer took which pages: the dialog stays
    // open and shows nothing of it.
    void SetStatusSink(StatusSink sink) { status_ = std::move(sink); }
    // "Office 프린터로 2쪽을 보냈습니다 (2~3쪽)."
    static QString SentStatusText(const QString& printer, int pagesSent, int firstPage, int lastPage);
    // Where the dialog goes: centred over the main window, 260 x 222 with its caption.
    static QRect DialogPlace(const QRect& mainWindow);

private:
    // Runs `work` with the views frozen and the table on its first row, then puts the row back.
    void walkFromFirst(const std::function<void()>& work);
    void configure(const PrintChoice& choice);

    WorkerTable& table_;
    HeaderSource header_;
    Prompts& prompts_;
    report::PrintTarget& target_;
    std::unique_ptr<report::TPtqLvodocf> form_;
    PrintPage* page_ = nullptr;
    DialogRunner runDialog_;
    StatusSink status_;
};

} // namespace lavodc
