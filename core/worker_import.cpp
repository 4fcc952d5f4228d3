#include "core/worker_import.h"

#include "core/cp949.h"
#include "core/csv_reader.h"
#include "core/edit_mask.h"
#include "core/grid_columns.h"
#include "core/phone_number.h"
#include "core/quorva_lib.h"
#include "core/reg_number_checker.h"
#include "core/sheet.h"
#include "core/worker_entry_lists.h"

#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace lavodc {

namespace {

// The columns the import reads, by the field of the worker list they belong to.
enum Column { kName, kNumber, kAddress, kPhone, kJob, kHours, kWages, kReason, kColumnCount };

constexpr std::array<std::string_view, kColumnCount> kColumnFields = {
    "pName", "JmnNo", "nAddr", "nTel", "nName", "nDay", "SmMny", "nEtc",
};

constexpr double kDefaultHours = 8;   // what the entry dialog offers

struct TitleLayout {
    std::array<int, kColumnCount> column;   // cell index, -1 when the file lacks it
    std::array<int, kDayCount> day;         // the cells of "1".."31"
    std::array<std::string, kColumnCount> title;   // CP949, for messages
    int matched = 0;
    bool hasDays = false;
};

std::string TrimUtf8(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    return std::string(text.substr(begin, end - begin));
}

// A title as compared: no blank or control character anywhere, so "성    명" is "성명".
std::optional<std::string> TitleKey(std::string_view utf8)
{
    std::string key;
    for (const char c : utf8)
        if (static_cast<unsigned char>(c) > 0x20)
            key += c;
    try {
        return toCp949(key);
    } catch (const EncodingError&) {
        return std::nullopt;
    }
}

const std::map<std::string, int>& TitleColumns()
{
    static const std::map<std::string, int> titles = [] {
        std::map<std::string, int> map;
        for (const GridColumn& column : WorkerListColumns())
            for (int c = 0; c < kColumnCount; ++c)
                if (column.field == kColumnFields[static_cast<std::size_t>(c)])
                    map.emplace(RemoveBlanks(column.title), c);
        return map;
    }();
    return titles;
}

TitleLayout ReadTitles(const CellRow& row)
{
    TitleLayout layout;
    layout.column.fill(-1);
    layout.day.fill(-1);
    const auto& titles = TitleColumns();
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        const std::optional<std::string> key = TitleKey(row.cells[i]);
        if (!key || key->empty())
            continue;
        const int index = static_cast<int>(i);
        if (const auto found = titles.find(*key); found != titles.end()) {
            const auto c = static_cast<std::size_t>(found->second);
            if (layout.column[c] < 0) {
                layout.column[c] = index;
                layout.title[c] = found->first;
                ++layout.matched;
            }
            continue;
        }
        // The day strip's titles are the day numbers.
        int day = 0;
        const auto [end, error] = std::from_chars(key->data(), key->data() + key->size(), day);
        if (error == std::errc() && end == key->data() + key->size() && day >= 1 && day <= kDayCount &&
            (*key)[0] != '0' && layout.day[static_cast<std::size_t>(day - 1)] < 0) {
            layout.day[static_cast<std::size_t>(day - 1)] = index;
            layout.hasDays = true;
        }
    }
    return layout;
}

// The title row and its layout; nullopt when no row names the worker.
std::optional<std::pair<std::size_t, TitleLayout>> FindTitleRow(const CellRows& rows)
{
    for (std::size_t r = 0; r < rows.size(); ++r) {
        TitleLayout layout = ReadTitles(rows[r]);
        if (layout.column[kName] >= 0)
            return std::make_pair(r, std::move(layout));
    }
    return std::nullopt;
}

std::string_view Cell(const CellRow& row, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= row.cells.size())
        return {};
    return row.cells[static_cast<std::size_t>(index)];
}

bool IsEmptyRow(const CellRow& row)
{
    for (const std::string& cell : row.cells)
        if (!TrimUtf8(cell).empty())
            return false;
    return true;
}

bool RemovePrefix(std::string& text, std::string_view prefix)
{
    if (text.compare(0, prefix.size(), prefix) != 0)
        return false;
    text.erase(0, prefix.size());
    return true;
}

// A number as spreadsheets and the worker list show it: blanks and thousands separators
// allowed, a won sign in front or "원" behind. Empty gives `empty`; nullopt when it is no number.
std::optional<double> ReadAmount(std::string_view utf8, double empty)
{
    std::string text;
    for (const char c : utf8)
        if (static_cast<unsigned char>(c) > 0x20 && c != ',')
            text += c;
    if (!RemovePrefix(text, "\xE2\x82\xA9") && !RemovePrefix(text, "\xEF\xBF\xA6"))
        RemovePrefix(text, "\\");
    if (text.size() >= 3 && text.compare(text.size() - 3, 3, "\xEC\x9B\x90") == 0)
        text.erase(text.size() - 3);
    if (text.empty())
        return empty;
    if (text[0] == '+')
        text.erase(0, 1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool AllDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The number as the entry dialog's masked box gives it. Thirteen digits without the hyphen
// get it; twelve are a number whose leading zero a spreadsheet dropped.
std::string RegistrationNumber(const std::string& cp949)
{
    static const EditMask mask(kMgrJmnNoMask);
    std::string text = RemoveBlanks(cp949);
    if (text.size() == 12 && AllDigits(text))
        text.insert(0, 1, '0');
    if (text.size() == 13 && AllDigits(text))
        text.insert(6, 1, '-');
    return mask.normalize(text);
}

// The job list entry for a job type: an entry itself, an entry's name without its code,
// or a text starting with a code; anything else is the last entry.
std::string JobEntry(const std::string& cp949)
{
    const std::string key = RemoveBlanks(cp949);
    for (const std::string& entry : JobEntries()) {
        const std::string entryKey = RemoveBlanks(entry);
        if (key == entryKey || (!key.empty() && key == entryKey.substr(2)))
            return entry;
    }
    return JobEntries()[static_cast<std::size_t>(JobPosition(cp949))];
}

// The telephone as the entry dialog stores it. A number already in the stored form, as the
// worker list shows it, is taken back to the edit form first.
std::string StoredPhone(const std::string& cp949)
{
    std::string text = TrimLeading(cp949);
    if (!text.empty() && text[0] == '(')
        text = UnbracketPhone(text);
    text = cutToWholeCharacters(TrimTrailing(SplitPhoneNumber(text)), 15);
    return cutToWholeCharacters(BracketPhone(text, 3), 15);
}

std::string FieldText(const CellRow& row, int index, std::size_t width)
{
    return cutToWholeCharacters(toCp949(TrimUtf8(Cell(row, index))), width);
}

class RowReader {
public:
    RowReader(const TitleLayout& layout, std::string_view period) : layout_(layout), period_(period) {}

    // The worker of one row, or the refusal that the checks of the row itself give.
    std::optional<RefusedRow> Read(const CellRow& cells, WorkerRow& row) const
    {
        RefusedRow refusal;
        refusal.number = cells.number;
        try {
            row.pName = FieldText(cells, layout_.column[kName], 10);
        } catch (const EncodingError&) {
            return Refuse(refusal, RefusalReason::NotCp949, layout_.title[kName]);
        }
        refusal.name = row.pName;
        if (row.pName.empty())
            return Refuse(refusal, RefusalReason::NoName, {});

        const struct {
            Column column;
            std::string* field;
            std::size_t width;
        } texts[] = {
            {kNumber, &row.JmnNo, 14}, {kJob, &row.nName, 20},  {kAddress, &row.nAddr, 70},
            {kPhone, &row.nTel, 15},   {kReason, &row.nEtc, 30},
        };
        for (const auto& text : texts) {
            try {
                *text.field = FieldText(cells, layout_.column[text.column], text.width);
            } catch (const EncodingError&) {
                return Refuse(refusal, RefusalReason::NotCp949, layout_.title[text.column]);
            }
        }
        row.JmnNo = RegistrationNumber(row.JmnNo);
        row.nName = JobEntry(row.nName);
        row.nTel = StoredPhone(row.nTel);
        row.nEtc = ReasonEntries()[static_cast<std::size_t>(ReasonPosition(row.nEtc))].stored;

        const std::optional<double> hours = ReadAmount(Cell(cells, layout_.column[kHours]), kDefaultHours);
        if (!hours)
            return Refuse(refusal, RefusalReason::NotANumber, layout_.title[kHours]);
        const std::optional<double> wages = ReadAmount(Cell(cells, layout_.column[kWages]), 0);
        if (!wages)
            return Refuse(refusal, RefusalReason::NotANumber, layout_.title[kWages]);
        row.nDay = *hours;
        row.SmMny = *wages;

        for (std::size_t d = 0; d < row.days.size(); ++d) {
            try {
                row.days[d] = FieldText(cells, layout_.day[d], 3);
            } catch (const EncodingError&) {
                return Refuse(refusal, RefusalReason::NotCp949, std::to_string(d + 1));
            }
        }
        row.HCODE = row.SCODE = row.LCODE = 1;
        row.cDate = cutToBytes(period_, 7);
        row.nNal = layout_.hasDays ? row.CountWorkedDays() : 0;
        return std::nullopt;
    }

private:
    static std::optional<RefusedRow> Refuse(RefusedRow& refusal, RefusalReason reason, std::string detail)
    {
        refusal.reason = reason;
        refusal.detail = std::move(detail);
        return refusal;
    }

    const TitleLayout& layout_;
    std::string period_;
};

// The entry dialog's check on leaving the number box: a blank number is not checked.
bool PassesNumberCheck(const std::string& number)
{
    if (RemoveChar('-', RemoveBlanks(number)).empty())
        return true;
    RegNumberChecker checker;
    checker.SetText(number);
    return checker.CheckNumber();
}

std::string ReasonText(RefusalReason reason)
{
    switch (reason) {
    case RefusalReason::NoName: return K("성명 없음");
    case RefusalReason::NumberInSheet: return K("이미 투입되어 있는 주민등록번호");
    case RefusalReason::NumberTwiceInFile: return K("파일 안에서 겹친 주민등록번호");
    case RefusalReason::NotANumber: return K("숫자가 아닌 값");
    case RefusalReason::NotCp949: return K("쓸 수 없는 글자");
    }
    return {};
}

} // namespace

ImportPlan PlanImport(const CellRows& rows, const WorkerTable& table, std::string_view period)
{
    const auto titles = FindTitleRow(rows);
    if (!titles)
        throw ImportError(K("명단의 제목 줄(성명, 주민등록번호, ...)을 찾을 수 없습니다."));
    const auto& [titleIndex, layout] = *titles;

    ImportPlan plan;
    plan.titleRow = rows[titleIndex].number;
    plan.hasDayMarks = layout.hasDays;

    std::set<std::string> inSheet;
    for (int i = 0; i < table.RecordCount(); ++i)
        inSheet.insert(table.RowAt(i).JmnNo);
    std::set<std::string> inFile;

    const RowReader reader(layout, period);
    for (std::size_t r = titleIndex + 1; r < rows.size(); ++r) {
        const CellRow& cells = rows[r];
        if (IsEmptyRow(cells))
            continue;
        WorkerRow row;
        if (std::optional<RefusedRow> refusal = reader.Read(cells, row)) {
            plan.refused.push_back(std::move(*refusal));
            continue;
        }
        RefusedRow refusal{cells.number, row.pName, RefusalReason::NoName, row.JmnNo};
        if (inSheet.count(row.JmnNo)) {
            refusal.reason = RefusalReason::NumberInSheet;
            plan.refused.push_back(std::move(refusal));
        } else if (!inFile.insert(row.JmnNo).second) {
            refusal.reason = RefusalReason::NumberTwiceInFile;
            plan.refused.push_back(std::move(refusal));
        } else {
            if (!PassesNumberCheck(row.JmnNo))
                plan.failingNumbers.push_back(plan.workers.size());
            plan.workers.push_back(std::move(row));
        }
    }
    return plan;
}

CellRows CsvWorkerCells(std::string_view bytes)
{
    const std::string text = CsvTextAsUtf8(bytes);
    CellRows best;
    std::pair<int, int> bestScore{-1, -1};
    for (const char separator : kCsvSeparators) {
        CellRows rows = ParseCsv(text, separator);
        // Most titles first; between equals, the split that gives the rows below the
        // titles as many cells as the title row (a comma inside a name is no separator then).
        std::pair<int, int> score{0, 0};
        if (const auto titles = FindTitleRow(rows)) {
            score.first = titles->second.matched;
            const std::size_t width = rows[titles->first].cells.size();
            for (std::size_t r = titles->first + 1; r < rows.size(); ++r)
                score.second += rows[r].cells.size() == width ? 1 : 0;
        }
        if (score > bestScore) {
            bestScore = score;
            best = std::move(rows);
        }
    }
    return best;
}

std::string ImportSummaryText(const ImportPlan& plan)
{
    std::string text = K("추가할 근로자: ") + std::to_string(plan.workers.size()) + K("명");
    if (!plan.failingNumbers.empty()) {
        text += K("\n그중 주민등록번호가 올바르지 못한 근로자: ") + std::to_string(plan.failingNumbers.size()) +
                K("명 (그대로 추가)");
        for (std::size_t i = 0; i < plan.failingNumbers.size() && i < kNamedRefusals; ++i) {
            const WorkerRow& row = plan.workers[plan.failingNumbers[i]];
            text += "\n  " + row.pName + " (" + row.JmnNo + ")";
        }
        if (plan.failingNumbers.size() > kNamedRefusals)
            text += K("\n  외 ") + std::to_string(plan.failingNumbers.size() - kNamedRefusals) + K("명");
    }
    if (plan.refused.empty())
        return text;

    // How many of each reason, in the order of the reasons.
    std::map<RefusalReason, int> counts;
    for (const RefusedRow& refused : plan.refused)
        ++counts[refused.reason];
    text += K("\n제외되는 행: ") + std::to_string(plan.refused.size()) + K("개 (");
    bool first = true;
    for (const auto& [reason, count] : counts) {
        text += (first ? "" : ", ") + ReasonText(reason) + " " + std::to_string(count);
        first = false;
    }
    text += ")";

    for (std::size_t i = 0; i < plan.refused.size() && i < kNamedRefusals; ++i) {
        const RefusedRow& refused = plan.refused[i];
        text += "\n  " + std::to_string(refused.number) + K("행");
        if (!refused.name.empty())
            text += " " + refused.name;
        text += ": " + ReasonText(refused.reason);
        if (!refused.detail.empty())
            text += " (" + refused.detail + ")";
    }
    if (plan.refused.size() > kNamedRefusals)
        text += K("\n  외 ") + std::to_string(plan.refused.size() - kNamedRefusals) + K("개");
    return text;
}

std::string ImportQuestionText(const ImportPlan& plan)
{
    return ImportSummaryText(plan) + K("\n\n가져오시겠습니까?");
}

std::string ImportDoneText(const ImportPlan& plan)
{
    std::string text = K("명단에서 근로자 ") + std::to_string(plan.workers.size()) + K("명을 추가했습니다");
    if (!plan.refused.empty())
        text += K(" (제외 ") + std::to_string(plan.refused.size()) + K("행)");
    return text;
}

void AddImportedWorkers(WorkerTable& table, const ImportPlan& plan)
{
    FreezeScope frozen(table);
    table.AppendRows(plan.workers);
}

} // namespace lavodc
