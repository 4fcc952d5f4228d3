#include "app/main_window.h"

#include "app/app_texts.h"
#include "app/hints.h"
#include "app/sibling_library.h"
#include "app/title_strip.h"
#include "app/window_placement.h"
#include "app/working_copy.h"
#include "core/cp949.h"
#include "editing/chk_edit.h"
#include "editing/masked_line_edit.h"
#include "services/settings.h"
#include "services/wait_window.h"

#include <QCloseEvent>
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

#include <algorithm>

namespace lavodc {

namespace {

constexpr int kBandHeights[] = {28, 30, 80, 26, 39};
const QColor kFormColour(217, 215, 204);

QFrame* makeBand(QWidget* container, int top, int height)
{
    auto* band = new QFrame(container);
    band->setFrameStyle(QFrame::Panel | QFrame::Raised);
    band->setGeometry(0, top, container->width(), height);
    return band;
}

// The telephone box takes digits and "-"; keys that type nothing (Backspace, Enter,
// the arrows) pass. A validator would not do: a telephone read from a file may hold a
// blank, and a validator would then refuse every later edit of the box.
bool IsTelephoneKey(const QKeyEvent& key)
{
    const QString text = key.text();
    if (text.isEmpty() || !text.at(0).isPrint() || (key.modifiers() & Qt::ControlModifier))
        return true;
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'-'; });
}

std::string boxBytes(const QLineEdit* box)
{
    return toCp949(box->text().toStdString());
}

void setBoxBytes(QLineEdit* box, const std::string& cp949)
{
    box->setText(QString::fromStdString(fromCp949(cp949)));
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

    WorkerList = new QTableView(this);
    WorkerList->setObjectName(QStringLiteral("WorkerList"));
    WorkerList->setSelectionBehavior(QAbstractItemView::SelectRows);
    WorkerList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SetHint(WorkerList, QStringLiteral(
        "명단등록 F2 /수정 F3 /삭제 Delete /신규 Alt+N /열기 Alt+O /저장 Alt+S /엑셀변환 Alt+E "));
    column->addWidget(WorkerList, 1);

    buildStatusBar();
    column->addWidget(Msgbar);

    wireCommands();
    FormCreate();
    resize(1016, 665);
}

Tmainf::~Tmainf() = default;

void Tmainf::FormCreate()
{
    hints_ = new HintDisplay(this, MsgPanel1);
    StyleHintWindows();
}

void Tmainf::wireCommands()
{
    connect(HFileOpen, &QToolButton::clicked, this, [this] { runCommand(&DocumentController::HFileOpenClick); });
    connect(NewFile, &QToolButton::clicked, this, [this] { runCommand(&DocumentController::NewFileClick); });
    connect(SaveBtn, &QToolButton::clicked, this, [this] { runCommand(&DocumentController::SaveBtnClick); });
    connect(RnameBtn, &QToolButton::clicked, this, [this] { runCommand(&DocumentController::RnameBtnClick); });
    connect(QuitBtn, &QToolButton::clicked, this, &Tmainf::QuitBtnClick);
    connect(mExit0, &QToolButton::clicked, this, &Tmainf::QuitBtnClick);
    connect(Hinfo, &QToolButton::clicked, this, &Tmainf::HinfoClick);
    connect(DgaBtn, &QToolButton::clicked, this, &Tmainf::DgaBtnClick);

    for (QWidget* box : std::initializer_list<QWidget*>{gsName, gsyear, gmonth, cmpNo, indNo, indName,
                                                        MgrName, MgrJmnNo, cmpAddr, cmpTel, cmpName,
                                                        InDex1, InDex2})
        box->installEventFilter(this);
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

bool Tmainf::handleHeaderKey(QKeyEvent* event)
{
    if (!(event->modifiers() & Qt::AltModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_N: runCommand(&DocumentController::NewFileClick); return true;
    case Qt::Key_O: runCommand(&DocumentController::HFileOpenClick); return true;
    case Qt::Key_S: runCommand(&DocumentController::SaveBtnClick); return true;
    default: return false;
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
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleHeaderKey(key))
            return true;
        if (watched == cmpTel)
            return !IsTelephoneKey(*key);
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
    const WindowPlacement place = ReadPlacement(screenSize.width(), screenSize.height(),
                                                QString::fromLatin1(kIniFileName));
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

void Tmainf::pullHeader(SheetHeader& header)
{
    header.gsName = boxBytes(gsName);
    header.gsyear = gsyear->maskedBytes();
    header.gmonth = gmonth->maskedBytes();
    header.cmpNo = boxBytes(cmpNo);
    header.indNo = boxBytes(indNo);
    header.indName = boxBytes(indName);
    header.MgrName = boxBytes(MgrName);
    header.MgrJmnNo = MgrJmnNo->maskedBytes();
    header.cmpAddr = boxBytes(cmpAddr);
    header.cmpTel = boxBytes(cmpTel);
    header.cmpName = boxBytes(cmpName);
}

void Tmainf::pushHeader(const SheetHeader& header)
{
    setBoxBytes(gsName, header.gsName);
    gsyear->setMaskedBytes(header.gsyear);
    gmonth->setMaskedBytes(header.gmonth);
    setBoxBytes(cmpNo, header.cmpNo);
    setBoxBytes(indNo, header.indNo);
    setBoxBytes(indName, header.indName);
    setBoxBytes(MgrName, header.MgrName);
    MgrJmnNo->setMaskedBytes(header.MgrJmnNo);
    setBoxBytes(cmpAddr, header.cmpAddr);
    setBoxBytes(cmpTel, header.cmpTel);
    setBoxBytes(cmpName, header.cmpName);
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

void Tmainf::showWait(const QString& message)
{
    ShowWait(30, QColor(0, 107, 159), Qt::white, message);
}

void Tmainf::setWaitGauge(int position)
{
    SetWaitGauge(position);
}

void Tmainf::hideWait()
{
    HideWait();
}

} // namespace lavodc
