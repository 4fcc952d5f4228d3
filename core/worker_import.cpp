#include "core/worker_import.h"

#include "core/cp949.h"
#include "core/csv_reader.h"
#include "core/list_titles.h"
#include "core/list_values.h"
#include "core/quorva_lib.h"
#include "core/reg_number_checker.h"
#include "core/worker_entry_lists.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace lavodc {

namespace {

constexpr double kDefaultHours = 8;   // what the entry dialog offers

// A registration number as a list may write it, blanks around the hyphen included.
constexpr std::size_t kNumberText = 32;

constexpr std::uint32_t DayBit(int day) { return std::uint32_t(1) << day; }

// What a row gives beyond the worker row it is read into.
struct RowExtras {
    bool hoursGiven = false;   // the daily hours' cell holds a value
    bool wagesGiven = false;   // and the total wages' cell
    std::uint32_t days = 0;    // the days marked
    std::string otherDays;     // the days whose cells hold something else, as "3, 17일"
};

class RowReader {
public:
    explicit RowReader(const TitleLayout& layout) : layout_(layout) {}

    // The worker of one row, or the refusal that the checks of the row itself give.
    std::optional<RefusedRow> Read(const ListRow& cells, WorkerRow& row, RowExtras& extras) const
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
            // The number is cut by its mask, once the blanks inside it are gone.
            {kNumber, &row.JmnNo, kNumberText},
            {kJob, &row.nName, 20},
            {kAddress, &row.nAddr, 70},
            {kPhone, &row.nTel, 15},
            {kReason, &row.nEtc, 30},
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
            bool* given;
        } amounts[] = {{kHours, &row.nDay, kDefaultHours, &extras.hoursGiven},
                       {kWages, &row.SmMny, 0, &extras.wagesGiven}};
        for (const auto& amount : amounts) {
            const std::optional<Amount> value = ReadAmount(Cell(cells, layout_.column[amount.column]));
            if (!value)
                return Refuse(refusal, RefusalReason::NotANumber, layout_.title[amount.column]);
            if (!StorableAmount(value->value))
                return Refuse(refusal, RefusalReason::AmountNotStorable, layout_.title[amount.column]);
            *amount.field = value->given ? value->value : amount.empty;
            *amount.given = value->given;
        }

        for (int d = 0; d < kDayCount; ++d) {
            switch (ReadDayCell(Cell(cells, layout_.day[static_cast<std::size_t>(d)]))) {
            case DayCell::Mark:
                extras.days |= DayBit(d);
                row.days[static_cast<std::size_t>(d)] = kDayMark;
                break;
            case DayCell::Other:
                extras.otherDays += (extras.otherDays.empty() ? "" : ", ") + std::to_string(d + 1);
                break;
            case DayCell::Empty:
                break;
            }
        }
        static const std::string dayWord = K("일");
        if (!extras.otherDays.empty())
            extras.otherDays += dayWord;
        row.nNal = row.CountWorkedDays();
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
    ImportPlanner(const WorkerTable& table, std::string_view period) : table_(table)
    {
        plan_.period = cutToBytes(period, 7);
        for (int i = 0; i < table.RecordCount(); ++i) {
            const std::string& number = table.RowAt(i).JmnNo;
            if (const std::optional<std::uint64_t> key = NumberKey(number)) {
                const auto [at, added] = keysInSheet_.emplace(*key, i);
                if (!added)
                    at->second = kTwiceInSheet;
            } else {
                textsInSheet_.insert(number);
            }
        }
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
            plan_.dayColumns = layout_.dayColumns;
            plan_.hasHours = layout_.column[kHours] != kNoColumn;
            plan_.hasWages = layout_.column[kWages] != kNoColumn;
            reader_.emplace(layout_);
            return;
        }
        if (row.blank)
            return;
        WorkerRow worker;
        RowExtras extras;
        if (std::optional<RefusedRow> refusal = reader_->Read(row, worker, extras)) {
            plan_.refused.push_back(std::move(*refusal));
            return;
        }
        RefusedRow refusal{row.number, worker.pName, RefusalReason::NoName, worker.JmnNo};
        const std::optional<std::uint64_t> key = NumberKey(worker.JmnNo);
        const auto inSheet = key ? keysInSheet_.find(*key) : keysInSheet_.end();
        if (!key && textsInSheet_.count(worker.JmnNo)) {
            refusal.reason = RefusalReason::NumberInSheet;
        } else if (key ? !keysInFile_.insert(*key).second : !textsInFile_.insert(worker.JmnNo).second) {
            refusal.reason = RefusalReason::NumberTwiceInFile;
        } else if (inSheet != keysInSheet_.end() && inSheet->second == kTwiceInSheet) {
            refusal.reason = RefusalReason::NumberTwiceInSheet;
        } else {
            if (!extras.otherDays.empty())
                plan_.otherDays.Add(row.number, worker.pName, std::move(extras.otherDays));
            if (inSheet != keysInSheet_.end())
                Update(row.number, inSheet->second, *key, worker, extras);
            else
                Add(std::move(worker));
            return;
        }
        plan_.refused.push_back(std::move(refusal));
    }

    ImportPlan Take()
    {
        if (!reader_)
            ThrowNoTitleRow();
        return std::move(plan_);
    }

private:
    static constexpr int kTwiceInSheet = -1;

    void Add(WorkerRow worker)
    {
        if (!PassesNumberCheck(worker.JmnNo))
            plan_.failingNumbers.push_back(plan_.workers.size());
        plan_.workers.add(std::move(worker));
    }

    // The list's values for worker `index` of the sheet; planned only when they change it.
    void Update(int number, int index, std::uint64_t key, const WorkerRow& listed, const RowExtras& extras)
    {
        const WorkerRow& current = table_.RowAt(index);
        WorkerUpdate update{index, key, std::nullopt, std::nullopt, extras.days};
        if (extras.hoursGiven)
            update.hours = listed.nDay;
        if (extras.wagesGiven)
            update.wages = listed.SmMny;
        bool changes = (update.hours && *update.hours != current.nDay) || (update.wages && *update.wages != current.SmMny);
        for (int d = 0; plan_.hasDayMarks && d < kDayCount; ++d) {
            const std::string_view wanted = (update.days & DayBit(d)) ? kDayMark : std::string_view();
            changes = changes || current.days[static_cast<std::size_t>(d)] != wanted;
        }
        if (!changes) {
            ++plan_.unchanged;
            return;
        }
        if (RemoveBlanks(listed.pName) != RemoveBlanks(current.pName))
            plan_.otherNames.Add(number, listed.pName, current.pName + ", " + current.JmnNo);
        plan_.updates.push_back(update);
    }

    const WorkerTable& table_;
    ImportPlan plan_;
    std::unordered_map<std::uint64_t, int> keysInSheet_;   // the row, or kTwiceInSheet
    std::set<std::string> textsInSheet_;                   // numbers without their digits
    std::unordered_set<std::uint64_t> keysInFile_;
    std::set<std::string> textsInFile_;
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

} // namespace

void NamedRows::Add(int number, const std::string& name, std::string detail)
{
    if (first.size() < kNamedRefusals)
        first.push_back({number, name, std::move(detail)});
    ++count;
}

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

void ApplyImport(WorkerTable& table, ImportPlan& plan)
{
    // Rows are found by their place: the table must still hold the numbers planned there.
    for (const WorkerUpdate& update : plan.updates) {
        if (update.row >= table.RecordCount() || NumberKey(table.RowAt(update.row).JmnNo) != update.key)
            throw ImportError(K("명단을 살피는 사이에 시트가 바뀌었습니다. 명단을 다시 가져오세요."));
    }
    FreezeScope frozen(table);
    if (!plan.updates.empty()) {
        const WorkerTable::Bookmark mark = table.GetBookmark();
        for (const WorkerUpdate& update : plan.updates) {
            table.MoveTo(update.row);
            table.Edit();
            if (update.hours)
                table.SetFieldFloat("nDay", *update.hours);
            if (update.wages)
                table.SetFieldFloat("SmMny", *update.wages);
            for (int d = 0; plan.hasDayMarks && d < kDayCount; ++d)
                table.SetFieldTextAt(kFirstDayField + d, (update.days & DayBit(d)) ? kDayMark : std::string_view());
            table.Post();
            if (plan.hasDayMarks)
                table.RecountDays();
        }
        table.GotoBookmark(mark);
        table.FreeBookmark(mark);
    }
    if (plan.workers.empty())
        return;
    table.AppendRows(plan.workers.size(), [&plan](std::size_t i, WorkerRow& row) {
        row = plan.Worker(i);
        plan.workers.release(i + 1);
    });
}

} // namespace lavodc
