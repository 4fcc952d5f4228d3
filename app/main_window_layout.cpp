// The main window's controls and their places; every position is in pixels.
#include "app/app_texts.h"
#include "app/efile_command.h"
#include "app/hints.h"
#include "app/month_commands.h"
#include "app/main_window.h"
#include "app/title_strip.h"
#include "editing/chk_edit.h"
#include "editing/day_strip.h"
#include "editing/masked_line_edit.h"
#include "services/sd_label.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

namespace lavodc {

namespace {

constexpr int kEditHeight = 21;
const QColor kCaptionColour(0, 0, 64);

const QString& HeaderHint()
{
    static const QString hint = QStringLiteral("명단등록 F2 /신규 Alt+N /열기 Alt+O /저장 Alt+S ");
    return hint;
}

TSdLabel* makeCaption(QWidget* band, const QString& text, QRect place, bool bold = false)
{
    auto* caption = new TSdLabel(text, band);
    // The label draws from its top edge; starting lower lines the text up with the boxes'.
    caption->setGeometry(place.adjusted(0, 4, 0, 0));
    QFont font(QStringLiteral("NanumGothic"), 9);
    font.setBold(bold);
    caption->setFont(font);
    QPalette colours = caption->palette();
    colours.setColor(QPalette::WindowText, kCaptionColour);
    caption->setPalette(colours);
    caption->SetTransparent(true);
    caption->SetShadowColor(Qt::white);
    caption->SetShadowDepth(1);
    caption->SetShadowDirection(sdDnLeft);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return caption;
}

template <typename Edit>
Edit* placeEdit(Edit* edit, const char* name, int x, int y, int width)
{
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(x, y, width, kEditHeight);
    SetHint(edit, HeaderHint());
    return edit;
}

QLineEdit* makeEdit(QWidget* band, const char* name, int x, int y, int width)
{
    return placeEdit(new QLineEdit(band), name, x, y, width);
}

MaskedLineEdit* makeMaskedEdit(QWidget* band, const char* name, std::string_view mask,
                               int x, int y, int width)
{
    auto* edit = new MaskedLineEdit(QString::fromLatin1(mask.data(), qsizetype(mask.size())), band);
    return placeEdit(edit, name, x, y, width);
}

QToolButton* makeButton(QWidget* band, const char* name, QRect place, const QString& hint)
{
    auto* button = new QToolButton(band);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    SetHint(button, hint);
    return button;
}

QToolButton* makeIconButton(QWidget* band, const char* name, QRect place, QStyle::StandardPixmap icon,
                            const QString& hint)
{
    QToolButton* button = makeButton(band, name, place, hint);
    button->setIcon(band->style()->standardIcon(icon));
    return button;
}

QToolButton* makeTextButton(QWidget* band, const char* name, QRect place, const QString& text,
                            const QString& hint)
{
    QToolButton* button = makeButton(band, name, place, hint);
    button->setText(text);
    return button;
}

QLabel* makeValueLabel(QWidget* band, int x, int y, int width)
{
    auto* label = new QLabel(band);
    label->setGeometry(x, y, width, 19);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAutoFillBackground(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, Qt::white);
    label->setPalette(colours);
    return label;
}

} // namespace

void Tmainf::buildBand1(QWidget* band)
{
    makeCaption(band, QStringLiteral("공  사   명"), {6, 3, 90, kEditHeight}, true);
    gsName = makeEdit(band, "gsName", 100, 3, 310);
    gsyear = makeMaskedEdit(band, "gsyear", kYearMask, 420, 3, 38);
    makeCaption(band, QStringLiteral("년"), {461, 3, 16, kEditHeight}, true);
    gmonth = makeMaskedEdit(band, "gmonth", kMonthMask, 478, 3, 24);
    makeCaption(band, QStringLiteral("월 분"), {505, 3, 36, kEditHeight}, true);
    makeCaption(band, QStringLiteral("사업장관리No"), {552, 3, 84, kEditHeight});
    cmpNo = makeEdit(band, "cmpNo", 636, 3, 170);

    // Left edges are set by FormResize; they keep their distance from the right edge.
    const QRect button(0, 2, 25, 24);
    HelpBtn = makeIconButton(band, "HelpBtn", button, QStyle::SP_DialogHelpButton,
                             QStringLiteral("Help|도움말 내용을 보여줍니다."));
    dDTZIP = makeIconButton(band, "dDTZIP", button, QStyle::SP_ArrowDown, QStringLiteral("자료받기"));
    DgaBtn = makeIconButton(band, "DgaBtn", button, QStyle::SP_DriveNetIcon,
                            QStringLiteral("홈페이지|홈페이지로 이동합니다. ") + HomePageAddress());
    Hinfo = makeIconButton(band, "Hinfo", button, QStyle::SP_MessageBoxInformation,
                           QStringLiteral("프로그램 정보|") + ContactLine());
    QuitBtn = makeIconButton(band, "QuitBtn", button, QStyle::SP_DialogCloseButton,
                             QStringLiteral("종료|프로그램을 종료합니다."));
}

void Tmainf::buildBand2(QWidget* band)
{
    HFileOpen = makeIconButton(band, "HFileOpen", {0, 2, 25, 25}, QStyle::SP_DialogOpenButton,
        QStringLiteral("파일열기|기존 저장되어 있는 근로내역서 파일을 불러옵니다. Alt+O키와 동일합니다."));
    NewFile = makeIconButton(band, "NewFile", {25, 2, 25, 25}, QStyle::SP_FileIcon,
        QStringLiteral("새파일|새로운 근로내역서 파일을 준비합니다. Alt+N키와 동일 합니다."));
    SaveBtn = makeIconButton(band, "SaveBtn", {50, 2, 25, 25}, QStyle::SP_DialogSaveButton,
        QStringLiteral("자료저장|현재의 작업내용을 파일로 저장합니다. Alt+S키와 동일 합니다."));
    RnameBtn = makeIconButton(band, "RnameBtn", {75, 2, 25, 25}, QStyle::SP_DriveFDIcon,
        QStringLiteral("딴이름으로저장|현재의 작업 내용을 다른 이름의 파일로 저장합니다. "));

    BtnApp = makeTextButton(band, "BtnApp", {106, 2, 40, 25}, QStringLiteral("추가"),
        QStringLiteral("명단추가|근로내역을 작성할 명단을 추가합니다."));
    BtnEdt = makeTextButton(band, "BtnEdt", {146, 2, 40, 25}, QStringLiteral("변경"),
        QStringLiteral("정보변경|현재 투입된 명단의 개인정보를 변경할 수 있습니다."));
    BtnDel = makeTextButton(band, "BtnDel", {186, 2, 40, 25}, QStringLiteral("삭제"),
        QStringLiteral("자료삭제|현재선택한 자료를 삭제합니다."));
    BtnGonSuAll = makeTextButton(band, "BtnGonSuAll", {226, 2, 40, 25}, QStringLiteral("일괄"),
        QStringLiteral("일괄작업|현재 투입중인 사람들에 한해  동일한 공수를 동시에 처리할 수 있습니다."));
    PrtBtn = makeTextButton(band, "PrtBtn", {266, 2, 40, 25}, QStringLiteral("인쇄"),
        QStringLiteral("근로내역확인신고서를 출력합니다."));
    NextMonthBtn = makeTextButton(band, "NextMonthBtn", {310, 2, 50, 25}, MonthCommands::nextMonthCaption(),
                                  MonthCommands::nextMonthHint());
    ImportBtn = makeTextButton(band, "ImportBtn", {360, 2, 80, 25}, MonthCommands::importCaption(),
                               MonthCommands::importHint());
    MonthGridBtn = makeTextButton(band, "MonthGridBtn", {440, 2, 50, 25}, QStringLiteral("출역표"),
        QStringLiteral("출역표|모든 근로자의 한 달 근로일을 한 표에서 표시합니다. Alt+D키와 동일합니다."));
    EfileBtn = makeTextButton(band, "EfileBtn", {490, 2, 84, 25}, EfileCommand::caption(), EfileCommand::hint());

    FileLabel = new QLabel(band);
    FileLabel->setObjectName(QStringLiteral("FileLabel"));
    FileLabel->setFont(QFont(QStringLiteral("NanumMyeongjo"), 9));
    QPalette navy = FileLabel->palette();
    navy.setColor(QPalette::WindowText, kCaptionColour);
    FileLabel->setPalette(navy);
    FileLabel->move(582, 7);
    FileUnderline = new QFrame(band);
    FileUnderline->setObjectName(QStringLiteral("FileUnderline"));
    FileUnderline->setAutoFillBackground(true);
    QPalette line = FileUnderline->palette();
    line.setColor(QPalette::Window, kCaptionColour);
    FileUnderline->setPalette(line);
    FileUnderline->setGeometry(581, 24, 2, 2);
}

void Tmainf::buildBand3(QWidget* band)
{
    makeCaption(band, QStringLiteral("사무조합No"), {6, 4, 90, kEditHeight});
    indNo = makeEdit(band, "indNo", 100, 4, 170);
    makeCaption(band, QStringLiteral("사업장(사무조합명)"), {282, 4, 112, kEditHeight});
    indName = makeEdit(band, "indName", 396, 4, 410);

    makeCaption(band, QStringLiteral("고용관리책임자"), {6, 29, 90, kEditHeight});
    MgrName = makeEdit(band, "MgrName", 100, 29, 100);
    makeCaption(band, QStringLiteral("주민등록No"), {212, 29, 80, kEditHeight});
    MgrJmnNo = makeMaskedEdit(band, "MgrJmnNo", kMgrJmnNoMask, 294, 29, 112);
    makeCaption(band, QStringLiteral("전화번호"), {420, 29, 60, kEditHeight});
    cmpTel = makeEdit(band, "cmpTel", 482, 29, 130);
    // Typed characters are filtered in the window's key filter; no input method here.
    cmpTel->setAttribute(Qt::WA_InputMethodEnabled, false);

    makeCaption(band, QStringLiteral("소   재   지"), {6, 54, 90, kEditHeight});
    cmpAddr = makeEdit(band, "cmpAddr", 100, 54, 512);
    makeCaption(band, QStringLiteral("사업주대표"), {624, 54, 70, kEditHeight});
    cmpName = makeEdit(band, "cmpName", 696, 54, 110);

    ChkJumin = new TChkEdit(band);
    ChkJumin->setObjectName(QStringLiteral("ChkJumin"));
    ChkJumin->hide();
}

void Tmainf::buildBand4(QWidget* band)
{
    auto caption = [band](const QString& text, int x, int width) {
        auto* label = new QLabel(text, band);
        label->setGeometry(x, 4, width, 19);
        return label;
    };
    caption(QStringLiteral("성 명:"), 6, 40);
    CurName = makeValueLabel(band, 46, 4, 80);
    caption(QStringLiteral("주민번호:"), 136, 58);
    CurJmnNo = makeValueLabel(band, 194, 4, 110);
    caption(QStringLiteral("전 화:"), 314, 40);
    CurTel = makeValueLabel(band, 354, 4, 110);
    caption(QStringLiteral("직종명:"), 474, 48);
    CurJob = makeValueLabel(band, 522, 4, 130);

    caption(QStringLiteral("정렬순:"), 664, 48);
    InDex1 = new QRadioButton(QStringLiteral("성명"), band);
    InDex1->setObjectName(QStringLiteral("InDex1"));
    InDex1->setGeometry(712, 4, 54, 19);
    InDex1->setChecked(true);
    InDex2 = new QRadioButton(QStringLiteral("직종"), band);
    InDex2->setObjectName(QStringLiteral("InDex2"));
    InDex2->setGeometry(766, 4, 54, 19);
    for (QRadioButton* order : {InDex1, InDex2})
        SetHint(order, HeaderHint());

    NavFirst = makeIconButton(band, "NavFirst", {830, 2, 24, 22}, QStyle::SP_MediaSkipBackward, QString());
    NavPrior = makeIconButton(band, "NavPrior", {854, 2, 24, 22}, QStyle::SP_MediaSeekBackward, QString());
    NavNext = makeIconButton(band, "NavNext", {878, 2, 24, 22}, QStyle::SP_MediaSeekForward, QString());
    NavLast = makeIconButton(band, "NavLast", {902, 2, 24, 22}, QStyle::SP_MediaSkipForward, QString());
}

void Tmainf::buildBand5(QWidget* band)
{
    CuntGrid = new DayStrip(sheet_.table, prompts_, band);
    CuntGrid->setObjectName(QStringLiteral("CuntGrid"));
    CuntGrid->setGeometry(0, 0, 31 * 30 + 4, 39);
    CuntGrid->horizontalHeader()->setFixedHeight(18);
    SetHint(CuntGrid, QStringLiteral("근태유무를 처리하는 부분으로 마우스로 더블클릭하면 기본적으로 근태체크 표시가 됩니다."));
}

void Tmainf::buildStatusBar()
{
    Msgbar = new QStatusBar(this);
    Msgbar->setObjectName(QStringLiteral("Msgbar"));
    Msgbar->setSizeGripEnabled(false);
    Msgbar->setFixedHeight(25);
    MsgPanel0 = new QLabel(ApplicationTitle());
    MsgPanel0->setAlignment(Qt::AlignCenter);
    MsgPanel0->setFixedWidth(95);
    MsgPanel0->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    MsgPanel1 = new QLabel(QLatin1Char(' ') + ContactLine() + QStringLiteral("   도움말[F1]"));
    MsgPanel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Msgbar->addWidget(MsgPanel0);
    Msgbar->addWidget(MsgPanel1, 1);
}

} // namespace lavodc
