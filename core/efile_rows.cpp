#include "core/efile_rows.h"

#include "core/cp949.h"
#include "core/phone_number.h"
#include "core/quorva_lib.h"
#include "core/worker_entry_lists.h"

#include <cmath>
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
    const std::string y = Trim(year);
    const std::string m = Trim(month);
    if (y.size() != 4 || m.empty() || m.size() > 2)
        return std::nullopt;
    for (char c : y + m)
        if (!isDigit(c))
            return std::nullopt;
    const int yy = std::stoi(y);
    const int mm = std::stoi(m);
    if (mm < 1 || mm > 12 || yy < 1)
        return std::nullopt;
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (yy % 4 == 0 && yy % 100 != 0) || yy % 400 == 0;
    return mm == 2 && leap ? 29 : days[mm - 1];
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
    return JobEntries()[static_cast<std::size_t>(JobPosition(nName))].substr(0, 1);
}

DailyWorkerTax DailyWorkerIncomeTax(double wages, int days)
{
    DailyWorkerTax tax;
    if (days <= 0 || !std::isfinite(wages))
        return tax;
    const long long won = std::llround(wages);
    const long long taxable = won - kTaxFreeDailyPay * days;   // the days' pay above 150,000 a day
    if (taxable <= 0)
        return tax;
    // (pay a day - 150,000) x 6 % x 45 %, cut to whole won, in exact integers: x 27 / 1000.
    const long long taxADay = taxable * 27 / (1000LL * days);
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
    const std::optional<int> monthDays = DaysInMonth(year, month);
    const std::string monthNumber = monthDays ? std::to_string(std::stoi(Trim(month))) : std::string();
    std::map<std::string, std::vector<std::string>> workersByMissingJob;   // key -> names
    std::set<std::string> foreignersAsked;
    const auto note = [&](const WorkerRow& row, const char* utf8Text) {
        sheet.summary.push_back(shownName(row) + ": " + K(utf8Text));
    };

    for (const WorkerRow& worker : workers) {
        EfileRow row;
        row.insurance = options.insurance;
        row.name = shownName(worker);
        row.number = RegistrationDigits(worker.JmnNo);
        const bool wellFormed = row.number.size() == 13
                                && row.number.find_first_not_of("0123456789") == std::string::npos;
        if (!wellFormed)
            note(worker, "주민(외국인)등록번호가 13자리 숫자가 아닙니다");
        if (IsForeignerNumber(row.number)) {
            const auto found = people.find(row.number);
            if (found != people.end() && !found->second.nationality.empty() && !found->second.stayStatus.empty()) {
                row.nationality = found->second.nationality;
                row.stayStatus = found->second.stayStatus;
            } else {
                note(worker, "외국인의 국적코드와 체류자격코드가 없습니다");
                if (foreignersAsked.insert(row.number).second)
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
                note(worker, "전화번호를 지역번호, 국번, 뒷번호로 나눌 수 없어 비웠습니다");
            }
        }

        const std::string jobKey = JobKey(worker.nName);
        if (const auto found = jobs.find(jobKey); found != jobs.end() && !found->second.empty()) {
            row.jobCode = found->second;
        } else {
            auto& names = workersByMissingJob[jobKey];
            if (names.empty())
                sheet.jobsWithoutCode.push_back(jobKey);
            names.push_back(shownName(worker));
        }

        for (int day = 0; day < kDayCount; ++day) {
            if (worker.days[static_cast<std::size_t>(day)] != kDayMark)
                continue;
            if (monthDays && day >= *monthDays) {
                sheet.summary.push_back(shownName(worker) + ": " + monthNumber + K("월에 없는 ")
                                        + std::to_string(day + 1) + K("일의 표시를 뺐습니다"));
                continue;
            }
            row.days[static_cast<std::size_t>(day)] = true;
            ++row.dayCount;
        }
        if (row.dayCount == 0)
            note(worker, "근로일이 없습니다");
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
        const std::string& entry = JobEntries()[static_cast<std::size_t>(JobPosition(key))];
        const auto& names = workersByMissingJob[key];
        std::string line = entry + ": " + K("직종코드가 없습니다") + " (" + names.front();
        if (names.size() > 1)
            line += " " + K("외 ") + std::to_string(names.size() - 1) + K("명");
        sheet.summary.push_back(line + ")");
    }
    return sheet;
}

} // namespace lavodc
