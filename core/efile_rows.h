#pragma once
// The rows of the month's e-filing workbook (근로내용확인신고 전자신고용): one row a worker in the
// sheet's order, with the codes the agency asks for, and a summary of what is missing or left
// out. Plain data; writing the workbook is elsewhere.

#include "core/worker_fields.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lavodc {

// A foreigner's codes, entered once a person and kept by registration number.
struct PersonCodes {
    std::string nationality;   // e.g. "100" is Korea; three characters
    std::string stayStatus;    // e.g. "E9"
};

struct EfileOptions {
    std::string insurance = "5";   // "1", "3" or "5" (both insurances)
    // Report to the tax office in the same filing; the month of payment as "yyyymm".
    bool reportToTaxOffice = false;
    std::string paymentMonth;
};

// Occupation codes by the job type's first character ("A" for "A.철근원").
using JobCodes = std::map<std::string, std::string>;
// Codes of foreigners by the 13 digits of their registration number.
using PeopleCodes = std::map<std::string, PersonCodes>;

// One row of the workbook. Texts are CP949.
struct EfileRow {
    std::string insurance;                  // A
    std::string name;                       // B
    std::string number;                     // C: 13 digits
    std::string nationality;                // D
    std::string stayStatus;                 // E
    std::string telArea, telExchange, telLine;   // F, G, H
    std::string jobCode;                    // I
    std::array<bool, kDayCount> days{};     // J .. AN: 1 or empty
    int dayCount = 0;                       // AO and AQ
    double hours = 0;                       // AP
    double wages = 0;                       // AR and AS
    std::string leaveReason;                // AT: "1", "2", "3" or empty
    // AW .. BB, only when reporting to the tax office.
    bool taxColumns = false;
    std::string paymentMonth;               // AX
    long long incomeTax = 0;                // BA
    long long localIncomeTax = 0;           // BB
};

// A foreigner of the sheet, once a registration number.
struct EfileForeigner {
    std::string number;   // 13 digits
    std::string name;     // as the worker list shows it (CP949)
};

struct EfileSheet {
    std::vector<EfileRow> rows;
    std::vector<std::string> summary;   // CP949, one line a problem, in the rows' order
    // What the dialog offers the clerk to fill, in order of appearance: the job types of the
    // sheet (the keys of the job table) and its foreigners; and which of them lack codes.
    std::vector<std::string> jobsUsed;
    std::vector<EfileForeigner> foreigners;
    std::vector<std::string> jobsWithoutCode;
    std::vector<std::string> foreignersWithoutCodes;
};

// `year` and `month` are the sheet's ("2026", "11"); a month that is not a real one keeps
// every day.
EfileSheet BuildEfileSheet(const std::vector<WorkerRow>& workers, const std::string& year, const std::string& month,
                           const JobCodes& jobs, const PeopleCodes& people, const EfileOptions& options);

// The income tax of a daily worker's month: the daily pay (wages / days) above 150,000 won
// taxed at 6 % less a 55 % credit, cut to whole won a day, times the days; nothing under
// 1,000 won. The local income tax is a tenth of it, cut to whole won. Worked out on the
// wages as the sheet file holds them (ten-thousandths of a won), so nothing is rounded on
// the way.
struct DailyWorkerTax {
    long long incomeTax = 0;
    long long localIncomeTax = 0;
};
DailyWorkerTax DailyWorkerIncomeTax(double wages, int days);

// Days in a month of the Gregorian calendar; nothing when the texts name no month.
std::optional<int> DaysInMonth(const std::string& year, const std::string& month);

// The 13 digits of a stored registration number, without hyphen and blanks.
std::string RegistrationDigits(const std::string& JmnNo);
// A number whose seventh digit is 5 to 8 belongs to a foreigner.
bool IsForeignerNumber(const std::string& digits);
// The key of the job table for a stored job type: its first character after leading blanks
// when that names an entry of the job list ("A" for "A.철근원"); empty for a job type off the
// list, which gets no code rather than that of an entry it may not be.
std::string JobKey(const std::string& nName);
// The job list's entry for a key ("B" gives "B.철골공"); empty for a key off the list.
std::string JobEntryOfKey(const std::string& key);

// The month of payment as the workbook holds it, "yyyymm", from the sheet's year and month
// boxes; empty when they name no month.
std::string PaymentMonthOf(const std::string& year, const std::string& month);
// Six digits naming a month: "202611".
bool IsPaymentMonth(const std::string& text);
// A registration number as a person reads it: "900101-5123456" for 13 digits.
std::string HyphenatedNumber(const std::string& digits);

} // namespace lavodc
