#pragma once
// The cells of a worker list (UTF-8, as the readers hand them over) turned into the values a
// worker row keeps, by the rules the entry dialog and the day strip apply to what is typed.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lavodc {

// `text` without the bytes of 0x20 and below at either end.
std::string_view TrimUtf8(std::string_view text);

// A cell's text trimmed, in CP949 and cut to `width` bytes at a whole character. The whole
// text must be CP949 (EncodingError otherwise).
std::string FieldText(std::string_view cell, std::size_t width);

struct Amount {
    bool given = false;   // false for a cell that holds no digits at all
    double value = 0;
};

// A number as spreadsheets and the worker list show it: blanks and thousands separators
// allowed, a won sign in front or "원" behind. Nullopt when it is no number.
std::optional<Amount> ReadAmount(std::string_view utf8);

// An amount a sheet file can hold and a form can print: not below zero, within the field.
bool StorableAmount(double value);

// The number as the entry dialog's masked box gives it (CP949). Thirteen digits without the
// hyphen get it; twelve are a number whose leading zero a spreadsheet dropped.
std::string RegistrationNumber(const std::string& cp949);

// The thirteen digits of a registration number, however it is written ("881130-2123458",
// "8811302123458", blanks between): what tells two workers apart. Nullopt for a blank or
// incomplete number, or one holding anything but digits, hyphens and blanks: such a number
// never matches another.
std::optional<std::uint64_t> NumberKey(std::string_view cp949);

// The job list entry for a job type: an entry itself, an entry's name without its code, or a
// text starting with a code; anything else is the last entry.
std::string JobEntry(const std::string& cp949);

// The telephone as the entry dialog stores it. A number already in the stored form, as the
// worker list shows it, is taken back to the edit form first.
std::string StoredPhone(const std::string& cp949);

// What a day cell of a list says.
enum class DayCell {
    Empty,   // blank: not worked
    Mark,    // one of the texts the day strip takes for the mark ("√", "o", "O", "v", "V", "1")
    Other,   // anything else: not taken for a mark
};
DayCell ReadDayCell(std::string_view utf8);

} // namespace lavodc
