#pragma once
// Small text utilities shared by the sheet file, the report and the windows.
// All texts are CP949 byte strings; every length, width and position counts bytes.
// "Trim" removes characters with codes 0x20 and below.

#include <stdexcept>
#include <string>
#include <string_view>

namespace lavodc {

std::string RemoveBlanks(std::string_view text);
std::string RemoveChar(char ch, std::string_view text);
std::string TrimLeading(std::string_view text);
std::string TrimTrailing(std::string_view text);
std::string Trim(std::string_view text);
std::string RepeatChar(char ch, int count);
std::string PadLeft(std::string_view text, int width, char fill);
std::string PadRight(char fill, std::string_view text, int width);

// Raised by MoneyText for a text that is not a number.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Korean money layout, independent of the installed locale: won sign 0x5C, groups of three.
std::string MoneyText(std::string_view text, int width, bool dropSign);
std::string MoneyValueText(double value, int width);

bool IsDateTextComplete(char separator, std::string_view text);

std::string BracketPhone(std::string_view text, int areaWidth);
std::string UnbracketPhone(std::string_view text);

} // namespace lavodc
