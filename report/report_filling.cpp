#include "report/report_filling.h"

#include "core/cp949.h"
#include "core/quorva_lib.h"
#include "report/line_breaker.h"

#include <cmath>
#include <cstdio>

namespace lavodc::report {
namespace {

constexpr int kWageWidth = 11;
constexpr int kNameBreak = 8;
constexpr int kJobBreak = 13;

} // namespace

int RowTotalFor(int workers)
{
    return kRowsPerPage * (workers / kRowsPerPage) + kRowsPerPage;
}

ReportFilling::ReportFilling(WorkerTable& table, DetailTexts& labels) : table_(table), labels_(labels) {}

void ReportFilling::QuickRepBeforePrint()
{
    rowCounter_ = 1;
    rowTotal_ = RowTotalFor(table_.RecordCount());
}

bool ReportFilling::QuickRepNeedData() const
{
    return rowCounter_ <= rowTotal_;
}

void ReportFilling::QRBand3BeforePrint()
{
    ++rowCounter_;
    if (table_.Eof()) {
        for (auto& text : labels_)
            text.clear();
        return;
    }
    FillDetailTexts(table_.CurrentRow(), labels_);
    table_.Next();
}

void FillDetailTexts(const WorkerRow& row, DetailTexts& labels)
{
    labels[kLabelPName] = row.pName;
    labels[kLabelJmnNo] = row.JmnNo;
    labels[kLabelNAddr] = AddressText(row.nAddr, row.nTel);
    labels[kLabelNName] = row.nName;
    for (int day = 0; day < kDayCount; ++day)
        labels[kLabelD01 + day] = row.days[day];
    labels[kLabelNNal] = PlainNumberText(row.nNal);
    labels[kLabelNDay] = PlainNumberText(row.nDay);
    labels[kLabelSmMny] = WageText(row.SmMny);
    labels[kLabelNEtc] = row.nEtc;
}

std::string PlainNumberText(double value)
{
    if (std::isnan(value))
        return {};
    if (value == 0)
        return "0";   // also for -0
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

std::string WageText(double value)
{
    if (!std::isfinite(value))
        return {};
    // A currency amount keeps four decimal places.
    return MoneyValueText(std::round(value * 10000.0) / 10000.0, kWageWidth);
}

std::string AddressText(std::string_view nAddr, std::string_view nTel)
{
    std::string text(WithoutDanglingHalf(Trim(nAddr)));
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';   // a control character inside is no line break of the form's
    const std::string phone = RemoveBlanks(nTel);
    if (!phone.empty())
        text += kAddressPhoneSeparator + phone;
    return text;
}

std::pair<std::string_view, std::string_view> AddressAndPhone(std::string_view text)
{
    const std::size_t separator = text.find(kAddressPhoneSeparator);
    if (separator == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, separator), text.substr(separator + 1)};
}

std::string BreakPointText(std::string_view text, int limit)
{
    const std::string trimmed = TrimTrailing(text);
    const auto n = static_cast<std::size_t>(limit);
    if (trimmed.size() <= n)
        return std::string(text);
    // A blank within the limit is where the line breaks already ("John Smith"); a blank
    // inserted elsewhere would split a word.
    const std::size_t firstWord = trimmed.find_first_not_of(' ');
    const std::size_t blank = trimmed.find(' ', firstWord == std::string::npos ? 0 : firstWord);
    if (blank != std::string::npos && blank <= n)
        return std::string(text);

    // Classify byte n (1-based) reading from the start.
    std::size_t cut = n;
    for (std::size_t pos = 0; pos < n;) {
        const std::size_t len = Cp949CharLength(trimmed, pos);
        if (pos == n - 1) {
            cut = len == 2 ? n - 1 : n;   // a first byte, or a single-byte character
            break;
        }
        if (len == 2 && pos + 1 == n - 1) {
            cut = n - 2;                  // a second byte
            break;
        }
        pos += len;
    }
    return trimmed.substr(0, cut) + ' ' + trimmed.substr(cut);
}

void pNamePrint(std::string& value)
{
    value = BreakPointText(value, kNameBreak);
}

void nNamePrint(std::string& value)
{
    value = BreakPointText(value, kJobBreak);
}

void nNalPrint(std::string& value)
{
    static const std::string days = K("일");
    value += days;
}

void nDayPrint(std::string& value)
{
    static const std::string hours = K("시간");
    value += hours;
}

void SmMnyPrint(std::string& value)
{
    if (Trim(value) == "0")
        value.clear();
}

void QRSysData1Print(std::string& value)
{
    value = "Page: " + value;
}

std::string PrintTimeText(std::string_view label, std::string_view stored)
{
    std::string value(stored);
    if (value.empty())
        return value;
    if (label == "pName")
        pNamePrint(value);
    else if (label == "nName" || label == "nEtc")
        nNamePrint(value);
    else if (label == "nNal")
        nNalPrint(value);
    else if (label == "nDay")
        nDayPrint(value);
    else if (label == "SmMny")
        SmMnyPrint(value);
    else if (label == kPageNumberLabel)
        QRSysData1Print(value);
    return value;
}

} // namespace lavodc::report
