#include "core/efile_rows.h"

#include "core/cp949.h"
#include "core/month_calendar.h"
#include "core/phone_number.h"
#include "core/quorva_lib.h"
#include "core/worker_entry_lists.h"

#include <cmath>
#include <cstdio>
#include <set>

namespace lavodc {

namespace {

constexpr long long kTaxFreeDailyPay = 150000;
constexpr long long kSmallestTax = 1000;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The name as the worker list shows it.
std::string shownName(const WorkerRow& row)
{
    return std::string(WithoutDanglingHalf(row.pName));
}

// Area, exchange and line of a stored telephone; nothing when it has no three (or, for a
// nationwide number, two) parts.
std::optional<std::array<std::string, 3>> phoneParts(const std::string& nTel)
{
    const std::string edit = SplitPhoneNumber(UnbracketPhone(nTel));
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dash = edit.find('-', start);
        parts.push_back(edit.substr(start, dash - start));
        if (dash == std::string::npos)
            break;
        start = dash + 1;
    }
    for (const std::string& part : parts)
        for (char c : part)
            if (!isDigit(c) || part.empty())
                return std::nullopt;
    if (parts.size() == 3 && !parts[0].empty() && !parts[1].empty() && !parts[2].empty())
        return std::array<std::string, 3>{parts[0], parts[1], parts[2]};
    if (parts.size() == 2 && !parts[0].empty() && !parts[1].empty())
        return std::array<std::string, 3>{std::string(), parts[0], parts[1]};
    return std::nullopt;
}

std::string leaveReason(const std::string& nEtc)
{
    const std::string reason = TrimLeading(nEtc);
    if (!reason.empty() && reason[0] >= '1' && reason[0] <= '3')
        return reason.substr(0, 1);
    return {};
}

} // namespace

std::optional<int> DaysInMonth(const std::string& year, const std::string& month)
{
    const std::optional<HeaderMonth> named = MonthOfHeader(year, month);
    return named ? std::optional<int>(named->days) : std::nullopt;
}

std::string RegistrationDigits(const std::string& JmnNo)
{
    std::string digits;
    for (char c : JmnNo)
        if (c != '-' && c != ' ')
            digits.push_back(c);
    return digits;
}

bool IsForeignerNumber(const std::string& digits)
{
    return digits.size() >= 7 && digits[6] >= '5' && digits[6] <= '8';
}

std::string JobKey(const std::string& nName)
{
    const std::string trimmed = TrimLeading(nName);
    if (trimmed.empty())
        return {};
    const std::string key = trimmed.substr(0, 1);
    return JobEntryOfKey(key).empty() ? std::string() : key;
}

std::string JobEntryOfKey(const std::string& key)
{
    if (key.size() != 1)
        return {};
    const char c = key[0];
    if (!((c >= '1' && c <= '9') || (c >= 'A' && c <= 'U')))
        return {};
    return JobEntries()[static_cast<std::size_t>(JobPosition(key))];
}

std::string PaymentMonthOf(const std::string& year, const std::string& month)
{
    const std::optional<HeaderMonth> named = MonthOfHeader(year, month);
    if (!named || named->year < 1000)
        return {};
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d", named->year, named->month);
    return text;
}

bool IsPaymentMonth(const std::string& text)
{
    return text.size() == 6 && DaysInMonth(text.substr(0, 4), text.substr(4)).has_value();
}

std::string HyphenatedNumber(const std::string& digits)
{
    if (digits.size() != 13)
        return digits;
    return digits.substr(0, 6) + "-" + digits.substr(6);
}

DailyWorkerTax DailyWorkerIncomeTax(double wages, int days)
{
    DailyWorkerTax tax;
    // Past the amounts a sheet file can hold there is nothing to work out.
    constexpr long double kLargest = 922337203685477.0L;
    if (days <= 0 || !std::isfinite(wages) || std::fabs(static_cast<long double>(wages)) > kLargest)
        return tax;
    // In ten-thousandths of a won, as the file holds the amount: (pay a day - 150,000) x 6 % x 45 %
    // = (wages - 150,000 x days) x 27 / (1,000 x days), cut to whole won.
    const __int128 wages4 = std::nearbyintl(static_cast<long double>(wages) * 10000.0L);
    const __int128 taxable4 = wages4 - static_cast<__int128>(kTaxFreeDailyPay) * 10000 * days;
    if (taxable4 <= 0)
        return tax;
    const auto taxADay = static_cast<long long>(taxable4 * 27 / (static_cast<__int128>(10000) * 1000 * days));
    tax.incomeTax = taxADay * days;
    if (tax.incomeTax < kSmallestTax)
        tax.incomeTax = 0;
    tax.localIncomeTax = tax.incomeTax / 10;
    return tax;
}

EfileSheet BuildEfileSheet(const std::vector<WorkerRow>& workers, const std::string& year, const std::string& month,
                           const JobCodes& jobs, const PeopleCodes& people, const EfileOptions& options)
{
    EfileSheet sheet;
    sheet.rows.reserve(workers.size());
    const std::optional<int> monthDays = DaysInMonth(year, month);
    const std::string monthNumber = monthDays ? std::to_string(std::stoi(Trim(month))) : std::string();
    std::map<std::string, std::vector<std::string>> workersByMissingJob;   // key -> names
    std::set<std::string> jobsSeen;
    std::set<std::string> foreignersSeen;
    const auto note = [&](const std::string& name, const std::string& cp949Text) {
        sheet.summary.push_back(name + ": " + cp949Text);
    };

    for (const WorkerRow& worker : workers) {
        EfileRow row;
        row.insurance = options.insurance;
        row.name = shownName(worker);
        row.number = RegistrationDigits(worker.JmnNo);
        const bool wellFormed = row.number.size() == 13
                                && row.number.find_first_not_of("0123456789") == std::string::npos;
        if (!wellFormed) {
            // Neither Korean nor foreign: no nationality is guessed for it.
            note(row.name, K("주민(외국인)등록번호가 13자리 숫자가 아닙니다"));
        } else if (IsForeignerNumber(row.number)) {
            const bool first = foreignersSeen.insert(row.number).second;
            if (first)
                sheet.foreigners.push_back({row.number, row.name});
            const auto found = people.find(row.number);
            if (found != people.end() && !found->second.nationality.empty() && !found->second.stayStatus.empty()) {
                row.nationality = found->second.nationality;
                row.stayStatus = found->second.stayStatus;
            } else {
                note(row.name, K("외국인의 국적코드와 체류자격코드가 없습니다"));
                if (first)
                    sheet.foreignersWithoutCodes.push_back(row.number);
            }
        } else {
            row.nationality = "100";
        }

        if (!Trim(worker.nTel).empty()) {
            if (const auto parts = phoneParts(worker.nTel)) {
                row.telArea = (*parts)[0];
                row.telExchange = (*parts)[1];
                row.telLine = (*parts)[2];
            } else {
                note(row.name, K("전화번호를 지역번호, 국번, 뒷번호로 나눌 수 없어 비웠습니다"));
            }
        }

        const std::string jobKey = JobKey(worker.nName);
        if (jobKey.empty()) {
            const std::string job = Trim(worker.nName);
            note(row.name, job.empty() ? K("직종이 없어 직종코드를 비웠습니다")
                                       : K("직종 목록에 없는 직종(") + job + K(")이라 직종코드를 비웠습니다"));
        } else {
            if (jobsSeen.insert(jobKey).second)
                sheet.jobsUsed.push_back(jobKey);
            if (const auto found = jobs.find(jobKey); found != jobs.end() && !found->second.empty()) {
                row.jobCode = found->second;
            } else {
                auto& names = workersByMissingJob[jobKey];
                if (names.empty())
                    sheet.jobsWithoutCode.push_back(jobKey);
                names.push_back(row.name);
            }
        }

        for (int day = 0; day < kDayCount; ++day) {
            if (worker.days[static_cast<std::size_t>(day)] != kDayMark)
                continue;
            if (monthDays && day >= *monthDays) {
                note(row.name, monthNumber + K("월에 없는 ") + std::to_string(day + 1) + K("일의 표시를 뺐습니다"));
                continue;
            }
            row.days[static_cast<std::size_t>(day)] = true;
            ++row.dayCount;
        }
        if (row.dayCount == 0)
            note(row.name, K("근로일이 없습니다"));
        row.hours = worker.nDay;
        row.wages = worker.SmMny;
        row.leaveReason = leaveReason(worker.nEtc);

        if (options.reportToTaxOffice) {
            row.taxColumns = true;
            row.paymentMonth = options.paymentMonth;
            const DailyWorkerTax tax = DailyWorkerIncomeTax(worker.SmMny, row.dayCount);
            row.incomeTax = tax.incomeTax;
            row.localIncomeTax = tax.localIncomeTax;
        }
        sheet.rows.push_back(std::move(row));
    }

    for (const std::string& key : sheet.jobsWithoutCode) {
        const auto& names = workersByMissingJob[key];
        std::string line = JobEntryOfKey(key) + ": " + K("직종코드가 없습니다") + " (" + names.front();
        if (names.size() > 1)
            line += " " + K("외 ") + std::to_string(names.size() - 1) + K("명");
        sheet.summary.push_back(line + ")");
    }
    return sheet;
}

} // namespace lavodc
