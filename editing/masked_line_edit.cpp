#include "editing/masked_line_edit.h"

#include "core/cp949.h"

#include "editing/paste_filter.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>

namespace lavodc {

namespace {

// Characters Qt's mask notation gives a meaning of its own; a literal among them needs "\".
bool isQtMaskSpecial(char c)
{
    static const std::string_view special = "AaNnXx90Dd#HhBb><!{}[]\\";
    return special.find(c) != std::string_view::npos;
}

// Qt's code for a position, chosen by what the position accepts. Every position is
// optional on the Qt side: required positions only matter to Qt's acceptance test,
// which the program never asks, and the text rule is ours.
char qtCodeFor(const EditMask& mask, std::size_t pos)
{
    const bool digit = mask.accepts(pos, '5');
    const bool letter = mask.accepts(pos, 'a');
    const bool other = mask.accepts(pos, '@');
    if (other)
        return 'x';
    if (digit && letter)
        return 'n';
    if (letter)
        return 'a';
    if (mask.accepts(pos, '+'))
        return '#';
    return '0';
}

QString qtInputMask(const EditMask& mask)
{
    QString qtMask;
    for (std::size_t pos = 0; pos < mask.length(); ++pos) {
        if (mask.isLiteral(pos)) {
            const char literal = mask.literalAt(pos);
            if (isQtMaskSpecial(literal))
                qtMask += QLatin1Char('\\');
            qtMask += QLatin1Char(literal);
        } else {
            qtMask += QLatin1Char(qtCodeFor(mask, pos));
        }
    }
    qtMask += QLatin1Char(';');
    qtMask += QLatin1Char(mask.blankChar());
    return qtMask;
}

bool isAscii(QChar c) { return c.unicode() < 0x80; }

// A text laid out like the box itself, literals at their places ("850101-1234566").
bool hasShownLayout(const EditMask& mask, std::string_view text)
{
    if (text.size() != mask.length())
        return false;
    bool anyLiteral = false;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (!mask.isLiteral(pos))
            continue;
        anyLiteral = true;
        if (text[pos] != mask.literalAt(pos))
            return false;
    }
    return anyLiteral;
}

// Drops the literals of a text in the box's layout, giving the text a box that does not
// keep its literals would hold.
std::string withoutLiterals(const EditMask& mask, std::string_view text)
{
    std::string digits;
    for (std::size_t pos = 0; pos < text.size(); ++pos)
        if (!mask.isLiteral(pos))
            digits.push_back(text[pos]);
    return digits;
}

} // namespace

MaskedLineEdit::MaskedLineEdit(QWidget* parent) : MaskedLineEdit(QString(), parent) {}

MaskedLineEdit::MaskedLineEdit(const QString& mask, QWidget* parent) : QLineEdit(parent)
{
    setEditMask(mask);
    FilterPastes(this, [this](const QLineEdit&, const QString& pasted) {
        if (!mask_)
            return pasted;
        pasteText(pasted);
        return QString();   // placed already
    });
}

void MaskedLineEdit::setEditMask(const QString& mask)
{
    maskText_ = mask;
    if (mask.isEmpty()) {
        mask_.reset();
        setInputMask(QString());
        setAttribute(Qt::WA_InputMethodEnabled, true);
        return;
    }
    mask_.emplace(mask.toStdString());
    setInputMask(qtInputMask(*mask_));
    // One byte per position: a composed Hangul syllable has no place in a masked box.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

std::string MaskedLineEdit::shownBytes() const
{
    const QString display = displayText();
    const char blank = mask_->blankChar();
    std::string shown;
    shown.reserve(mask_->length());
    for (std::size_t pos = 0; pos < mask_->length(); ++pos) {
        const QChar c = pos < std::size_t(display.size()) ? display.at(qsizetype(pos)) : QChar(blank);
        if (mask_->isLiteral(pos))
            shown.push_back(mask_->literalAt(pos));
        else if (isAscii(c))
            shown.push_back(char(c.unicode()));
        else
            shown.push_back(blank);
    }
    return shown;
}

std::string MaskedLineEdit::maskedBytes() const
{
    if (!mask_)
        return toCp949(text().toStdString());
    return mask_->textFromShown(shownBytes());
}

QString MaskedLineEdit::maskedText() const
{
    return QString::fromStdString(fromCp949(maskedBytes()));
}

void MaskedLineEdit::setMaskedBytes(std::string_view cp949)
{
    if (!mask_) {
        setText(QString::fromStdString(fromCp949(cp949)));
        return;
    }
    // A box that leaves its literals out would otherwise take the "-" of a copied
    // "######-#######" text as a refused digit and shift the rest of the number.
    const std::string shown = !mask_->saveLiterals() && hasShownLayout(*mask_, cp949)
                                  ? mask_->shownFromText(withoutLiterals(*mask_, cp949))
                                  : mask_->shownFromText(cp949);
    const QLatin1Char blank(mask_->blankChar());
    QString display;
    display.reserve(qsizetype(shown.size()));
    for (std::size_t pos = 0; pos < shown.size(); ++pos) {
        const char c = shown[pos];
        if (mask_->isLiteral(pos))
            display += QLatin1Char(c);
        // Qt would refuse a blank (and anything beyond ASCII) and shift the rest of the
        // text left; an empty position reads back as a blank anyway.
        else if (c == ' ' || static_cast<unsigned char>(c) >= 0x80)
            display += blank;
        else
            display += QLatin1Char(c);
    }
    setText(display);
}

void MaskedLineEdit::setMaskedText(const QString& text)
{
    setMaskedBytes(toCp949(text.toStdString()));
}

void MaskedLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Reached by Enter or Tab, a masked box is filled from its first position; a click
    // puts the cursor where it lands.
    if (mask_ && event->reason() != Qt::MouseFocusReason)
        setCursorPosition(0);
}

bool MaskedLineEdit::isMaskLiteral(QChar c) const
{
    for (std::size_t pos = 0; pos < mask_->length(); ++pos)
        if (mask_->isLiteral(pos) && QLatin1Char(mask_->literalAt(pos)) == c)
            return true;
    return false;
}

std::size_t MaskedLineEdit::inputPositions() const
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < mask_->length(); ++pos)
        if (!mask_->isLiteral(pos))
            ++count;
    return count;
}

void MaskedLineEdit::typeCharacter(QChar c)
{
    if (isMaskLiteral(c)) {
        const auto at = std::size_t(cursorPosition());
        const auto literalHere = [&](std::size_t pos) {
            return pos < mask_->length() && mask_->isLiteral(pos) && QLatin1Char(mask_->literalAt(pos)) == c;
        };
        deselect();
        if (literalHere(at))
            setCursorPosition(int(at) + 1);
        // Just past it (the box moved there after the last digit before it): nothing to do.
        return;
    }
    if (c == u'+' || c == u'-' || !isAscii(c) || !c.isPrint())
        return;
    insert(QString(c));
}

void MaskedLineEdit::pasteText(const QString& text)
{
    std::string bytes;
    for (const QChar c : text)
        if (isAscii(c) && c != u' ')
            bytes.push_back(char(c.unicode()));
    const bool allDigits = !bytes.empty() && std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (allDigits && bytes.size() == inputPositions()) {
        // The bare digits of a whole number: laid out with the box's literals.
        std::string laidOut;
        std::size_t next = 0;
        for (std::size_t pos = 0; pos < mask_->length(); ++pos)
            laidOut.push_back(mask_->isLiteral(pos) ? mask_->literalAt(pos) : bytes[next++]);
        bytes = laidOut;
    }
    if (hasShownLayout(*mask_, bytes) || (allDigits && bytes.size() == mask_->length())) {
        setMaskedBytes(bytes);
        setCursorPosition(int(mask_->length()));
        return;
    }
    for (const QChar c : text)
        typeCharacter(c);
}

void MaskedLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (mask_) {
        const QString typed = event->text();
        for (QChar c : typed) {
            if (!isAscii(c)) {
                event->ignore();
                return;
            }
        }
        const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (typed.size() == 1 && typed.at(0).isPrint() && !command) {
            typeCharacter(typed.at(0));
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace lavodc
