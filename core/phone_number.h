#pragma once
// Telephone numbers as clerks type them: bare digits ("01098765432"), or with blanks, dots,
// brackets or misplaced hyphens between the groups. A number the Korean numbering plan
// recognises is given back as area, exchange and line joined by "-"; anything else is given
// back as it was typed.

#include <string>
#include <string_view>

namespace lavodc {

// "02-555-1234", "010-9876-5432", "1588-1234", or `typed` unchanged.
std::string SplitPhoneNumber(std::string_view typed);

} // namespace lavodc
