#pragma once
// The main window: title strip, the five bands with the sheet header boxes and the tool
// buttons, the worker list and the status bar. It owns the sheet and hosts the document
// commands; the layout is fixed in pixels.

#include "app/document_controller.h"
#include "app/document_view.h"
#include "core/sheet.h"
#include "editing/key_maps.h"
#include "report/cups_print_target.h"

#include <QWidget>
#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStatusBar;
class QTableView;
class QToolButton;

namespace lavodc {

class CurrentWorkerLine;
class DayStrip;
class HintDisplay;
class EfileCommand;
class MonthCommands;
class MonthGrid;
class MaskedLineEdit;
class TChkEdit;
class TitleStrip;
class WorkerCommands;
class WorkerListView;

class Tmainf : public QWidget, public DocumentView, public EditingCommands {
    Q_OBJECT
public:
    // `programFolder` ends in "/" and holds lavocfg.ini, TmLdoc.str and Temp/.
    Tmainf(Prompts& prompts, QString programFolder, QWidget* parent = nullptr);
    ~Tmainf() override;

    DocumentController& controller() { return controller_; }
    Sheet& sheet() { return sheet_; }

    // A later copy of the program asked this one to come forward.
    void comeForward();

    // DocumentView
    void pullHeader(SheetHeader& header) override;
    void pushHeader(const SheetHeader& header) override;
    void setFileLabel(const QString& text) override;
    void showByNameOrder() override;
    void focusSiteName() override;
    void focusWorkerList() override;
    void showWait(const QString& message, bool cancellable) override;
    void setWaitGauge(int position) override;
    bool waitCancelRequested() override;
    void hideWait() override;

    void QuitBtnClick();
    void HinfoClick();
    void DgaBtnClick();
    void HelpBtnClick();
    void PrtBtnClick();
    void dDTZIPClick();
    void gsyearExit();
    // False when the user refused a number that failed the check.
    bool MgrJmnNoExit();

    WorkerCommands& workerCommands() { return *workers_; }

signals:
    // Every edit of the sheet, also those after which the modified flag stays as it was.
    void sheetEdited();

public:

    // EditingCommands
    void help() override;
    void addWorker() override;
    void modifyWorker() override;
    void deleteWorker() override;
    void newSheet() override;
    void openSheet() override;
    void saveSheet() override;
    void exportGrid(GridKind grid) override;
    void recountAll() override;
    void nextMonth() override;
    void importWorkers() override;
    void openMonthGrid() override;
    // "전자신고 파일": the e-filing workbook through its dialog.
    void efileWorkbook();

    // Title strip
    TitleStrip* TopTitle = nullptr;
    QToolButton* iconBtn = nullptr;
    QToolButton* mExit0 = nullptr;

    // Band 1
    QLineEdit* gsName = nullptr;
    MaskedLineEdit* gsyear = nullptr;
    MaskedLineEdit* gmonth = nullptr;
    QLineEdit* cmpNo = nullptr;
    QToolButton* HelpBtn = nullptr;
    QToolButton* dDTZIP = nullptr;
    QToolButton* DgaBtn = nullptr;
    QToolButton* Hinfo = nullptr;
    QToolButton* QuitBtn = nullptr;

    // Band 2
    QToolButton* HFileOpen = nullptr;
    QToolButton* NewFile = nullptr;
    QToolButton* SaveBtn = nullptr;
    QToolButton* RnameBtn = nullptr;
    QToolButton* BtnApp = nullptr;
    QToolButton* BtnEdt = nullptr;
    QToolButton* BtnDel = nullptr;
    QToolButton* BtnGonSuAll = nullptr;
    QToolButton* PrtBtn = nullptr;
    QToolButton* NextMonthBtn = nullptr;
    QToolButton* ImportBtn = nullptr;
    QToolButton* MonthGridBtn = nullptr;
    QToolButton* EfileBtn = nullptr;
    QLabel* FileLabel = nullptr;
    QFrame* FileUnderline = nullptr;

    // Band 3
    QLineEdit* indNo = nullptr;
    QLineEdit* indName = nullptr;
    QLineEdit* MgrName = nullptr;
    MaskedLineEdit* MgrJmnNo = nullptr;
    QLineEdit* cmpAddr = nullptr;
    QLineEdit* cmpTel = nullptr;
    QLineEdit* cmpName = nullptr;
    TChkEdit* ChkJumin = nullptr;

    // Band 4: the current worker, the sort order and the navigator
    QLabel* CurName = nullptr;
    QLabel* CurJmnNo = nullptr;
    QLabel* CurTel = nullptr;
    QLabel* CurJob = nullptr;
    QRadioButton* InDex1 = nullptr;
    QRadioButton* InDex2 = nullptr;
    QToolButton* NavFirst = nullptr;
    QToolButton* NavPrior = nullptr;
    QToolButton* NavNext = nullptr;
    QToolButton* NavLast = nullptr;

    // Band 5 and the list
    DayStrip* CuntGrid = nullptr;
    WorkerListView* WorkerList = nullptr;

    // The month grid's window, made when it is first opened.
    MonthGrid* MonthGridWin = nullptr;

    // Status bar
    QStatusBar* Msgbar = nullptr;
    QLabel* MsgPanel0 = nullptr;
    QLabel* MsgPanel1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormClose();

    void buildBand1(QWidget* band);
    void buildBand2(QWidget* band);
    void buildBand3(QWidget* band);
    void buildBand4(QWidget* band);
    void buildBand5(QWidget* band);
    void buildStatusBar();
    void wireCommands();
    void wireEditing();
    void runCommand(bool (DocumentController::*command)());
    // Runs an editing command; an error it does not handle ends it in the error box.
    void runEditing(const std::function<void()>& command);
    // Runs a command that tells status panel 1 what it did (nothing when it says nothing).
    void runWithStatus(const std::function<QString()>& command);
    void markModified();
    // The header boxes (main_window_header.cpp).
    void wireHeader();
    // A key or focus event of a header box; true when it was handled.
    bool headerEvent(QObject* watched, QEvent* event);
    bool handleHeaderEnter(QObject* box);
    // The site telephone shown split into its groups once the clerk leaves it.
    void showSplitTelephone();
    // What is typed but not stored yet (a composed syllable) is stored first.
    void commitPendingEdits();

    Prompts& prompts_;
    QString programFolder_;
    Sheet sheet_;
    DocumentController controller_;
    QWidget* bands_ = nullptr;          // the container of bands 1 to 5
    HintDisplay* hints_ = nullptr;
    std::unique_ptr<WorkerCommands> workers_;
    std::unique_ptr<MonthCommands> months_;
    std::unique_ptr<EfileCommand> efile_;
    report::CupsPrintTarget printTarget_;   // the printer chosen stays current for the run
    std::unique_ptr<CurrentWorkerLine> currentLine_;
    bool shownOnce_ = false;
    bool checkingNumber_ = false;
};

} // namespace lavodc
