#include "editing/print_page.h"

#include "core/cp949.h"
#include "core/quorva_lib.h"
#include "editing/masked_line_edit.h"
#include "services/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>

#include <algorithm>

namespace lavodc {
namespace {

const QString kMarginSection = QStringLiteral("여백");
const QString kTopKey = QStringLiteral("fpTop");
const QString kLeftKey = QStringLiteral("fpLft");
constexpr int kShiftLength = 3;

QString iniName()
{
    return QString::fromLatin1(kIniFileName);
}

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

QLineEdit* makeNumberBox(QWidget* parent, const char* name, const QRect& place, int maxLength)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QRect& place)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

} // namespace

PrintPage::PrintPage(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts)
{
    setObjectName(QStringLiteral("PrintPage"));
    resize(kWidth, kHeight);
    build();
}

void PrintPage::build()
{
    makeLabel(this, QStringLiteral("Print"), {10, 12, 40, 20});
    PrtComb = new QComboBox(this);
    PrtComb->setObjectName(QStringLiteral("PrtComb"));
    PrtComb->setGeometry(52, 10, 198, 24);
    PrtComb->setEditable(true);
    PrtComb->setInsertPolicy(QComboBox::NoInsert);

    const auto* shiftText = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,3}")), this);
    makeLabel(this, QStringLiteral("위쪽여백"), {10, 44, 56, 20});
    TopEdit2 = makeNumberBox(this, "TopEdit2", {68, 42, 50, 24}, kShiftLength);
    TopEdit2->setValidator(shiftText);
    makeLabel(this, QStringLiteral("좌측여백"), {136, 44, 56, 20});
    LftEdit2 = makeNumberBox(this, "LftEdit2", {194, 42, 56, 24}, kShiftLength);
    LftEdit2->setValidator(shiftText);

    makeLabel(this, QStringLiteral("근로내역확인신고일자"), {10, 76, 124, 20});
    prtday = new MaskedLineEdit(QStringLiteral("####.##.##;1;_"), this);
    prtday->setObjectName(QStringLiteral("prtday"));
    prtday->setGeometry(138, 74, 112, 24);
    prtday->setToolTip(QStringLiteral("검색 시작날짜를 입력합니다."));
    prtday->installEventFilter(this);

    pCheck = new QCheckBox(QStringLiteral("전체"), this);
    pCheck->setObjectName(QStringLiteral("pCheck"));
    pCheck->setGeometry(10, 108, 56, 24);
    auto* range = new QFrame(this);
    range->setFrameShape(QFrame::StyledPanel);
    range->setGeometry(68, 106, 182, 28);
    const QString caption = QStringLiteral("   인쇄범위:           ~  ");
    auto* rangeCaption = makeLabel(range, caption, {0, 4, 182, 20});
    rangeCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The boxes sit in the caption's gaps, on either side of its "~".
    const QFontMetrics metrics(rangeCaption->font());
    const int tilde = static_cast<int>(caption.indexOf(QLatin1Char('~')));
    const int firstLeft = metrics.horizontalAdvance(caption.left(caption.indexOf(QLatin1Char(':')) + 1)) + 4;
    const int tildeLeft = metrics.horizontalAdvance(caption.left(tilde));
    const int lastLeft = tildeLeft + metrics.horizontalAdvance(QLatin1Char('~')) + 3;
    FCntEdt2 = makeNumberBox(range, "FCntEdt2", {firstLeft, 2, std::max(24, tildeLeft - 3 - firstLeft), 24}, 0);
    LCntEdt2 = makeNumberBox(range, "LCntEdt2", {lastLeft, 2, std::max(24, 178 - lastLeft), 24}, 0);

    mOk2 = makeButton(this, "mOk2", QStringLiteral("확인"), {10, 142, 56, 28});
    mPrv2 = makeButton(this, "mPrv2", QStringLiteral("미리보기"), {70, 142, 58, 28});
    mPdf2 = makeButton(this, "mPdf2", QStringLiteral("PDF 저장"), {132, 142, 58, 28});
    mVde2 = makeButton(this, "mVde2", QStringLiteral("취소"), {194, 142, 56, 28});

    setTabOrder(PrtComb, TopEdit2);
    setTabOrder(TopEdit2, LftEdit2);
    setTabOrder(LftEdit2, prtday);
    setTabOrder(prtday, pCheck);
    setTabOrder(pCheck, FCntEdt2);
    setTabOrder(FCntEdt2, LCntEdt2);
    setTabOrder(LCntEdt2, mOk2);

    connect(pCheck, &QCheckBox::clicked, this, [this] { pCheckClick(); });
    connect(mOk2, &QPushButton::clicked, this, [this] { mOk2Click(); });
    connect(mPrv2, &QPushButton::clicked, this, [this] {
        if (const auto choice = Choice())
            emit previewRequested(*choice);
    });
    connect(mPdf2, &QPushButton::clicked, this, [this] {
        if (const auto choice = Choice())
            emit pdfRequested(*choice);
    });
    connect(mVde2, &QPushButton::clicked, this, [this] { emit closeRequested(); });
}

void PrintPage::Open(const QStringList& printers, const QString& current, int pageCount,
                     const std::string& reportDate)
{
    TopEdit2->setText(ReadIniText(iniName(), kMarginSection, kTopKey, QStringLiteral("0")));
    LftEdit2->setText(ReadIniText(iniName(), kMarginSection, kLeftKey, QStringLiteral("0")));
    prtday->setMaskedBytes(reportDate);
    pageCount_ = pageCount;
    FCntEdt2->setText(QStringLiteral("1"));
    LCntEdt2->setText(QLocale(QLocale::English).toString(pageCount));   // shown as ",0."

    PrtComb->clear();
    PrtComb->addItems(printers);
    PrtComb->setCurrentIndex(static_cast<int>(printers.indexOf(current)));
    pCheck->setChecked(true);
    pCheckClick();
    focusDate();
}

void PrintPage::focusDate()
{
    prtday->setFocus();
    prtday->end(false);
}

void PrintPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Showing the window moves the caret of the focused box; it belongs after the date.
    QTimer::singleShot(0, this, [this] { focusDate(); });
}

void PrintPage::pCheckClick()
{
    FCntEdt2->setEnabled(!pCheck->isChecked());
    LCntEdt2->setEnabled(!pCheck->isChecked());
}

bool PrintPage::prtdayExit()
{
    if (IsDateTextComplete('.', prtday->maskedBytes()))
        return true;
    if (checkingDate_)
        return false;
    checkingDate_ = true;
    prompts_.InfoBox(QStringLiteral("날짜입력 형식이 틀렸습니다. 예)2000.05.27"));
    focusDate();
    checkingDate_ = false;
    return false;
}

bool PrintPage::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the box for another control of the page checks it; the window losing the
    // focus to a message or the preview does not.
    if (watched == prtday && event->type() == QEvent::FocusOut && !checkingDate_) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            prtdayExit();
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<int> PrintPage::shiftOf(const QLineEdit* box)
{
    const QString text = box->text().trimmed();
    if (text.isEmpty())
        return 0;
    bool whole = false;
    const int value = text.toInt(&whole);
    if (whole && text.size() <= kShiftLength)
        return value;
    prompts_.InfoBox(QStringLiteral("여백은 -99부터 999까지의 숫자로 입력하세요."));
    return std::nullopt;
}

std::optional<int> PrintPage::pageOf(const QLineEdit* box)
{
    bool whole = false;
    const int value = box->text().trimmed().toInt(&whole);
    if (whole)
        return value;
    prompts_.InfoBox(QStringLiteral("인쇄범위의 쪽 번호는 숫자로만 입력하세요. 예)1 ~ 3"));
    return std::nullopt;
}

std::optional<PrintChoice> PrintPage::Choice()
{
    PrintChoice choice;
    choice.printer = PrtComb->currentText();
    choice.printerIndex = PrtComb->currentIndex();
    if (choice.printerIndex >= 0 && PrtComb->itemText(choice.printerIndex) != choice.printer)
        choice.printerIndex = -1;   // a name typed over the list's entry
    const auto top = shiftOf(TopEdit2);
    if (!top)
        return std::nullopt;
    const auto left = shiftOf(LftEdit2);
    if (!left)
        return std::nullopt;
    choice.topShift = *top;
    choice.leftShift = *left;
    choice.reportDate = prtday->maskedBytes();
    if (!pCheck->isChecked()) {
        const auto first = pageOf(FCntEdt2);
        if (!first)
            return std::nullopt;
        const auto last = pageOf(LCntEdt2);
        if (!last)
            return std::nullopt;
        if (*first < 1 || *last < *first || *last > pageCount_) {
            prompts_.InfoBox(QStringLiteral("인쇄범위가 맞지 않습니다. 1 ~ %1쪽 사이에서 앞 쪽부터 입력하세요.")
                                 .arg(pageCount_));
            return std::nullopt;
        }
        choice.firstPage = *first;
        choice.lastPage = *last;
    }
    return choice;
}

void PrintPage::mOk2Click()
{
    try {
        WriteIniText(iniName(), kMarginSection, kTopKey, TopEdit2->text());
        WriteIniText(iniName(), kMarginSection, kLeftKey, LftEdit2->text());
    } catch (const SettingsError& error) {
        prompts_.ErrorBox(QString::fromStdString(error.what()));
        return;
    }
    if (const auto choice = Choice())
        emit printRequested(*choice);
}

} // namespace lavodc
