#include "core/next_month.h"

#include "core/cp949.h"
#include "core/quorva_lib.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace lavodc {

namespace {

// A box's text as a whole number: digits only once the blanks around them are gone.
bool ReadNumber(const std::string& text, int& value)
{
    const std::string digits = Trim(text);
    if (digits.empty() || digits.size() > 4)
        return false;
    value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool HasReasonForLeaving(const WorkerRow& row)
{
    return !RemoveBlanks(row.nEtc).empty();
}

} // namespace

bool AdvanceHeaderMonth(SheetHeader& header)
{
    int year = 0;
    int month = 0;
    if (!ReadNumber(header.gsyear, year) || !ReadNumber(header.gmonth, month))
        return false;
    if (year < 1 || month < 1 || month > 12)
        return false;
    if (month == 12) {
        if (year == 9999)
            return false;   // the year box holds four digits
        ++year;
        month = 1;
    } else {
        ++month;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04d", year);
    header.gsyear = text;
    std::snprintf(text, sizeof text, "%02d", month);
    header.gmonth = text;
    return true;
}

NextMonthResult AdvanceToNextMonth(Sheet& sheet)
{
    NextMonthResult result;
    result.periodAdvanced = AdvanceHeaderMonth(sheet.header);
    if (result.periodAdvanced)
        sheet.period = PeriodFromHeader(sheet.header);

    WorkerTable& table = sheet.table;
    std::vector<WorkerRow> kept;
    kept.reserve(static_cast<std::size_t>(table.RecordCount()));
    for (int i = 0; i < table.RecordCount(); ++i) {
        const WorkerRow& old = table.RowAt(i);
        if (HasReasonForLeaving(old)) {
            ++result.leftOut;
            continue;
        }
        WorkerRow row;
        row.HCODE = old.HCODE;
        row.SCODE = old.SCODE;
        row.LCODE = old.LCODE;
        row.cDate = result.periodAdvanced ? sheet.period : old.cDate;
        row.pName = old.pName;
        row.JmnNo = old.JmnNo;
        row.nName = old.nName;
        row.nAddr = old.nAddr;
        row.nTel = old.nTel;
        row.nDay = old.nDay;
        kept.push_back(std::move(row));   // days, nNal, SmMny and nEtc start empty
    }
    result.carried = static_cast<int>(kept.size());

    FreezeScope frozen(table);
    table.SetIndexFieldNames(kByNameIndex);
    table.ReplaceRows(std::move(kept));
    if (!table.IsEmpty())
        table.First();
    return result;
}

std::string NextMonthStatusText(const SheetHeader& header, const NextMonthResult& result)
{
    std::string text;
    if (result.periodAdvanced)
        text = Trim(header.gsyear) + K("년 ") + Trim(header.gmonth) + K("월분 새 신고서: ");
    else
        text = K("새 신고서(년월 그대로): ");
    text += K("근로자 ") + std::to_string(result.carried) + K("명");
    if (result.leftOut > 0)
        text += K(", 이직자 ") + std::to_string(result.leftOut) + K("명 제외");
    return text;
}

std::string InvalidPeriodText()
{
    return K("년 또는 월이 비었거나 올바르지 않아 그대로 두었습니다.");
}

} // namespace lavodc
