#include "core/worker_import.h"

#include "core/cp949.h"
#include "core/csv_reader.h"
#include "core/edit_mask.h"
#include "core/list_titles.h"
#include "core/phone_number.h"
#include "core/quorva_lib.h"
#include "core/reg_number_checker.h"
#include "core/sheet.h"
#include "core/sheet_record.h"
#include "core/worker_entry_lists.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace lavodc {

namespace {

constexpr double kDefaultHours = 8;   // what the entry dialog offers

// An amount written longer than this is no amount a clerk typed.
constexpr std::size_t kMaxAmountText = 64;

std::string_view TrimUtf8(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    return text.substr(begin, end - begin);
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
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == ',')
            continue;
        if (text.size() == kMaxAmountText)
            return std::nullopt;
        text += c;
    }
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
    return value + 0.0;   // no negative zero
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

// A cell's text trimmed, in CP949 and cut to `width` bytes at a whole character. The whole
// text must be CP949 (EncodingError otherwise), but it is converted a slice at a time, so
// that a huge cell never stands in memory twice.
std::string FieldText(std::string_view cell, std::size_t width)
{
    constexpr std::size_t kSlice = 4096;
    std::string_view rest = TrimUtf8(cell);
    std::string kept;
    while (!rest.empty()) {
        std::size_t cut = std::min(kSlice, rest.size());
        while (cut < rest.size() && (static_cast<unsigned char>(rest[cut]) & 0xC0) == 0x80)
            ++cut;   // not inside a character
        const std::string slice = toCp949(rest.substr(0, cut));
        if (kept.size() <= width)
            kept += slice;
        rest.remove_prefix(cut);
    }
    return cutToWholeCharacters(kept, width);
}

// An amount a sheet file can hold and a form can print: not below zero, within the field.
bool StorableAmount(double value)
{
    return value >= 0 && record::fitsAmount(value);
}

class RowReader {
public:
    explicit RowReader(const TitleLayout& layout) : layout_(layout) {}

    // The worker of one row, or the refusal that the checks of the row itself give.
    std::optional<RefusedRow> Read(const ListRow& cells, WorkerRow& row) const
    {
        RefusedRow refusal;
        refusal.number = cells.number;
        try {
            row.pName = Text(cells, kName, 10);
        } catch (const EncodingError&) {
            return Refuse(refusal, RefusalReason::NotCp949, layout_.title[kName]);
        }
        refusal.name = row.pName;
        if (row.pName.empty())
            return Refuse(refusal, RefusalReason::NoName, {});

        const struct {
            ListColumn column;
            std::string* field;
            std::size_t width;
        } texts[] = {
            {kNumber, &row.JmnNo, 14}, {kJob, &row.nName, 20},  {kAddress, &row.nAddr, 70},
            {kPhone, &row.nTel, 15},   {kReason, &row.nEtc, 30},
        };
        for (const auto& text : texts) {
            try {
                *text.field = Text(cells, text.column, text.width);
            } catch (const EncodingError&) {
                return Refuse(refusal, RefusalReason::NotCp949, layout_.title[text.column]);
            }
        }
        row.JmnNo = RegistrationNumber(row.JmnNo);
        row.nName = JobEntry(row.nName);
        row.nTel = StoredPhone(row.nTel);
        row.nEtc = ReasonEntries()[static_cast<std::size_t>(ReasonPosition(row.nEtc))].stored;

        const struct {
            ListColumn column;
            double* field;
            double empty;
        } amounts[] = {{kHours, &row.nDay, kDefaultHours}, {kWages, &row.SmMny, 0}};
        for (const auto& amount : amounts) {
            const std::optional<double> value = ReadAmount(Cell(cells, layout_.column[amount.column]), amount.empty);
            if (!value)
                return Refuse(refusal, RefusalReason::NotANumber, layout_.title[amount.column]);
            if (!StorableAmount(*value))
                return Refuse(refusal, RefusalReason::AmountNotStorable, layout_.title[amount.column]);
            *amount.field = *value;
        }

        for (std::size_t d = 0; d < row.days.size(); ++d) {
            try {
                row.days[d] = FieldText(Cell(cells, layout_.day[d]), 3);
            } catch (const EncodingError&) {
                return Refuse(refusal, RefusalReason::NotCp949, std::to_string(d + 1));
            }
        }
        row.nNal = layout_.hasDays ? row.CountWorkedDays() : 0;
        return std::nullopt;
    }

private:
    static std::string_view Cell(const ListRow& row, std::size_t column)
    {
        return column == kNoColumn ? std::string_view() : CellText(row.cells, column);
    }

    std::string Text(const ListRow& row, ListColumn column, std::size_t width) const
    {
        return FieldText(Cell(row, layout_.column[column]), width);
    }

    static std::optional<RefusedRow> Refuse(RefusedRow& refusal, RefusalReason reason, std::string detail)
    {
        refusal.reason = reason;
        refusal.detail = std::move(detail);
        return refusal;
    }

    const TitleLayout& layout_;
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

[[noreturn]] void ThrowNoTitleRow()
{
    throw ImportError(K("명단의 제목 줄(성명, 주민등록번호, ...)을 찾을 수 없습니다."));
}

// Takes the rows of a list as they come: looks for the title row, then reads only the
// columns under its titles and plans each row at once.
class ImportPlanner : public ListRowSink {
public:
    ImportPlanner(const WorkerTable& table, std::string_view period)
    {
        plan_.period = cutToBytes(period, 7);
        for (int i = 0; i < table.RecordCount(); ++i)
            inSheet_.insert(table.RowAt(i).JmnNo);
    }

    CellUse Use(std::size_t column) const override
    {
        if (!reader_)
            return CellUse::Key;
        return std::binary_search(columns_.begin(), columns_.end(), column) ? CellUse::Whole : CellUse::Skip;
    }

    void Row(const ListRow& row) override
    {
        if (!reader_) {
            TitleLayout layout = ReadTitles(row);
            if (!layout.HasName())
                return;
            layout_ = std::move(layout);
            columns_ = layout_.Columns();
            plan_.titleRow = row.number;
            plan_.hasDayMarks = layout_.hasDays;
            reader_.emplace(layout_);
            return;
        }
        if (row.blank)
            return;
        WorkerRow worker;
        if (std::optional<RefusedRow> refusal = reader_->Read(row, worker)) {
            plan_.refused.push_back(std::move(*refusal));
            return;
        }
        RefusedRow refusal{row.number, worker.pName, RefusalReason::NoName, worker.JmnNo};
        if (inSheet_.count(worker.JmnNo)) {
            refusal.reason = RefusalReason::NumberInSheet;
            plan_.refused.push_back(std::move(refusal));
        } else if (!inFile_.insert(worker.JmnNo).second) {
            refusal.reason = RefusalReason::NumberTwiceInFile;
            plan_.refused.push_back(std::move(refusal));
        } else {
            if (!PassesNumberCheck(worker.JmnNo))
                plan_.failingNumbers.push_back(plan_.workers.size());
            plan_.workers.add(std::move(worker));
        }
    }

    ImportPlan Take()
    {
        if (!reader_)
            ThrowNoTitleRow();
        return std::move(plan_);
    }

private:
    ImportPlan plan_;
    std::set<std::string> inSheet_;
    std::set<std::string> inFile_;
    TitleLayout layout_;
    std::vector<std::size_t> columns_;
    std::optional<RowReader> reader_;
};

// How well a separator splits a CSV file: the titles its title row holds, then the rows
// below with as many cells as the title row. Keeps nothing of the rows.
class SeparatorScore : public ListRowSink {
public:
    CellUse Use(std::size_t) const override { return found_ ? CellUse::Skip : CellUse::Key; }

    void Row(const ListRow& row) override
    {
        if (found_) {
            score_.second += row.width == width_ ? 1 : 0;
            return;
        }
        const TitleLayout layout = ReadTitles(row);
        if (layout.HasName()) {
            found_ = true;
            width_ = row.width;
            score_.first = layout.matched;
        }
    }

    bool found() const { return found_; }
    std::pair<int, long> score() const { return score_; }

private:
    bool found_ = false;
    std::size_t width_ = 0;
    std::pair<int, long> score_{0, 0};
};

std::string ReasonText(RefusalReason reason)
{
    switch (reason) {
    case RefusalReason::NoName: return K("성명 없음");
    case RefusalReason::NumberInSheet: return K("이미 투입되어 있는 주민등록번호");
    case RefusalReason::NumberTwiceInFile: return K("파일 안에서 겹친 주민등록번호");
    case RefusalReason::NotANumber: return K("숫자가 아닌 값");
    case RefusalReason::AmountNotStorable: return K("음수이거나 너무 큰 값");
    case RefusalReason::NotCp949: return K("쓸 수 없는 글자");
    }
    return {};
}

} // namespace

WorkerRow ImportPlan::Worker(std::size_t index) const
{
    WorkerRow row;
    workers.unpack(index, row);
    row.HCODE = row.SCODE = row.LCODE = 1;
    row.cDate = period;
    return row;
}

ImportPlan PlanImport(const ListReading& read, const WorkerTable& table, std::string_view period)
{
    ImportPlanner planner(table, period);
    read(planner);
    return planner.Take();
}

ImportPlan PlanCsvImport(ByteSource& bytes, const WorkerTable& table, std::string_view period)
{
    const CsvEncoding encoding = DetectCsvEncoding(bytes);

    // The three splits side by side in one reading; they keep no text, so the limits are
    // left to the reading that plans.
    std::array<SeparatorScore, std::size(kCsvSeparators)> scores;
    std::vector<CsvParser> parsers;
    parsers.reserve(scores.size());
    for (std::size_t i = 0; i < scores.size(); ++i)
        parsers.emplace_back(kCsvSeparators[i], scores[i], false);
    ReadCsvText(bytes, encoding, [&parsers](std::string_view text) {
        for (CsvParser& parser : parsers)
            parser.Feed(text);
    });
    for (CsvParser& parser : parsers)
        parser.Finish();

    // Most titles first; between equals, the split that gives the rows below the titles as
    // many cells as the title row (a comma inside a name is no separator then).
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < scores.size(); ++i)
        if (scores[i].found() && (!best || scores[i].score() > scores[*best].score()))
            best = i;
    if (!best)
        ThrowNoTitleRow();

    return PlanImport(
        [&](ListRowSink& sink) {
            CsvParser parser(kCsvSeparators[*best], sink);
            ReadCsvText(bytes, encoding, [&parser](std::string_view text) { parser.Feed(text); });
            parser.Finish();
        },
        table, period);
}

std::string ImportSummaryText(const ImportPlan& plan)
{
    std::string text = K("추가할 근로자: ") + std::to_string(plan.workers.size()) + K("명");
    if (!plan.failingNumbers.empty()) {
        text += K("\n그중 주민등록번호가 올바르지 못한 근로자: ") + std::to_string(plan.failingNumbers.size()) +
                K("명 (그대로 추가)");
        for (std::size_t i = 0; i < plan.failingNumbers.size() && i < kNamedRefusals; ++i) {
            const WorkerRow row = plan.Worker(plan.failingNumbers[i]);
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

void AddImportedWorkers(WorkerTable& table, ImportPlan& plan)
{
    FreezeScope frozen(table);
    table.AppendRows(plan.workers.size(), [&plan](std::size_t i, WorkerRow& row) {
        row = plan.Worker(i);
        plan.workers.release(i + 1);
    });
}

} // namespace lavodc
