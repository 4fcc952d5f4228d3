#include "editing/entry_page.h"

#include "core/cp949.h"
#include "core/phone_number.h"
#include "core/quorva_lib.h"
#include "core/worker_entry_lists.h"
#include "core/worker_table.h"
#include "editing/alt_typing.h"
#include "editing/box_text.h"
#include "editing/byte_limit.h"
#include "editing/chk_edit.h"
#include "editing/input_dialog.h"
#include "editing/masked_line_edit.h"
#include "editing/number_box.h"
#include "editing/number_question.h"
#include "editing/pending_input.h"
#include "services/prompts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lavodc {

namespace {

constexpr int kBoxHeight = 21;
constexpr int kBoxLeft = 100;
constexpr std::string_view kNumberMask = "######-#######;1;_";
constexpr double kLargestLikelyWages = 100000000;
constexpr double kLongestLikelyDay = 24;

QLabel* caption(QWidget* page, const QString& text, int y, int width = 84)
{
    auto* label = new QLabel(text, page);
    label->setGeometry(16, y, width, kBoxHeight);
    return label;
}

template <typename Box>
Box* place(Box* box, const char* name, int x, int y, int width)
{
    box->setObjectName(QLatin1String(name));
    box->setGeometry(x, y, width, kBoxHeight);
    return box;
}

bool isPrintableKey(const QKeyEvent& key)
{
    return !key.text().isEmpty() && key.text().at(0).isPrint();
}

} // namespace

WorkerEntryPage::WorkerEntryPage(TInPutf& frame, WorkerTable& table, Prompts& prompts, std::string period,
                                 std::function<void()> markModified)
    : QWidget(frame.shet00),
      frame_(frame),
      table_(table),
      prompts_(prompts),
      period_(std::move(period)),
      markModified_(std::move(markModified))
{
    setObjectName(QStringLiteral("WorkerEntryPage"));
    setFocusPolicy(Qt::StrongFocus);
    WatchPendingInput();
    KeepAltFromTyping();
    build();
}

void WorkerEntryPage::build()
{
    setGeometry(0, 0, 425, 240);
    caption(this, QStringLiteral("성  명"), 10);
    EdtpName = place(new QLineEdit(this), "EdtpName", kBoxLeft, 10, 120);
    LimitBytes(EdtpName, 10);

    caption(this, QStringLiteral("주민등록번호"), 35);
    EdtJmnNo = place(new MaskedLineEdit(QString::fromLatin1(kNumberMask.data(), kNumberMask.size()), this),
                     "EdtJmnNo", kBoxLeft, 35, 120);

    caption(this, QStringLiteral("직  종"), 60);
    CmbnName = place(new QComboBox(this), "CmbnName", kBoxLeft, 60, 200);
    for (const std::string& job : JobEntries())
        CmbnName->addItem(ShownText(job));
    CmbnName->setMaxVisibleItems(kJobEntryCount);

    // The hours box sits inside the gap of its label.
    QLabel* hours = caption(this, QStringLiteral("일 평균근로            시간"), 85, 200);
    const QFontMetrics metrics(hours->font());
    const int gapLeft = 16 + metrics.horizontalAdvance(QStringLiteral("일 평균근로 "));
    const int gapWidth = metrics.horizontalAdvance(QStringLiteral("          "));
    EdtnDay = place(new NumberBox(this), "EdtnDay", gapLeft, 85, qMax(gapWidth, 30));

    caption(this, QStringLiteral("임금총액"), 110);
    EdtSmMny = place(new NumberBox(this), "EdtSmMny", kBoxLeft, 110, 120);

    caption(this, QStringLiteral("전  화"), 135);
    EdtnTel = place(new QLineEdit(this), "EdtnTel", kBoxLeft, 135, 120);
    EdtnTel->setAttribute(Qt::WA_InputMethodEnabled, false);
    LimitBytes(EdtnTel, 255, [](QChar c) { return c != u'(' && c != u')'; });

    caption(this, QStringLiteral("주  소"), 160);
    EdtnAddr = place(new QLineEdit(this), "EdtnAddr", kBoxLeft, 160, 305);
    LimitBytes(EdtnAddr, 70);

    caption(this, QStringLiteral("사  유"), 185);
    CmbnEtc = place(new QComboBox(this), "CmbnEtc", kBoxLeft, 185, 305);
    for (const ReasonEntry& reason : ReasonEntries())
        CmbnEtc->addItem(ShownText(reason.shown));
    CmbnEtc->setMaxVisibleItems(kReasonEntryCount);

    mOk0 = new QPushButton(QStringLiteral("확인"), this);
    mOk0->setObjectName(QStringLiteral("mOk0"));
    mOk0->setGeometry(230, 212, 80, 24);
    mVide0 = new QPushButton(QStringLiteral("취소"), this);
    mVide0->setObjectName(QStringLiteral("mVide0"));
    mVide0->setGeometry(320, 212, 80, 24);
    mOk0->setAutoDefault(false);
    mVide0->setAutoDefault(false);
    connect(mOk0, &QPushButton::clicked, this, [this] { mOk0Click(); });
    connect(mVide0, &QPushButton::clicked, &frame_, &TInPutf::mExit0Click);

    ChkJumin = new TChkEdit(this);
    ChkJumin->setObjectName(QStringLiteral("ChkJumin"));
    ChkJumin->hide();

    setTabOrder(EdtpName, EdtJmnNo);
    setTabOrder(EdtJmnNo, CmbnName);
    setTabOrder(CmbnName, EdtnDay);
    setTabOrder(EdtnDay, EdtSmMny);
    setTabOrder(EdtSmMny, EdtnTel);
    setTabOrder(EdtnTel, EdtnAddr);
    setTabOrder(EdtnAddr, CmbnEtc);
    setTabOrder(CmbnEtc, mOk0);
    setTabOrder(mOk0, mVide0);

    for (QWidget* box : std::initializer_list<QWidget*>{EdtpName, EdtJmnNo, CmbnName, EdtnDay, EdtSmMny,
                                                        EdtnTel, EdtnAddr, CmbnEtc})
        box->installEventFilter(this);
}

void WorkerEntryPage::prepareAdd()
{
    frame_.mode = TInPutf::AddMode;
    CmbnName->setCurrentIndex(0);
    CmbnEtc->setCurrentIndex(0);
    EdtpName->clear();
    EdtJmnNo->setMaskedBytes("");
    EdtnAddr->clear();
    EdtnTel->clear();
    EdtnDay->setValue(8);
    EdtSmMny->setValue(0);
}

void WorkerEntryPage::prepareModify()
{
    frame_.mode = TInPutf::ModifyMode;
    const WorkerRow& row = table_.CurrentRow();
    ShowBytes(EdtpName, row.pName);
    EdtJmnNo->setMaskedBytes(row.JmnNo);
    ShowBytes(EdtnAddr, row.nAddr);
    ShowBytes(EdtnTel, UnbracketPhone(row.nTel));
    EdtnDay->setValue(row.nDay);
    EdtSmMny->setValue(row.SmMny);
    CmbnName->setCurrentIndex(JobPosition(row.nName));
    CmbnEtc->setCurrentIndex(ReasonPosition(row.nEtc));
}

void WorkerEntryPage::focusFirst()
{
    if (frame_.mode == TInPutf::AddMode)
        EdtpName->setFocus();
    else
        setFocus();
}

bool WorkerEntryPage::EdtJmnNoExit()
{
    checkingNumber_ = true;
    const NumberVerdict verdict = CheckNumberOnLeaving(EdtJmnNo->maskedBytes(), *ChkJumin, prompts_);
    checkingNumber_ = false;
    if (verdict == NumberVerdict::Accepted)
        CmbnName->setFocus();
    else if (verdict == NumberVerdict::Refused)
        EdtJmnNo->setFocus();
    return verdict != NumberVerdict::Refused;
}

bool WorkerEntryPage::isDuplicateNumber(const std::string& number) const
{
    if (table_.IsEmpty())
        return false;
    // The rows are read in place; the current row stays where it is.
    for (int i = 0; i < table_.RecordCount(); ++i)
        if (table_.RowAt(i).JmnNo == number)
            return true;
    return false;
}

bool WorkerEntryPage::mOk0Click()
{
    for (QLineEdit* box : {EdtpName, EdtnAddr})
        CommitPendingInput(box);
    if (EdtpName->text().isEmpty()) {
        prompts_.InfoBox(QStringLiteral(" 성명이 입력되지 않았습니다."));
        EdtpName->setFocus();
        return false;
    }
    if (!amountsConfirmed())
        return false;
    const std::string number = EdtJmnNo->maskedBytes();
    const bool sameNumber = frame_.mode == TInPutf::ModifyMode && !table_.IsEmpty()
                            && number == table_.CurrentRow().JmnNo;
    if (!sameNumber && isDuplicateNumber(number)) {
        prompts_.InfoBox(QStringLiteral("이미 투입되어 있는 주민등록번호입니다."));
        return false;
    }
    store();
    return true;
}

bool WorkerEntryPage::amountsConfirmed()
{
    // No daily worker's month holds these; a slip of the keyboard most likely did.
    if (EdtSmMny->value() > kLargestLikelyWages
        && !prompts_.ConfirmBox(QStringLiteral("임금총액이 100,000,000원을 넘습니다. 맞습니까?"))) {
        EdtSmMny->setFocus();
        return false;
    }
    if (EdtnDay->value() > kLongestLikelyDay
        && !prompts_.ConfirmBox(QStringLiteral("일 평균 근로시간이 24시간을 넘습니다. 맞습니까?"))) {
        EdtnDay->setFocus();
        return false;
    }
    return true;
}

void WorkerEntryPage::store()
{
    const bool adding = frame_.mode == TInPutf::AddMode;
    if (adding)
        table_.Append();
    else
        table_.Edit();
    table_.SetFieldInteger("HCODE", 1);
    table_.SetFieldInteger("SCODE", 1);
    table_.SetFieldInteger("LCODE", 1);
    table_.SetFieldText("cDate", period_);
    table_.SetFieldText("pName", BoxBytes(EdtpName));
    table_.SetFieldText("JmnNo", EdtJmnNo->maskedBytes());
    table_.SetFieldText("nName", JobEntries()[std::size_t(qBound(0, CmbnName->currentIndex(), kJobEntryCount - 1))]);
    table_.SetFieldText("nAddr", BoxBytes(EdtnAddr));
    table_.SetFieldText("nTel", BracketPhone(cutToWholeCharacters(TrimTrailing(SplitPhoneNumber(BoxBytes(EdtnTel))), 15), 3));
    if (CmbnEtc->currentIndex() >= 0)
        table_.SetFieldText("nEtc", ReasonEntries()[std::size_t(CmbnEtc->currentIndex())].stored);
    if (adding)
        table_.SetFieldFloat("nNal", 0);
    table_.SetFieldFloat("nDay", EdtnDay->value());
    table_.SetFieldFloat("SmMny", EdtSmMny->value());
    table_.Post();
    markModified_();
    frame_.accept();
}

void WorkerEntryPage::moveFocusFrom(QObject* box)
{
    CommitPendingInput(static_cast<QWidget*>(box));
    if (box == EdtpName)
        EdtJmnNo->setFocus();
    else if (box == EdtJmnNo)
        CmbnName->setFocus();   // leaving the box runs its check first
    else if (box == CmbnName)
        EdtnDay->setFocus();
    else if (box == EdtnDay)
        EdtSmMny->setFocus();
    else if (box == EdtSmMny)
        EdtnTel->setFocus();
    else if (box == EdtnTel)
        EdtnAddr->setFocus();
    else if (box == EdtnAddr)
        CmbnEtc->setFocus();
    else if (box == CmbnEtc)
        mOk0Click();
}

bool WorkerEntryPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && watched == EdtnTel) {
        // The clerk sees the number as it will be stored: split into its groups.
        const std::string split = SplitPhoneNumber(BoxBytes(EdtnTel));
        if (split != BoxBytes(EdtnTel))
            ShowBytes(EdtnTel, split);
        return false;
    }
    if (event->type() == QEvent::FocusOut && watched == EdtJmnNo && !checkingNumber_) {
        // Leaving the box inside the dialog runs the check; a window or pop-up taking the
        // focus for a while does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            EdtJmnNoExit();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        moveFocusFrom(watched);
        return true;
    }
    if ((watched == CmbnName || watched == CmbnEtc) && isPrintableKey(*key))
        return true;   // an entry is only picked from the list
    if (watched == EdtnTel && (key->text() == QLatin1String("(") || key->text() == QLatin1String(")")))
        return true;
    return false;
}

} // namespace lavodc
