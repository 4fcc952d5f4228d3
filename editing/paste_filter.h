#pragma once
// Pasting into a line edit follows the rules of typing into it. Ctrl+V, Shift+Insert, the
// context menu's paste, the middle button and a drop all hand the pasted text to a rule that
// gives what goes in at the caret: the characters typing would take, as many whole ones as
// fit. Nothing pasted is dropped whole because part of it does not fit.

#include <QString>
#include <functional>

class QLineEdit;

namespace lavodc {

// `rule` gets the box (its text, caret and selection as they are before the paste) and the
// pasted text, with line breaks and tabs as blanks.
using PasteRule = std::function<QString(const QLineEdit& box, const QString& pasted)>;

void FilterPastes(QLineEdit* box, PasteRule rule);

// The box's text with `inserted` in place of its selection, or at its caret.
QString TextAfterInsert(const QLineEdit& box, const QString& inserted);

} // namespace lavodc
