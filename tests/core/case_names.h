#pragma once
// One-line, readable names for parameterised test cases, so that test listings show the
// inputs instead of raw bytes.

#include "core/cp949.h"

#include <string>

namespace lavodc::case_names {

// Quoted, with backslashes, quotes and control characters escaped; with `highBytes`, bytes
// above 0x7F are escaped too (for byte strings that are not UTF-8).
inline std::string QuotedBytes(const std::string& text, bool highBytes = false)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '\\' || ch == '"') {
            out += '\\';
            out += ch;
        } else if (ch == '\r') {
            out += "\\r";
        } else if (ch == '\n') {
            out += "\\n";
        } else if (ch == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F || (highBytes && byte > 0x7F)) {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += ch;
        }
    }
    return out + '"';
}

// CP949 text shown as UTF-8, quoted and escaped.
inline std::string QuotedText(const std::string& cp949)
{
    return QuotedBytes(fromCp949(cp949));
}

// The same without the quotes.
inline std::string EscapedText(const std::string& cp949)
{
    const std::string quoted = QuotedText(cp949);
    return quoted.substr(1, quoted.size() - 2);
}

} // namespace lavodc::case_names
