// The "body;save;blank" input mask of a masked edit box and the text rule it implies.

#include "core/edit_mask.h"

namespace lavodc {

namespace {

bool isMaskChar(char c)
{
    switch (c) {
    case '0': case '9': case '#':
    case 'L': case 'l':
    case 'A': case 'a':
    case 'C': case 'c':
        return true;
    default:
        return false;
    }
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

} // namespace

EditMask::EditMask(std::string_view mask)
{
    // Body: up to the first ";" that is not escaped by "\".
    std::size_t i = 0;
    bool escaped = false;
    for (; i < mask.size(); ++i) {
        const char c = mask[i];
        if (escaped) {
            positions_.push_back({c, true});
            escaped = false;
        } else if (c == '\\') {
            escaped = true;
        } else if (c == ';') {
            break;
        } else {
            positions_.push_back({c, !isMaskChar(c)});
        }
    }
    // Fields after the body: ";save;blank". Only a save field "0" drops the literals; a missing
    // or empty blank field keeps "_".
    if (i < mask.size()) {
        const std::string_view rest = mask.substr(i + 1);
        const std::size_t sep = rest.find(';');
        const std::string_view save = rest.substr(0, sep);
        saveLiterals_ = !(save.size() >= 1 && save[0] == '0');
        if (sep != std::string_view::npos && sep + 1 < rest.size())
            blank_ = rest[sep + 1];
    }
}

std::size_t EditMask::length() const
{
    return positions_.size();
}

bool EditMask::isLiteral(std::size_t pos) const
{
    return pos < positions_.size() && positions_[pos].literal;
}

char EditMask::literalAt(std::size_t pos) const
{
    return isLiteral(pos) ? positions_[pos].kind : '\0';
}

bool EditMask::accepts(std::size_t pos, char c) const
{
    if (pos >= positions_.size() || positions_[pos].literal)
        return false;
    switch (positions_[pos].kind) {
    case '0': case '9':
        return isDigit(c);
    case '#':
        return isDigit(c) || c == '+' || c == '-' || c == ' ';
    case 'L': case 'l':
        return isLetter(c);
    case 'A': case 'a':
        return isLetter(c) || isDigit(c);
    case 'C': case 'c':
        return true;
    default:
        return false;
    }
}

bool EditMask::saveLiterals() const
{
    return saveLiterals_;
}

char EditMask::blankChar() const
{
    return blank_;
}

std::string EditMask::textFromShown(std::string_view shown) const
{
    const std::size_t n = positions_.size();
    auto shownAt = [&](std::size_t pos) { return pos < shown.size() ? shown[pos] : blank_; };

    std::string text;
    text.reserve(n);
    if (saveLiterals_) {
        for (std::size_t pos = 0; pos < n; ++pos) {
            if (positions_[pos].literal) {
                text.push_back(positions_[pos].kind);
            } else {
                const char c = shownAt(pos);
                text.push_back(c == blank_ ? ' ' : c);
            }
        }
        return text;
    }
    for (std::size_t pos = 0; pos < n; ++pos)
        if (!positions_[pos].literal)
            text.push_back(shownAt(pos));
    while (!text.empty() && text.back() == blank_)
        text.pop_back();
    for (char& c : text)
        if (c == blank_)
            c = ' ';
    return text;
}

std::string EditMask::shownFromText(std::string_view text) const
{
    const std::size_t n = positions_.size();
    std::string shown;
    shown.reserve(n);
    std::size_t next = 0; // save '0': the next character of `text` to place
    for (std::size_t pos = 0; pos < n; ++pos) {
        if (positions_[pos].literal) {
            shown.push_back(positions_[pos].kind);
            continue;
        }
        std::size_t from;
        if (saveLiterals_) {
            from = pos;             // the text holds every position
        } else {
            from = next++;          // the text holds the non-literal positions only
        }
        if (from < text.size() && accepts(pos, text[from]))
            shown.push_back(text[from]);
        else
            shown.push_back(blank_);
    }
    return shown;
}

} // namespace lavodc
