// The sheet header's boxes: their keys and byte limits, the Enter chain, the leave checks, and
// the header values they hold.
#include "app/main_window.h"

#include "core/phone_number.h"
#include "core/quorva_lib.h"
#include "editing/box_text.h"
#include "editing/byte_limit.h"
#include "editing/chk_edit.h"
#include "editing/masked_line_edit.h"
#include "editing/number_question.h"
#include "editing/pending_input.h"
#include "editing/worker_list_view.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

namespace lavodc {

namespace {

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

void showMasked(MaskedLineEdit* box, const std::string& cp949)
{
    box->setMaskedBytes(cp949);
    box->setCursorPosition(0);
}

bool isEnter(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

} // namespace

void Tmainf::wireHeader()
{
    auto* headerKeys = new HeaderKeyMap(*this, this);
    for (QWidget* box : std::initializer_list<QWidget*>{gsName, gsyear, gmonth, cmpNo, indNo, indName,
                                                        MgrName, MgrJmnNo, cmpAddr, cmpTel, cmpName,
                                                        InDex1, InDex2}) {
        box->installEventFilter(this);
        box->installEventFilter(headerKeys);
    }

    // Each header box holds at most its field's width in CP949 bytes.
    const std::pair<QLineEdit*, int> limits[] = {{gsName, 70}, {cmpNo, 30}, {indNo, 30}, {indName, 70},
                                                 {MgrName, 10}, {cmpAddr, 70}, {cmpName, 10}};
    for (const auto& [box, bytes] : limits)
        LimitBytes(box, bytes);
    LimitBytes(
        cmpTel, [](const std::string& text) { return BracketPhone(SplitPhoneNumber(text), 4).size() <= 15; },
        [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'-'; });
    // Any change the user makes to the header is a change to the sheet.
    for (QLineEdit* box : {static_cast<QLineEdit*>(gsName), static_cast<QLineEdit*>(gsyear),
                           static_cast<QLineEdit*>(gmonth), cmpNo, indNo, indName, MgrName,
                           static_cast<QLineEdit*>(MgrJmnNo), cmpAddr, cmpTel, cmpName})
        connect(box, &QLineEdit::textEdited, this, [this] { markModified(); });
}

bool Tmainf::headerEvent(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnter(*key) && handleHeaderEnter(watched))
            return true;
        if (watched == cmpTel)
            return !IsTelephoneKey(*key);
    } else if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const bool leftInWindow = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (watched == gsyear || watched == gmonth)
            gsyearExit();
        else if (watched == cmpTel)
            showSplitTelephone();
        else if (watched == MgrJmnNo && leftInWindow && !checkingNumber_)
            MgrJmnNoExit();
    }
    return false;
}

void Tmainf::gsyearExit()
{
    sheet_.period = gsyear->maskedBytes() + "." + gmonth->maskedBytes();
}

bool Tmainf::MgrJmnNoExit()
{
    checkingNumber_ = true;
    const NumberVerdict verdict = CheckNumberOnLeaving(MgrJmnNo->maskedBytes(), *ChkJumin, prompts_);
    checkingNumber_ = false;
    if (verdict == NumberVerdict::Accepted)
        cmpAddr->setFocus();
    else if (verdict == NumberVerdict::Refused)
        MgrJmnNo->setFocus();
    return verdict != NumberVerdict::Refused;
}

void Tmainf::showSplitTelephone()
{
    const std::string typed = BoxBytes(cmpTel);
    const std::string split = SplitPhoneNumber(typed);
    if (split != typed)
        ShowBytes(cmpTel, split);
}

bool Tmainf::handleHeaderEnter(QObject* box)
{
    CommitPendingInput(static_cast<QWidget*>(box));
    if (box == cmpTel) {
        cmpName->setFocus();
        return true;
    }
    const std::pair<QObject*, QWidget*> chain[] = {
        {gsName, gsyear}, {gsyear, gmonth}, {gmonth, cmpNo}, {cmpNo, indNo}, {indNo, indName},
        {indName, MgrName}, {MgrName, MgrJmnNo}, {MgrJmnNo, cmpAddr}, {cmpAddr, cmpTel}, {cmpName, WorkerList}};
    for (const auto& [from, target] : chain) {
        if (from == box) {
            markModified();
            target->setFocus();
            return true;
        }
    }
    return false;
}

void Tmainf::pullHeader(SheetHeader& header)
{
    header.gsName = BoxBytes(gsName);
    header.gsyear = gsyear->maskedBytes();
    header.gmonth = gmonth->maskedBytes();
    header.cmpNo = BoxBytes(cmpNo);
    header.indNo = BoxBytes(indNo);
    header.indName = BoxBytes(indName);
    header.MgrName = BoxBytes(MgrName);
    header.MgrJmnNo = MgrJmnNo->maskedBytes();
    header.cmpAddr = BoxBytes(cmpAddr);
    header.cmpTel = SplitPhoneNumber(BoxBytes(cmpTel));
    header.cmpName = BoxBytes(cmpName);
}

void Tmainf::pushHeader(const SheetHeader& header)
{
    ShowBytes(gsName, header.gsName);
    showMasked(gsyear, header.gsyear);
    showMasked(gmonth, header.gmonth);
    ShowBytes(cmpNo, header.cmpNo);
    ShowBytes(indNo, header.indNo);
    ShowBytes(indName, header.indName);
    ShowBytes(MgrName, header.MgrName);
    showMasked(MgrJmnNo, header.MgrJmnNo);
    ShowBytes(cmpAddr, header.cmpAddr);
    ShowBytes(cmpTel, header.cmpTel);
    ShowBytes(cmpName, header.cmpName);
}

} // namespace lavodc
