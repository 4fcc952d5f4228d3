#include "services/workbook_writer.h"

#include "services/library_messages.h"

#include "core/cp949.h"
#include "services/column_width.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace lavodc {

namespace {


constexpr double kRowHeight = 17;
constexpr double kFontSize = 9;
constexpr std::uint8_t kHangulCharset = 129;
constexpr lxw_color_t kHeaderGrey = 0xC0C0C0;
constexpr lxw_row_t kTitleRow = 1;       // row 2
constexpr lxw_col_t kFirstColumn = 1;    // column B

const char* fontName()
{
    static const std::string name = "굴림";   // UTF-8, as the workbook stores it
    return name.c_str();
}

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// "_x" followed by four hex digits and "_": read back as one character unless escaped.
bool looksEscaped(const std::string& text, std::size_t i)
{
    return i + 7 <= text.size() && text[i] == '_' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
           isHex(text[i + 2]) && isHex(text[i + 3]) && isHex(text[i + 4]) && isHex(text[i + 5]) &&
           text[i + 6] == '_';
}

void appendEscape(std::string& out, unsigned char code)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "_x%04X_", code);
    out += buffer;
}

// The formats of the sheet. Text columns carry "@" in every cell, the column itself included.
class Formats {
public:
    explicit Formats(lxw_workbook* book)
    {
        for (int text = 0; text < 2; ++text) {
            lxw_format*& column = column_[text];
            column = base(book, text != 0);

            lxw_format* edge = base(book, text != 0);
            format_set_bottom(edge, LXW_BORDER_HAIR);
            format_set_bottom_color(edge, LXW_COLOR_BLACK);
            topEdge_[text] = edge;

            lxw_format* cell = base(book, text != 0);
            bordered(cell);
            cell_[text] = cell;

            lxw_format* title = base(book, text != 0);
            bordered(title);
            format_set_align(title, LXW_ALIGN_CENTER);
            format_set_pattern(title, LXW_PATTERN_SOLID);
            format_set_bg_color(title, kHeaderGrey);
            title_[text] = title;
        }
    }

    lxw_format* column(bool text) const { return column_[text]; }
    lxw_format* topEdge(bool text) const { return topEdge_[text]; }
    lxw_format* title(bool text) const { return title_[text]; }
    lxw_format* cell(bool text) const { return cell_[text]; }

private:
    static lxw_format* base(lxw_workbook* book, bool text)
    {
        lxw_format* format = workbook_add_format(book);
        format_set_font_name(format, fontName());
        format_set_font_size(format, kFontSize);
        format_set_font_charset(format, kHangulCharset);
        if (text)
            format_set_num_format(format, "@");
        return format;
    }

    static void bordered(lxw_format* format)
    {
        format_set_border(format, LXW_BORDER_HAIR);
        format_set_border_color(format, LXW_COLOR_BLACK);
    }

    lxw_format* column_[2] = {};
    lxw_format* topEdge_[2] = {};
    lxw_format* title_[2] = {};
    lxw_format* cell_[2] = {};
};

void check(lxw_error error, const char* what)
{
    if (error != LXW_NO_ERROR)
        throw WorkbookError(std::string(what) + ": " + lxw_strerror(error));
}

void writeText(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const std::string& cp949,
               lxw_format* format)
{
    if (cp949.empty()) {
        check(worksheet_write_blank(sheet, row, column, format), "Cannot write a cell");
        return;
    }
    check(worksheet_write_string(sheet, row, column, WorkbookCellText(cp949).c_str(), format),
          "Cannot write a cell");
}

// Number fields come as the table's plain text of a number; anything else stays text.
void writeNumber(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const std::string& text,
                 lxw_format* format)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) {
        writeText(sheet, row, column, text, format);
        return;
    }
    check(worksheet_write_number(sheet, row, column, value, format), "Cannot write a cell");
}

double fittedWidth(const GridSnapshot& grid, std::size_t column)
{
    int pixels = TextPixels(grid.columns[column].title);
    for (std::size_t row = 0; row < grid.rowCount; ++row)
        pixels = std::max(pixels, TextPixels(grid.cell(row, column)));
    return ColumnWidthForPixels(pixels);
}

void writeSheet(lxw_workbook* book, const GridSnapshot& grid)
{
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet1");
    if (sheet == nullptr)
        throw WorkbookError("Cannot add the sheet");
    const Formats formats(book);
    const std::size_t columnCount = grid.columns.size();
    if (kFirstColumn + columnCount > LXW_COL_MAX || kTitleRow + 1 + grid.rowCount > LXW_ROW_MAX)
        throw WorkbookError("The table does not fit on a sheet");
    const auto lastColumn = static_cast<lxw_col_t>(kFirstColumn + columnCount - 1);

    // Fonts, widths and the text format go on the columns, so that empty cells have them too.
    check(worksheet_set_column(sheet, 0, 0, 1, formats.column(false)), "Cannot set column A");
    for (std::size_t k = 0; k < columnCount; ++k) {
        const auto column = static_cast<lxw_col_t>(kFirstColumn + k);
        const bool text = grid.columns[k].isText;
        check(worksheet_set_column(sheet, column, column, fittedWidth(grid, k), formats.column(text)),
              "Cannot set a column");
    }
    if (lastColumn + 1 < LXW_COL_MAX)
        check(worksheet_set_column(sheet, lastColumn + 1, LXW_COL_MAX - 1, LXW_DEF_COL_WIDTH,
                                   formats.column(false)),
              "Cannot set the columns right of the table");

    worksheet_set_default_row(sheet, kRowHeight, LXW_FALSE);
    const auto lastRow = static_cast<lxw_row_t>(kTitleRow + grid.rowCount);
    for (lxw_row_t row = 0; row <= lastRow; ++row)
        check(worksheet_set_row(sheet, row, kRowHeight, nullptr), "Cannot set a row");

    // The table's top edge over row 1, the titles, the rows.
    for (std::size_t k = 0; k < columnCount; ++k) {
        const auto column = static_cast<lxw_col_t>(kFirstColumn + k);
        const bool text = grid.columns[k].isText;
        check(worksheet_write_blank(sheet, 0, column, formats.topEdge(text)), "Cannot write a cell");
        writeText(sheet, kTitleRow, column, grid.columns[k].title, formats.title(text));
    }
    for (std::size_t r = 0; r < grid.rowCount; ++r) {
        const auto row = static_cast<lxw_row_t>(kTitleRow + 1 + r);
        for (std::size_t k = 0; k < columnCount; ++k) {
            const auto column = static_cast<lxw_col_t>(kFirstColumn + k);
            const bool text = grid.columns[k].isText;
            if (text)
                writeText(sheet, row, column, grid.cell(r, k), formats.cell(true));
            else
                writeNumber(sheet, row, column, grid.cell(r, k), formats.cell(false));
        }
    }

    // Only the table shows lines: the sheet's grid is off.
    worksheet_gridlines(sheet, LXW_HIDE_ALL_GRIDLINES);
    worksheet_set_selection(sheet, kTitleRow, kFirstColumn, kTitleRow, kFirstColumn);
    worksheet_activate(sheet);
}

} // namespace

std::string WorkbookCellText(const std::string& cp949)
{
    bool plain = true;
    for (std::size_t i = 0; plain && i < cp949.size(); ++i) {
        const auto b = static_cast<unsigned char>(cp949[i]);
        plain = !(b < 0x20 && b != '\t' && b != '\n') && b != 0x7F && !looksEscaped(cp949, i);
    }
    const std::string utf8 = fromCp949(cp949);
    if (plain)
        return utf8;
    std::string out;
    out.reserve(utf8.size() + 16);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if ((b < 0x20 && b != '\t' && b != '\n') || b == 0x7F)
            appendEscape(out, b);
        else if (looksEscaped(utf8, i))
            appendEscape(out, '_');
        else
            out.push_back(static_cast<char>(b));
    }
    return out;
}

void WriteWorkbook(const GridSnapshot& grid, const std::string& path)
{
    lxw_error error = LXW_NO_ERROR;
    int systemError = 0;
    {
        const LibraryMessagesSilenced silenced;
        lxw_workbook_options options{};
        lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
        if (book == nullptr)
            throw WorkbookError("Cannot start a workbook");
        try {
            writeSheet(book, grid);
        } catch (...) {
            lxw_workbook_free(book);
            throw;
        }
        errno = 0;
        error = workbook_close(book);
        systemError = errno;
    }
    if (error != LXW_NO_ERROR) {
        std::string reason = lxw_strerror(error);
        if (systemError != 0)
            reason += std::string(" (") + std::strerror(systemError) + ")";
        throw WorkbookError(reason);
    }
}

} // namespace lavodc
