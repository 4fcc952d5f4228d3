#pragma once
// A limit in CP949 bytes on what a line edit holds, for typed keys, pasted text and input
// methods alike: a syllable still being composed is not shown past the limit, and a
// commit is cut to what fits. Characters CP949 cannot hold are refused.

#include <functional>
#include <string>

class QLineEdit;

namespace lavodc {

using FitsRule = std::function<bool(const std::string& cp949)>;

void LimitBytes(QLineEdit* box, int maxBytes);
void LimitBytes(QLineEdit* box, FitsRule fits);

} // namespace lavodc
