#pragma once
// Marking many day cells at once, as the month grid does: which cells a selection covers,
// whether Space marks or clears them, the one walk that sets them, and the record of what
// changed, so that the grid can undo and redo its own changes.

#include "core/worker_table.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lavodc {

// A rectangle of day cells: rows in the table's order, days 0 (the 1st) .. 30 (the 31st),
// both ends included.
struct DayBlock {
    int firstRow = 0;
    int lastRow = 0;
    int firstDay = 0;
    int lastDay = 0;
};

// The selected days of each row, one bit a day (bit 0: the 1st), for rows 0 .. rowCount - 1.
using DaySelection = std::vector<std::uint32_t>;

// The cells the blocks cover; blocks may overlap, and what lies outside the rows or the 31
// days is left out.
DaySelection SelectDays(const std::vector<DayBlock>& blocks, int rowCount);
std::size_t SelectedCellCount(const DaySelection& selection);

enum class DayFill { Mark, Clear };

// Space: every selected day is marked when any of them is not the mark (empty, or stray text,
// which does not count as a day worked), otherwise they are all cleared. On a single cell this
// is the toggle of a double-click.
DayFill SpaceFill(const WorkerTable& table, const DaySelection& selection);

struct DayChange {
    WorkerTable::Bookmark row = 0;
    int dayIndex = 0;
    std::string before;
    std::string after;
};
// One step of the grid's history: rows in the table's order, days ascending within a row.
using DayEdit = std::vector<DayChange>;

// Sets the selected days to the mark or empty. Each row with a changed day is edited once and
// recounted; when more than the current row changes, the walk runs with the bound views frozen
// and the current row stays. Returns what changed: nothing when every cell already held it.
DayEdit FillDays(WorkerTable& table, const DaySelection& selection, DayFill fill);

enum class Replay { Undo, Redo };

// Puts back the texts an edit found (Undo) or left (Redo), in the same kind of walk, recounting
// each row; workers deleted since are passed over. Returns the cells it set, by today's rows.
DaySelection ReplayEdit(WorkerTable& table, const DayEdit& edit, Replay direction);

// The grid's steps since it was opened: undo walks back through them, redo forward again.
class DayEditHistory {
public:
    // An empty edit is no step; a new step drops the steps that could have been redone.
    void Record(DayEdit edit);
    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // Undoes the last step that still has a worker in the table (steps whose workers have all
    // been deleted are dropped on the way). Returns the cells set: none when nothing was left.
    DaySelection Undo(WorkerTable& table);
    DaySelection Redo(WorkerTable& table);
    void Clear();

private:
    std::vector<DayEdit> steps_;
    std::size_t done_ = 0;   // steps_[0, done_) can be undone, the rest redone
};

} // namespace lavodc
