#pragma once
// A line edit with an input mask in the "body;save;blank" notation of core/edit_mask.h.
// The user sees the literals and the blank character for empty positions; the program
// reads the text the way the mask says (literals kept or dropped, unfilled positions as
// blanks, trailing ones dropped when literals are not saved).

#include "core/edit_mask.h"

#include <QLineEdit>
#include <optional>
#include <string>
#include <string_view>

namespace lavodc {

class MaskedLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskedLineEdit(QWidget* parent = nullptr);                    // no mask yet
    explicit MaskedLineEdit(const QString& mask, QWidget* parent = nullptr);

    // An empty mask turns masking off; the box is then a plain line edit.
    void setEditMask(const QString& mask);
    QString editMask() const { return maskText_; }

    // The text as the program expects it, UTF-8 / CP949.
    QString maskedText() const;
    std::string maskedBytes() const;
    // Places a text into the positions as the program would set it (same rule as reading).
    void setMaskedText(const QString& text);
    void setMaskedBytes(std::string_view cp949);

    // What a paste puts in: a whole number (with or without its literals) fills the box from
    // its first position; anything else is typed at the caret, character by character.
    void pasteText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    std::string shownBytes() const;
    // Typing one character as a clerk does: a literal typed where the box shows it (or just
    // past it) moves past it and never fills a position; signs fill nothing.
    void typeCharacter(QChar c);
    bool isMaskLiteral(QChar c) const;
    std::size_t inputPositions() const;

    QString maskText_;
    std::optional<EditMask> mask_;
};

} // namespace lavodc
