#pragma once
// Input masks of the form "body;save;blank" (e.g. "999999\-9999999;0;_", "####;1;_").
// Body characters: '0' digit required, '9' digit optional, '#' digit or sign optional,
// 'L'/'l' letter, 'A'/'a' letter or digit, 'C'/'c' any character; '\' makes the next
// character a literal; every other character is a literal.
// save '1': literals are part of the text and every unfilled position reads as a blank.
// save '0': literals are left out, inner unfilled positions read as blanks, trailing ones
// are dropped.

#include <string>
#include <string_view>
#include <vector>

namespace lavodc {

class EditMask {
public:
    explicit EditMask(std::string_view mask);

    std::size_t length() const;                // number of shown positions
    bool isLiteral(std::size_t pos) const;
    char literalAt(std::size_t pos) const;     // only for literal positions
    bool accepts(std::size_t pos, char c) const;
    bool saveLiterals() const;
    char blankChar() const;                    // how an unfilled position is shown

    // `shown` holds one byte per position: the typed character, the literal,
    // or blankChar() for an unfilled position. Returns the control's text.
    std::string textFromShown(std::string_view shown) const;

    // Places `text` into the positions the way setting a masked box's text does and
    // returns the shown string (length() bytes). Characters that a position refuses
    // leave it unfilled.
    std::string shownFromText(std::string_view text) const;

    // Round trip through a masked box: the text the box gives back after `text` was set.
    std::string normalize(std::string_view text) const { return textFromShown(shownFromText(text)); }

private:
    struct Position { char kind; bool literal; };
    std::vector<Position> positions_;
    bool saveLiterals_ = true;
    char blank_ = '_';
};

} // namespace lavodc
