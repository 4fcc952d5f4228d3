#pragma once
// The one place where text crosses between Unicode and the CP949 bytes the program keeps.

#include <stdexcept>
#include <string>
#include <string_view>

namespace lavodc {

// Raised for text that CP949 cannot hold; what() names the offending character.
class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// UTF-8 to CP949. Throws EncodingError for a character CP949 has no code for,
// or for input that is not valid UTF-8.
std::string toCp949(std::string_view utf8);

// toCp949 appended to `out`, for many texts in a row: false (with part of the text appended)
// where toCp949 raises.
bool appendCp949(std::string& out, std::string_view utf8);

// CP949 to UTF-8. Never fails: a byte sequence that does not decode becomes U+FFFD.
std::string fromCp949(std::string_view cp949);
// The same appended to `out`.
void appendFromCp949(std::string& out, std::string_view cp949);

// CP949 to Unicode code points, with the same U+FFFD rule; used for sort keys.
std::u32string cp949CodePoints(std::string_view cp949);
// The code point of the character at `at` (which must lie inside the text) by the same rule, and
// `at` moved past it: for walking a text without a copy.
char32_t nextCp949CodePoint(std::string_view cp949, std::size_t& at);

// A UTF-8 literal converted once; for the Korean texts the program stores or compares.
// The literal must be representable (a program error otherwise).
std::string K(std::string_view utf8Literal);

// `cp949` without a lead byte left dangling at its end (a text cut inside a double-byte
// character), so that it shows and prints no replacement character.
std::string_view WithoutDanglingHalf(std::string_view cp949);

// The first `maxBytes` bytes; may split a double-byte character, as the stored fields do.
std::string cutToBytes(std::string_view text, std::size_t maxBytes);

// At most `maxBytes` bytes without splitting a double-byte character: for texts that
// come from outside and must fit a field whole.
std::string cutToWholeCharacters(std::string_view text, std::size_t maxBytes);

} // namespace lavodc
