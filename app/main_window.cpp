#include "app/main_window.h"

#include "app/app_texts.h"
#include "app/hints.h"
#include "app/efile_command.h"
#include "app/month_commands.h"
#include "app/page_library.h"
#include "app/print_command.h"
#include "app/sibling_library.h"
#include "app/title_strip.h"
#include "app/window_placement.h"
#include "app/working_copy.h"
#include "editing/alt_typing.h"
#include "editing/current_worker_line.h"
#include "editing/day_strip.h"
#include "editing/masked_line_edit.h"
#include "editing/month_grid.h"
#include "editing/month_grid_view.h"
#include "editing/pending_input.h"
#include "editing/worker_commands.h"
#include "editing/worker_list_view.h"
#include "services/desktop_export.h"
#include "services/export_grid.h"
#include "services/settings.h"
#include "services/wait_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>


namespace lavodc {

namespace {

constexpr int kBandHeights[] = {28, 30, 80, 26, 39};
constexpr QSize kDesignedSize(1016, 665);
const QColor kFormColour(217, 215, 204);

QFrame* makeBand(QWidget* container, int top, int height)
{
    auto* band = new QFrame(container);
    band->setFrameStyle(QFrame::Panel | QFrame::Raised);
    band->setGeometry(0, top, container->width(), height);
    return band;
}

} // namespace

Tmainf::Tmainf(Prompts& prompts, QString programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      prompts_(prompts),
      programFolder_(std::move(programFolder)),
      controller_(sheet_, *this, prompts_, programFolder_)
{
    setObjectName(QStringLiteral("mainf"));
    setWindowTitle(ApplicationTitle());
    setFont(QFont(QStringLiteral("NanumGothic"), 9));
    QPalette form = palette();
    form.setColor(QPalette::Window, kFormColour);
    setPalette(form);
    setAutoFillBackground(true);
    SetHint(this, ContactLine());

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    TopTitle = new TitleStrip(QStringLiteral("       근로내역확인신고서 ") + HomePageAddress(), this);
    iconBtn = TopTitle->iconBtn;
    mExit0 = TopTitle->mExit0;
    SetHint(iconBtn, QString::fromLatin1(kIniFileName));
    column->addWidget(TopTitle);

    // The bands keep their pixel places; only their width follows the window.
    int bandsHeight = 0;
    for (int height : kBandHeights)
        bandsHeight += height;
    auto* bands = bands_ = new QWidget(this);
    bands->setObjectName(QStringLiteral("Bands"));
    bands->setFixedHeight(bandsHeight);
    bands->resize(1016, bandsHeight);
    SetHint(bands, ContactLine());
    column->addWidget(bands);
    int top = 0;
    QFrame* band[5];
    for (int i = 0; i < 5; ++i) {
        band[i] = makeBand(bands, top, kBandHeights[i]);
        band[i]->setObjectName(QStringLiteral("Band%1").arg(i + 1));
        top += kBandHeights[i];
    }
    buildBand1(band[0]);
    buildBand2(band[1]);
    buildBand3(band[2]);
    buildBand4(band[3]);
    buildBand5(band[4]);
    bands->installEventFilter(this);   // to widen the bands with the window

    WorkerList = new WorkerListView(sheet_.table, this);
    WorkerList->setObjectName(QStringLiteral("WorkerList"));
    SetHint(WorkerList, QStringLiteral(
        "명단등록 F2 /수정 F3 /삭제 Delete /신규 Alt+N /열기 Alt+O /저장 Alt+S /엑셀변환 Alt+E "));
    column->addWidget(WorkerList, 1);

    buildStatusBar();
    column->addWidget(Msgbar);

    wireCommands();
    FormCreate();
    resize(kDesignedSize);
}

Tmainf::~Tmainf()
{
    // The views follow the table; they go before the sheet that holds it.
    currentLine_.reset();
    delete MonthGridWin;
    delete WorkerList;
    delete CuntGrid;
}

void Tmainf::FormCreate()
{
    hints_ = new HintDisplay(this, MsgPanel1);
    StyleHintWindows();
}

void Tmainf::wireCommands()
{
    connect(HFileOpen, &QToolButton::clicked, this, [this] { openSheet(); });
    connect(NewFile, &QToolButton::clicked, this, [this] { newSheet(); });
    connect(SaveBtn, &QToolButton::clicked, this, [this] { saveSheet(); });
    connect(RnameBtn, &QToolButton::clicked, this, [this] {
        commitPendingEdits();
        runCommand(&DocumentController::RnameBtnClick);
    });
    connect(QuitBtn, &QToolButton::clicked, this, &Tmainf::QuitBtnClick);
    connect(mExit0, &QToolButton::clicked, this, &Tmainf::QuitBtnClick);
    connect(Hinfo, &QToolButton::clicked, this, &Tmainf::HinfoClick);
    connect(DgaBtn, &QToolButton::clicked, this, &Tmainf::DgaBtnClick);

    wireEditing();
}

void Tmainf::wireEditing()
{
    WatchPendingInput();
    KeepAltFromTyping();
    workers_ = std::make_unique<WorkerCommands>(
        sheet_.table, prompts_, this, [this] { return sheet_.period; }, [this] { markModified(); });
    months_ = std::make_unique<MonthCommands>(sheet_, controller_, prompts_);
    efile_ = std::make_unique<EfileCommand>(sheet_.table, controller_, prompts_);
    currentLine_ = std::make_unique<CurrentWorkerLine>(sheet_.table, CurName, CurJmnNo, CurTel, CurJob);

    connect(BtnApp, &QToolButton::clicked, this, [this] { addWorker(); });
    connect(BtnEdt, &QToolButton::clicked, this, [this] { modifyWorker(); });
    connect(BtnDel, &QToolButton::clicked, this, [this] { deleteWorker(); });
    connect(NextMonthBtn, &QToolButton::clicked, this, [this] { nextMonth(); });
    connect(ImportBtn, &QToolButton::clicked, this, [this] { importWorkers(); });
    connect(MonthGridBtn, &QToolButton::clicked, this, [this] { openMonthGrid(); });
    // The month grid shows the days of the month the header names, also while it is typed.
    for (MaskedLineEdit* box : {gsyear, gmonth})
        connect(box, &QLineEdit::textChanged, this, [this] {
            if (MonthGridWin)
                MonthGridWin->showMonth(gsyear->maskedBytes(), gmonth->maskedBytes());
        });
    connect(EfileBtn, &QToolButton::clicked, this, [this] { efileWorkbook(); });
    connect(PrtBtn, &QToolButton::clicked, this, &Tmainf::PrtBtnClick);
    connect(HelpBtn, &QToolButton::clicked, this, &Tmainf::HelpBtnClick);
    connect(dDTZIP, &QToolButton::clicked, this, &Tmainf::dDTZIPClick);
    connect(BtnGonSuAll, &QToolButton::clicked, this, [this] {
        commitPendingEdits();
        runEditing([this] { workers_->BtnGonSuAllClick(gsyear->maskedBytes(), gmonth->maskedBytes()); });
    });
    connect(WorkerList, &WorkerListView::modifyRequested, this, [this] { modifyWorker(); });
    connect(CuntGrid, &DayStrip::daysEdited, this, [this] { markModified(); });
    for (QRadioButton* order : {InDex1, InDex2})
        connect(order, &QRadioButton::clicked, this,
                [this] { runEditing([this] { workers_->InDex1Click(InDex1->isChecked()); }); });
    WorkerTable& table = sheet_.table;
    connect(NavFirst, &QToolButton::clicked, this, [this, &table] { runEditing([&table] { table.First(); }); });
    connect(NavPrior, &QToolButton::clicked, this, [this, &table] { runEditing([&table] { table.Prior(); }); });
    connect(NavNext, &QToolButton::clicked, this, [this, &table] { runEditing([&table] { table.Next(); }); });
    connect(NavLast, &QToolButton::clicked, this, [this, &table] { runEditing([&table] { table.Last(); }); });

    WorkerList->installEventFilter(new GridKeyMap(*this, GridKind::WorkerList, WorkerList));
    CuntGrid->installEventFilter(new GridKeyMap(*this, GridKind::DayStrip, CuntGrid));
    CuntGrid->setFocusWhenEmpty(WorkerList);
    wireHeader();
}

void Tmainf::markModified()
{
    controller_.SetSheetModified(true);
    emit sheetEdited();
}

void Tmainf::runEditing(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        prompts_.ErrorBox(QString::fromStdString(error.what()));
    }
}

void Tmainf::commitPendingEdits()
{
    CommitPendingInput();
}

void Tmainf::help() { HelpBtnClick(); }
void Tmainf::addWorker() { commitPendingEdits(); runEditing([this] { workers_->BtnAppClick(); }); }
void Tmainf::modifyWorker() { commitPendingEdits(); runEditing([this] { workers_->BtnEdtClick(); }); }
void Tmainf::deleteWorker() { commitPendingEdits(); runEditing([this] { workers_->BtnDelClick(); }); }
void Tmainf::newSheet() { commitPendingEdits(); runCommand(&DocumentController::NewFileClick); }
void Tmainf::openSheet() { commitPendingEdits(); runCommand(&DocumentController::HFileOpenClick); }
void Tmainf::saveSheet() { commitPendingEdits(); runCommand(&DocumentController::SaveBtnClick); }
void Tmainf::recountAll() { commitPendingEdits(); runEditing([this] { workers_->RecountAll(); }); }

void Tmainf::nextMonth()
{
    runWithStatus([this] { return months_->NextMonthClick(); });
}

void Tmainf::importWorkers()
{
    runWithStatus([this] { return months_->ImportWorkersClick(); });
}

void Tmainf::openMonthGrid()
{
    commitPendingEdits();
    runEditing([this] {
        if (!MonthGridWin) {
            MonthGridWin = new MonthGrid(sheet_.table, prompts_, this);
            connect(MonthGridWin, &MonthGrid::daysEdited, this, [this] { markModified(); });
            MonthGridWin->Grid->installEventFilter(new HeaderKeyMap(*this, MonthGridWin));
        }
        MonthGridWin->showMonth(gsyear->maskedBytes(), gmonth->maskedBytes());
        MonthGridWin->open(frameGeometry());
    });
}

void Tmainf::efileWorkbook()
{
    runWithStatus([this] { return efile_->EfileBtnClick(this); });
}

void Tmainf::exportGrid(GridKind grid)
{
    runWithStatus([this, grid] {
        DesktopOpener opener;
        SystemClipboard clipboard;
        return ExportGrid(sheet_.table, grid == GridKind::DayStrip ? DayStripColumns() : WorkerListColumns(),
                          WorkFolderTarget(controller_.SheetFileName(), controller_.HeaderInView()), prompts_,
                          opener, clipboard)
            .statusText;
    });
}

void Tmainf::runWithStatus(const std::function<QString()>& command)
{
    commitPendingEdits();
    runEditing([this, &command] {
        const QString status = command();
        if (!status.isEmpty())
            MsgPanel1->setText(status);
    });
}

void Tmainf::PrtBtnClick()
{
    commitPendingEdits();
    runEditing([this] {
        PrintCommand print(sheet_.table, [this] { SheetHeader header; pullHeader(header); return header; },
                           prompts_, printTarget_);
        print.SetStatusSink([this](const QString& text) { MsgPanel1->setText(text); });
        print.PrtBtnClick(this);
    });
}

void Tmainf::HelpBtnClick()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1024, 768);
    ShowPeekPage(prompts_, PageLibraryPath(programFolder_), HelpPagePlace(size), HelpPageAddress(programFolder_));
}

void Tmainf::dDTZIPClick()
{
    ShowPeekPage(prompts_, PageLibraryPath(programFolder_), DownloadPagePlace(frameGeometry()),
                 DownloadPageAddress(programFolder_));
}

void Tmainf::runCommand(bool (DocumentController::*command)())
{
    // The controller reports its own failures; anything that still escapes ends the
    // command here instead of the program.
    try {
        (controller_.*command)();
    } catch (const std::exception& error) {
        hideWait();
        prompts_.ErrorBox(QString::fromStdString(error.what()));
    }
}

bool Tmainf::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == bands_) {
        if (event->type() == QEvent::Resize) {
            for (QObject* child : bands_->children())
                if (auto* band = qobject_cast<QFrame*>(child))
                    band->resize(bands_->width(), band->height());
        }
    } else if (headerEvent(watched, event)) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Tmainf::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void Tmainf::FormShow()
{
    controller_.SetSheetModified(false);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
    const QString iniName = QString::fromLatin1(kIniFileName);
    WindowPlacement place = ReadPlacement(screenSize.width(), screenSize.height(), iniName);
    // A placement kept from another screen, or typed by hand, must not lose the window.
    if (PlacedBySettings(iniName)) {
        std::vector<QRect> areas;
        if (screen)
            areas.push_back(screen->availableGeometry());
        for (const QScreen* other : QGuiApplication::screens())
            if (other != screen)
                areas.push_back(other->availableGeometry());
        place = FitOnScreen(place, areas, kDesignedSize);
    }
    // The window keeps this size for the whole run.
    setFixedSize(qMax(1, place.width), qMax(1, place.height));
    move(place.left, place.top);

    PrepareWorkingCopy(programFolder_);
    runCommand(&DocumentController::NewFileClick);
}

void Tmainf::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void Tmainf::FormResize()
{
    const RightAnchors anchors = RightAnchorsFor(width());
    TopTitle->placeCloseButton(anchors.closeButton);
    QuitBtn->move(anchors.quitButton, QuitBtn->y());
    Hinfo->move(anchors.aboutButton, Hinfo->y());
    DgaBtn->move(anchors.homePageButton, DgaBtn->y());
    dDTZIP->move(anchors.downloadButton, dDTZIP->y());
    HelpBtn->move(anchors.helpButton, HelpBtn->y());
}

void Tmainf::QuitBtnClick()
{
    if (prompts_.ConfirmBox(QStringLiteral("프로그램을 종료하겠습니까 ??")))
        close();
}

void Tmainf::closeEvent(QCloseEvent* event)
{
    // Unlike the old program, unsaved work is not thrown away without a question.
    commitPendingEdits();
    if (!controller_.MayClose()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void Tmainf::FormClose()
{
    if (sheet_.table.Active())
        sheet_.table.Close();
}

void Tmainf::HinfoClick()
{
    ShowAboutBox(prompts_, AboutLibraryPath(programFolder_));
}

void Tmainf::DgaBtnClick()
{
    QDesktopServices::openUrl(QUrl(HomePageAddress()));
}

void Tmainf::comeForward()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void Tmainf::setFileLabel(const QString& text)
{
    FileLabel->setText(text);
    FileLabel->adjustSize();
    FileUnderline->setGeometry(FileLabel->x() - 1, FileLabel->y() + FileLabel->height() + 1,
                               FileLabel->width() + 2, 2);
}

void Tmainf::showByNameOrder()
{
    InDex1->setChecked(true);
}

void Tmainf::focusSiteName()
{
    gsName->setFocus();
}

void Tmainf::focusWorkerList()
{
    WorkerList->setFocus();
}

void Tmainf::showWait(const QString& message, bool cancellable)
{
    ShowWait(30, QColor(0, 107, 159), Qt::white, message, cancellable);
}

void Tmainf::setWaitGauge(int position)
{
    SetWaitGauge(position);
}

bool Tmainf::waitCancelRequested()
{
    return WaitCancelRequested();
}

void Tmainf::hideWait()
{
    HideWait();
}

} // namespace lavodc
