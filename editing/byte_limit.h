#pragma once
// A limit in CP949 bytes on what a line edit holds, for typed keys, pasted text and input
// methods alike: a syllable still being composed is not shown past the limit, and a
// commit or a paste is cut to the whole characters that fit. Characters CP949 cannot hold
// are refused.

#include <QChar>
#include <functional>
#include <string>

class QLineEdit;

namespace lavodc {

using FitsRule = std::function<bool(const std::string& cp949)>;
// Which characters a paste may bring in (those typing would); all when empty.
using CharacterRule = std::function<bool(QChar)>;

void LimitBytes(QLineEdit* box, int maxBytes, CharacterRule accepts = {});
void LimitBytes(QLineEdit* box, FitsRule fits, CharacterRule accepts = {});

} // namespace lavodc
