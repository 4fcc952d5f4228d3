#include "core/csv_reader.h"

#include "core/cp949.h"

namespace lavodc {

namespace {

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace

std::string CsvTextAsUtf8(std::string_view bytes)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (bytes.substr(0, bom.size()) == bom)
        bytes.remove_prefix(bom.size());
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    return fromCp949(bytes);
}

CellRows ParseCsv(std::string_view utf8, char separator)
{
    CellRows rows;
    CellRow record;
    std::string field;
    bool quoted = false;       // inside a quoted part of the field
    bool recordOpen = false;   // something was read since the last record ended
    int number = 0;

    auto endField = [&] {
        record.cells.push_back(std::move(field));
        field.clear();
    };
    auto endRecord = [&] {
        endField();
        record.number = ++number;
        rows.push_back(std::move(record));
        record = CellRow{};
        recordOpen = false;
    };

    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < utf8.size() && utf8[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        recordOpen = true;
        if (c == '"') {
            quoted = true;   // a quote inside an unquoted field opens a quoted part too
        } else if (c == separator) {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
            endRecord();
        } else {
            field += c;
        }
    }
    // A quote left open takes the rest of the file as its field.
    if (recordOpen || quoted || !field.empty())
        endRecord();
    return rows;
}

} // namespace lavodc
