#include "services/efile_workbook.h"

#include "services/library_messages.h"

#include "core/safe_save.h"
#include "services/workbook_writer.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lavodc {

namespace {

// Zero-based columns.
constexpr lxw_col_t kInsurance = 0;    // A
constexpr lxw_col_t kName = 1;         // B
constexpr lxw_col_t kNumber = 2;       // C
constexpr lxw_col_t kFirstDay = 9;     // J; AN is the 31st
constexpr lxw_col_t kDayCount = 40;    // AO
constexpr lxw_col_t kLeaveReason = 45; // AT
constexpr lxw_col_t kTaxReport = 48;   // AW
constexpr lxw_col_t kLastColumn = 53;  // BB

void check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw WorkbookError(std::string("Cannot write a cell: ") + lxw_strerror(error));
}

bool isTextColumn(lxw_col_t column)
{
    return column <= 8 || column == kLeaveReason || column == kTaxReport || column == kTaxReport + 1;
}

// Wide enough for the title (a Hangul syllable takes two characters' room) and the values.
double widthOf(lxw_col_t column, const std::string& utf8Title)
{
    double title = 1;
    for (const char c : utf8Title) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            title += 1;
        else if (byte >= 0xC0)
            title += 2;
    }
    const double values = column == kName || column == kNumber ? 15 : column >= kFirstDay && column < kDayCount ? 4 : 10;
    return std::max(title, values);
}

class RowWriter {
public:
    RowWriter(lxw_worksheet* sheet, lxw_row_t row, lxw_format* text) : sheet_(sheet), row_(row), text_(text) {}

    // An empty text leaves the cell empty.
    void text(lxw_col_t column, const std::string& cp949)
    {
        if (!cp949.empty())
            check(worksheet_write_string(sheet_, row_, column, WorkbookCellText(cp949).c_str(), text_));
    }
    void number(lxw_col_t column, double value) { check(worksheet_write_number(sheet_, row_, column, value, nullptr)); }

private:
    lxw_worksheet* sheet_;
    lxw_row_t row_;
    lxw_format* text_;
};

void writeRow(lxw_worksheet* sheet, lxw_row_t at, const EfileRow& row, lxw_format* text)
{
    RowWriter cells(sheet, at, text);
    cells.text(kInsurance, row.insurance);
    cells.text(kName, row.name);
    cells.text(kNumber, row.number);
    cells.text(3, row.nationality);
    cells.text(4, row.stayStatus);
    cells.text(5, row.telArea);
    cells.text(6, row.telExchange);
    cells.text(7, row.telLine);
    cells.text(8, row.jobCode);
    for (lxw_col_t day = 0; day < static_cast<lxw_col_t>(row.days.size()); ++day)
        if (row.days[day])
            cells.number(kFirstDay + day, 1);
    cells.number(kDayCount, row.dayCount);        // AO
    cells.number(kDayCount + 1, row.hours);       // AP
    cells.number(kDayCount + 2, row.dayCount);    // AQ
    cells.number(kDayCount + 3, row.wages);       // AR
    cells.number(kDayCount + 4, row.wages);       // AS
    cells.text(kLeaveReason, row.leaveReason);    // AT; AU and AV stay empty
    if (!row.taxColumns)
        return;
    cells.text(kTaxReport, "Y");                          // AW
    cells.text(kTaxReport + 1, row.paymentMonth);         // AX
    cells.number(kTaxReport + 2, row.wages);              // AY
    cells.number(kTaxReport + 3, 0);                      // AZ
    cells.number(kTaxReport + 4, static_cast<double>(row.incomeTax));        // BA
    cells.number(kTaxReport + 5, static_cast<double>(row.localIncomeTax));   // BB
}

void writeSheet(lxw_workbook* book, const EfileSheet& efile)
{
    lxw_worksheet* sheet = workbook_add_worksheet(book, "서식");
    if (sheet == nullptr)
        throw WorkbookError("Cannot add the sheet");
    if (efile.rows.size() + 1 > LXW_ROW_MAX)
        throw WorkbookError("The workers do not fit on a sheet");
    // Text columns carry the text format on the column too, so that a code typed in later
    // keeps its leading zeros.
    lxw_format* text = workbook_add_format(book);
    format_set_num_format(text, "@");
    const std::vector<std::string>& titles = EfileTitles();
    for (lxw_col_t column = 0; column <= kLastColumn; ++column)
        check(worksheet_set_column(sheet, column, column, widthOf(column, titles[column]),
                                   isTextColumn(column) ? text : nullptr));

    for (lxw_col_t column = 0; column <= kLastColumn; ++column)
        check(worksheet_write_string(sheet, 0, column, titles[column].c_str(), isTextColumn(column) ? text : nullptr));
    for (std::size_t i = 0; i < efile.rows.size(); ++i)
        writeRow(sheet, static_cast<lxw_row_t>(i + 1), efile.rows[i], text);
}

} // namespace

const std::vector<std::string>& EfileTitles()
{
    static const std::vector<std::string> titles = [] {
        std::vector<std::string> list = {
            "보험구분", "성명", "주민(외국인)등록번호", "국적코드", "체류자격코드",
            "전화(지역번호)", "전화(국번)", "전화(뒷번호)", "직종코드",
        };
        for (int day = 1; day <= 31; ++day)
            list.push_back(std::to_string(day) + "일");
        for (const char* title : {"근로일수", "일평균근로시간", "보수지급기초일수", "보수총액(과세소득)", "임금총액",
                                  "이직사유코드", "보험료부과구분부호", "보험료부과구분사유", "국세청일용근로소득신고여부",
                                  "지급월", "총지급액(과세소득)", "비과세소득", "소득세", "지방소득세"})
            list.push_back(title);
        return list;
    }();
    return titles;
}

void WriteEfileWorkbook(const EfileSheet& sheet, const std::string& path)
{
    const LibraryMessagesSilenced quiet;
    lxw_workbook_options options{};
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    if (book == nullptr)
        throw WorkbookError("Cannot start a workbook");
    try {
        writeSheet(book, sheet);
    } catch (...) {
        lxw_workbook_free(book);
        throw;
    }
    errno = 0;
    const lxw_error error = workbook_close(book);
    if (error != LXW_NO_ERROR) {
        std::string reason = lxw_strerror(error);
        if (errno != 0)
            reason += std::string(" (") + std::strerror(errno) + ")";
        throw WorkbookError(reason);
    }
}

void SaveEfileWorkbook(const EfileSheet& sheet, const std::string& path)
{
    SafeSave save(path);
    WriteEfileWorkbook(sheet, save.temporaryPath());
    save.commit();
}

} // namespace lavodc
