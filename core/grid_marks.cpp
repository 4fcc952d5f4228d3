#include "core/grid_marks.h"

#include "core/day_marks.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace lavodc {

namespace {

constexpr std::uint32_t kAllDays = (std::uint32_t(1) << kDayCount) - 1;

std::uint32_t dayBits(int firstDay, int lastDay)
{
    firstDay = std::max(firstDay, 0);
    lastDay = std::min(lastDay, kDayCount - 1);
    if (firstDay > lastDay)
        return 0;
    const std::uint32_t upTo = (std::uint32_t(1) << (lastDay + 1)) - 1;
    return upTo & ~((std::uint32_t(1) << firstDay) - 1);
}

// The texts to write into one row: one per set bit of `days`, in day order.
struct RowWrite {
    int index;
    std::uint32_t days;
    std::vector<std::string_view> values;
};

// Writes each row once and recounts it. Only a change of the current row alone runs unfrozen:
// moving the current row would otherwise show in every view on the way.
void writeRows(WorkerTable& table, const std::vector<RowWrite>& writes)
{
    if (writes.empty())
        return;
    const bool alone = writes.size() == 1 && writes.front().index == table.CurrentIndex();
    const WorkerTable::Bookmark mark = table.GetBookmark();
    std::optional<FreezeScope> frozen;
    if (!alone)
        frozen.emplace(table);
    for (const RowWrite& write : writes) {
        if (write.index != table.CurrentIndex())
            table.MoveTo(write.index);
        table.Edit();
        std::size_t next = 0;
        for (int day = 0; day < kDayCount; ++day)
            if (write.days & (std::uint32_t(1) << day))
                table.SetFieldTextAt(kFirstDayField + day, write.values[next++]);
        table.Post();
        table.RecountDays();
    }
    if (!alone) {
        table.GotoBookmark(mark);
        table.FreeBookmark(mark);
    }
}

} // namespace

DaySelection SelectDays(const std::vector<DayBlock>& blocks, int rowCount)
{
    DaySelection selection(std::size_t(std::max(rowCount, 0)), 0);
    for (const DayBlock& block : blocks) {
        const std::uint32_t days = dayBits(block.firstDay, block.lastDay);
        if (days == 0)
            continue;
        const int last = std::min(block.lastRow, rowCount - 1);
        for (int row = std::max(block.firstRow, 0); row <= last; ++row)
            selection[std::size_t(row)] |= days;
    }
    return selection;
}

std::size_t SelectedCellCount(const DaySelection& selection)
{
    std::size_t count = 0;
    for (std::uint32_t days : selection)
        count += std::size_t(std::popcount(days));
    return count;
}

DayFill SpaceFill(const WorkerTable& table, const DaySelection& selection)
{
    if (!table.Active())
        return DayFill::Clear;
    const int rows = std::min(int(selection.size()), table.RecordCount());
    for (int row = 0; row < rows; ++row) {
        const std::uint32_t days = selection[std::size_t(row)];
        if (days == 0)
            continue;
        const WorkerRow& stored = table.RowAt(row);
        for (int day = 0; day < kDayCount; ++day)
            if ((days & (std::uint32_t(1) << day)) && stored.days[std::size_t(day)] != kDayMark)
                return DayFill::Mark;
    }
    return DayFill::Clear;
}

DayEdit FillDays(WorkerTable& table, const DaySelection& selection, DayFill fill)
{
    DayEdit edit;
    if (!table.Active() || table.IsEmpty())
        return edit;
    const std::string_view value = fill == DayFill::Mark ? kDayMark : std::string_view();
    std::vector<RowWrite> writes;
    const int rows = std::min(int(selection.size()), table.RecordCount());
    for (int row = 0; row < rows; ++row) {
        const std::uint32_t days = selection[std::size_t(row)] & kAllDays;
        if (days == 0)
            continue;
        const WorkerRow& stored = table.RowAt(row);
        RowWrite write{row, 0, {}};
        for (int day = 0; day < kDayCount; ++day) {
            const std::string& before = stored.days[std::size_t(day)];
            if (!(days & (std::uint32_t(1) << day)) || before == value)
                continue;
            write.days |= std::uint32_t(1) << day;
            write.values.push_back(value);
            edit.push_back({table.BookmarkAt(row), day, before, std::string(value)});
        }
        if (write.days != 0)
            writes.push_back(std::move(write));
    }
    writeRows(table, writes);
    return edit;
}

DaySelection ReplayEdit(WorkerTable& table, const DayEdit& edit, Replay direction)
{
    if (!table.Active() || table.IsEmpty() || edit.empty())
        return {};
    const int count = table.RecordCount();
    std::unordered_map<WorkerTable::Bookmark, int> rowOf;
    rowOf.reserve(std::size_t(count));
    for (int row = 0; row < count; ++row)
        rowOf.emplace(table.BookmarkAt(row), row);

    DaySelection cells(std::size_t(count), 0);
    std::vector<RowWrite> writes;
    for (const DayChange& change : edit) {
        const auto found = rowOf.find(change.row);
        if (found == rowOf.end() || change.dayIndex < 0 || change.dayIndex >= kDayCount)
            continue;
        const std::uint32_t bit = std::uint32_t(1) << change.dayIndex;
        const std::string& text = direction == Replay::Undo ? change.before : change.after;
        // A step holds each cell once, and a row's days together and in order.
        if (writes.empty() || writes.back().index != found->second || (writes.back().days & ~(bit - 1)) != 0)
            writes.push_back({found->second, 0, {}});
        writes.back().days |= bit;
        writes.back().values.push_back(text);
        cells[std::size_t(found->second)] |= bit;
    }
    writeRows(table, writes);
    if (writes.empty())
        return {};
    return cells;
}

void DayEditHistory::Record(DayEdit edit)
{
    if (edit.empty())
        return;
    steps_.resize(done_);
    steps_.push_back(std::move(edit));
    done_ = steps_.size();
}

DaySelection DayEditHistory::Undo(WorkerTable& table)
{
    while (done_ > 0) {
        DaySelection cells = ReplayEdit(table, steps_[done_ - 1], Replay::Undo);
        if (!cells.empty()) {
            --done_;
            return cells;
        }
        steps_.erase(steps_.begin() + std::ptrdiff_t(done_ - 1));
        --done_;
    }
    return {};
}

DaySelection DayEditHistory::Redo(WorkerTable& table)
{
    while (done_ < steps_.size()) {
        DaySelection cells = ReplayEdit(table, steps_[done_], Replay::Redo);
        if (!cells.empty()) {
            ++done_;
            return cells;
        }
        steps_.erase(steps_.begin() + std::ptrdiff_t(done_));
    }
    return {};
}

void DayEditHistory::Clear()
{
    steps_.clear();
    done_ = 0;
}

} // namespace lavodc
