#pragma once
// Part of an input as a message quotes it: at most kQuotedCharacters characters, so that a
// huge key or value of a file never floods the screen.

#include <cstddef>
#include <string>
#include <string_view>

namespace lavodc {

inline constexpr std::size_t kQuotedCharacters = 80;

// The first kQuotedCharacters characters of `utf8`, followed by "..." when there were more.
// Bytes that start no UTF-8 character count as one character each.
std::string QuotedInput(std::string_view utf8);

// The same in CP949, for the program's own messages; characters CP949 lacks become "?".
std::string QuotedInputCp949(std::string_view utf8);

} // namespace lavodc
