#pragma once
// Texts between the CP949 bytes the program keeps and the boxes that show them. A box shows
// the beginning of its text, never a dangling half character, and gives back the stored
// bytes unchanged until the user edits it.

#include <QString>
#include <string>
#include <string_view>

class QLineEdit;

namespace lavodc {

// For showing: decoded, without a lead byte left dangling at the end.
QString ShownText(std::string_view cp949);

// CP949 of a text the user typed; a character CP949 cannot hold becomes "?".
std::string TypedBytes(const QString& text);

void ShowBytes(QLineEdit* box, std::string_view cp949);
std::string BoxBytes(const QLineEdit* box);

} // namespace lavodc
