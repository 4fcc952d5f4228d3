#pragma once
// The main window: title strip, the five bands with the sheet header boxes and the tool
// buttons, the worker list and the status bar. It owns the sheet and hosts the document
// commands; the layout is fixed in pixels.

#include "app/document_controller.h"
#include "app/document_view.h"
#include "core/sheet.h"

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStatusBar;
class QTableView;
class QToolButton;

namespace lavodc {

class HintDisplay;
class MaskedLineEdit;
class TChkEdit;
class TitleStrip;

class Tmainf : public QWidget, public DocumentView {
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
    void showWait(const QString& message) override;
    void setWaitGauge(int position) override;
    void hideWait() override;

    void QuitBtnClick();
    void HinfoClick();
    void DgaBtnClick();

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
    QTableView* CuntGrid = nullptr;
    QTableView* WorkerList = nullptr;

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
    void runCommand(bool (DocumentController::*command)());
    bool handleHeaderKey(QKeyEvent* event);

    Prompts& prompts_;
    QString programFolder_;
    Sheet sheet_;
    DocumentController controller_;
    QWidget* bands_ = nullptr;          // the container of bands 1 to 5
    HintDisplay* hints_ = nullptr;
    bool shownOnce_ = false;
};

} // namespace lavodc
