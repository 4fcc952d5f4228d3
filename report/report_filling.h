#pragma once
// One run over the worker table: how many detail rows it prints, which worker fills which
// row, and the text rules applied to a label just before its text is drawn.

#include "report/report_labels.h"

#include "core/worker_table.h"

#include <string>
#include <string_view>
#include <utility>

namespace lavodc::report {

class ReportFilling {
public:
    ReportFilling(WorkerTable& table, DetailTexts& labels);

    // Once before the first page: row counter 1, row total 8 x floor(n / 8) + 8.
    void QuickRepBeforePrint();
    // Before each detail row: whether another one follows.
    bool QuickRepNeedData() const;
    // Before each detail row is laid out: fills the 39 labels from the current worker and
    // moves on, or empties them once the table is exhausted.
    void QRBand3BeforePrint();

    int RowTotal() const { return rowTotal_; }

private:
    WorkerTable& table_;
    DetailTexts& labels_;
    int rowCounter_ = 1;
    int rowTotal_ = 0;
};

inline constexpr int kRowsPerPage = 8;

// Detail rows a run prints for `workers` rows: the workers, then one to eight blank rows.
int RowTotalFor(int workers);

// The texts a row's labels take from one worker.
void FillDetailTexts(const WorkerRow& row, DetailTexts& labels);

// Plain decimal text: up to 15 significant digits, no grouping, no trailing zeros;
// empty for a field without a value (NaN).
std::string PlainNumberText(double value);
// The wage as the form shows it: grouped whole won, right-aligned in 11; empty without a value.
std::string WageText(double value);
// The address box's text: the whole address, then, when there is a telephone, a carriage
// return and the telephone without its padding blanks. The form lays the two out itself.
inline constexpr char kAddressPhoneSeparator = '\r';
std::string AddressText(std::string_view nAddr, std::string_view nTel);
std::pair<std::string_view, std::string_view> AddressAndPhone(std::string_view addressText);
// Inserts one blank so that a line break can fall before byte `limit` (read in CP949),
// unless a blank within the limit breaks the line already.
std::string BreakPointText(std::string_view text, int limit);

// Print-time rules; each gets the non-empty text about to be drawn and may replace it.
void pNamePrint(std::string& value);
void nNamePrint(std::string& value);   // also for nEtc
void nNalPrint(std::string& value);
void nDayPrint(std::string& value);
void SmMnyPrint(std::string& value);
void QRSysData1Print(std::string& value);

// The text drawn for a label holding `stored`: the label's print-time rule, or the text
// itself; an empty text is never handed to a rule.
std::string PrintTimeText(std::string_view label, std::string_view stored);

} // namespace lavodc::report
