#pragma once
// A settings file in the Windows profile format, over CP949 bytes, read and written one value
// at a time (the rules of the Windows profile functions):
//
// - A section line is "[name]" (blanks and tabs around the name and the line are ignored);
//   each key line below it is "key=value", blanks and tabs around key and value ignored, and a
//   value enclosed in a matching pair of quotes (' or ") is read without them. Lines starting
//   with ";" are comments. Any other line is kept as it is and means nothing.
// - Section and key names are matched without regard to the case of Latin letters; the two
//   bytes of a CP949 double-byte character are compared exactly. The first matching section
//   and the first matching key in it count.
// - Values are read as at most 2047 bytes.
// - Writing a key replaces the value of its line (the key's spelling in the file stays) or, when
//   it is missing, adds "key=value" after the last non-blank line of the section; a missing
//   section is added at the end of the file, a missing file is created (its folder is not).
//   Every other line is kept byte for byte, with its own line end; added lines use the line
//   end of the file ("\r\n" for a new file).
// - The file is opened and closed on every access; nothing is cached.
//
// Plain C++: names, values and file contents are CP949 byte strings, the path is a file-system
// path.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lavodc {

// Raised when the file cannot be written: "Unable to write to <path of the file>".
class IniWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::size_t kIniMaxValueBytes = 2047;

// Whether two section or key names match (blanks and tabs around them are not part of a name).
bool IniNamesEqual(std::string_view a, std::string_view b);

// The value of `key` in `section` of a file whose contents are `contents`, or nothing when the
// section or the key is missing.
std::optional<std::string> IniLookup(std::string_view contents, std::string_view section,
                                     std::string_view key);

// The contents after writing `value` under `section` / `key`. A value is written up to its
// first line break (a value cannot span lines).
std::string IniUpdate(std::string_view contents, std::string_view section, std::string_view key,
                      std::string_view value);

// A whole number as the profile functions read it: optional blanks, then a decimal number with
// an optional sign, or "0x"/"0X" and up to eight hexadecimal digits (taken as 32 bits, so
// "0xFFFFFFFF" is -1); nothing for anything else or a decimal number outside the int range.
std::optional<int> ParseIniInteger(std::string_view text);

class IniFile {
public:
    explicit IniFile(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& path() const { return file_; }

    // Nothing when the file, the section or the key is missing or the file cannot be read.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;
    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
    int readInteger(std::string_view section, std::string_view key, int defaultValue) const;

    // Throws IniWriteError when the file cannot be read back or written.
    void writeText(std::string_view section, std::string_view key, std::string_view value) const;

private:
    std::filesystem::path file_;
};

} // namespace lavodc
