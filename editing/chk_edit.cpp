#include "editing/chk_edit.h"

#include "core/cp949.h"

namespace lavodc {

TChkEdit::TChkEdit(QWidget* parent) : MaskedLineEdit(parent)
{
    setText(QString());
    applyKind();
}

void TChkEdit::SetKind(TChkKind kind)
{
    if (kind != TChkKind::ceCitizen && kind != TChkKind::ceBussiness)
        return;
    checker_.SetKind(kind);
    applyKind();
}

void TChkEdit::applyKind()
{
    setEditMask(QString::fromLatin1(checker_.EditMask()));
    setMaxLength(checker_.MaxLength());
}

bool TChkEdit::CheckNumber()
{
    checker_.SetText(maskedBytes());
    return checker_.CheckNumber();
}

bool TChkEdit::CheckText(const std::string& cp949Text)
{
    setMaskedBytes(cp949Text);
    // Checked as given, "-" included: the verdict never depends on how the box laid
    // the text out.
    checker_.SetText(cp949Text);
    return checker_.CheckNumber();
}

bool TChkEdit::CheckText(const QString& text)
{
    return CheckText(toCp949(text.toStdString()));
}

QString TChkEdit::CheckMsgText() const
{
    return QString::fromStdString(fromCp949(checker_.CheckMsg()));
}

} // namespace lavodc
