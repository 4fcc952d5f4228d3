#include "core/input_quote.h"

#include "core/cp949.h"

namespace lavodc {

namespace {

// The length of the UTF-8 character at the start of `text`, 1 for a byte that starts none.
std::size_t CharacterLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (length > text.size())
        return 1;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80)
            return 1;
    return length;
}

template <typename Take>
void EachQuotedCharacter(std::string_view utf8, Take&& take)
{
    for (std::size_t count = 0; !utf8.empty(); ++count) {
        if (count == kQuotedCharacters) {
            take(std::string_view("..."));
            return;
        }
        const std::size_t length = CharacterLength(utf8);
        take(utf8.substr(0, length));
        utf8.remove_prefix(length);
    }
}

} // namespace

std::string QuotedInput(std::string_view utf8)
{
    std::string out;
    EachQuotedCharacter(utf8, [&out](std::string_view character) { out += character; });
    return out;
}

std::string QuotedInputCp949(std::string_view utf8)
{
    std::string out;
    EachQuotedCharacter(utf8, [&out](std::string_view character) {
        try {
            out += toCp949(character);
        } catch (const EncodingError&) {
            out += '?';
        }
    });
    return out;
}

} // namespace lavodc
