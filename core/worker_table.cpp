#include "core/worker_table.h"

#include <algorithm>
#include <utility>

namespace lavodc {

namespace {

const WorkerRow& emptyRow()
{
    static const WorkerRow row;
    return row;
}

} // namespace

WorkerTable::WorkerTable() = default;

// ---- state ---------------------------------------------------------------

void WorkerTable::requireActive() const
{
    if (state_ == State::Inactive)
        throw TableError("Cannot perform this operation on a closed worker table");
}

void WorkerTable::requireEditing() const
{
    requireActive();
    if (state_ != State::Edit && state_ != State::Insert)
        throw TableError("The worker table is not in edit or insert mode");
}

// Leaving a pending append or edit: keep it when something was set, drop it otherwise.
void WorkerTable::checkBrowseMode()
{
    requireActive();
    if (state_ == State::Edit || state_ == State::Insert) {
        if (modified_)
            Post();
        else
            Cancel();
    }
}

void WorkerTable::Open()
{
    if (state_ != State::Inactive)
        return;
    state_ = State::Browse;
    rows_.clear();
    current_ = -1;
    eof_ = bof_ = true;
    notifyTableChanged();
    notifyCurrentChanged();
}

void WorkerTable::Close()
{
    if (state_ == State::Inactive)
        return;
    state_ = State::Inactive;
    rows_.clear();
    rows_.shrink_to_fit();
    buffer_ = WorkerRow{};
    modified_ = false;
    current_ = -1;
    eof_ = bof_ = true;
    notifyTableChanged();
    notifyCurrentChanged();
}

bool WorkerTable::Active() const
{
    return state_ != State::Inactive;
}

WorkerTable::State WorkerTable::state() const
{
    return state_;
}

// ---- walking -------------------------------------------------------------

void WorkerTable::setCurrent(int index)
{
    if (index == current_)
        return;
    current_ = index;
    notifyCurrentChanged();
}

void WorkerTable::First()
{
    checkBrowseMode();
    eof_ = rows_.empty();
    bof_ = true;
    setCurrent(rows_.empty() ? -1 : 0);
}

void WorkerTable::Last()
{
    checkBrowseMode();
    eof_ = bof_ = rows_.empty();
    setCurrent(static_cast<int>(rows_.size()) - 1);
}

void WorkerTable::Next()
{
    checkBrowseMode();
    if (current_ + 1 < static_cast<int>(rows_.size())) {
        eof_ = bof_ = false;
        setCurrent(current_ + 1);
    } else {
        eof_ = true;
    }
}

void WorkerTable::Prior()
{
    checkBrowseMode();
    if (current_ > 0) {
        eof_ = bof_ = false;
        setCurrent(current_ - 1);
    } else {
        bof_ = true;
    }
}

bool WorkerTable::Eof() const
{
    requireActive();
    return eof_;
}

bool WorkerTable::Bof() const
{
    requireActive();
    return bof_;
}

int WorkerTable::RecordCount() const
{
    requireActive();
    return static_cast<int>(rows_.size());
}

bool WorkerTable::IsEmpty() const
{
    requireActive();
    return rows_.empty();
}

int WorkerTable::CurrentIndex() const
{
    requireActive();
    return current_;
}

void WorkerTable::MoveTo(int index)
{
    checkBrowseMode();
    if (index < 0 || index >= static_cast<int>(rows_.size()))
        throw TableError("Row " + std::to_string(index) + " is outside the worker table");
    eof_ = bof_ = false;
    setCurrent(index);
}

// ---- changing rows -------------------------------------------------------

void WorkerTable::Append()
{
    checkBrowseMode();
    buffer_ = WorkerRow{};
    modified_ = false;
    state_ = State::Insert;
}

void WorkerTable::Edit()
{
    requireActive();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    if (current_ < 0)
        throw TableError("The worker table has no row to edit");
    buffer_ = rows_[current_]->row;
    modified_ = false;
    state_ = State::Edit;
}

void WorkerTable::Post()
{
    requireEditing();
    WorkerRow row = std::move(buffer_);
    buffer_ = WorkerRow{};
    modified_ = false;
    const bool inserting = state_ == State::Insert;
    state_ = State::Browse;

    if (inserting) {
        const int position = insertSorted(makeEntry(std::move(row)));
        eof_ = bof_ = false;
        current_ = position;
        notifyTableChanged();
        notifyCurrentChanged();
        return;
    }

    CutToFieldSizes(row);
    Entry& entry = *rows_[current_];
    if (row.pName == entry.row.pName && row.nName == entry.row.nName) {
        entry.row = std::move(row);
        notifyRowChanged(current_);
        return;
    }
    EntryPtr moved = std::move(rows_[current_]);
    rows_.erase(rows_.begin() + current_);
    moved->row = std::move(row);
    setKeys(*moved);
    const int position = insertSorted(std::move(moved));
    eof_ = bof_ = false;
    current_ = position;
    notifyTableChanged();
    notifyCurrentChanged();
}

void WorkerTable::Cancel()
{
    requireActive();
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    buffer_ = WorkerRow{};
    modified_ = false;
    state_ = State::Browse;
}

void WorkerTable::Delete()
{
    requireActive();
    if (state_ == State::Insert) {
        Cancel();
        return;
    }
    if (state_ == State::Edit)
        Cancel();
    if (current_ < 0)
        throw TableError("Cannot delete from an empty worker table");
    rows_.erase(rows_.begin() + current_);
    const int count = static_cast<int>(rows_.size());
    if (count == 0) {
        current_ = -1;
        eof_ = bof_ = true;
    } else if (current_ >= count) {
        current_ = count - 1;
        eof_ = true;
        bof_ = false;
    } else {
        eof_ = bof_ = false;
    }
    notifyTableChanged();
    notifyCurrentChanged();
}

// ---- bookmarks -----------------------------------------------------------

WorkerTable::Bookmark WorkerTable::GetBookmark() const
{
    requireActive();
    return current_ >= 0 ? rows_[current_]->id : 0;
}

WorkerTable::Bookmark WorkerTable::BookmarkAt(int index) const
{
    requireActive();
    if (index < 0 || index >= static_cast<int>(rows_.size()))
        throw TableError("Row " + std::to_string(index) + " is outside the worker table");
    return rows_[index]->id;
}

bool WorkerTable::GotoBookmark(Bookmark mark)
{
    checkBrowseMode();
    if (mark == 0)
        return false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i]->id == mark) {
            eof_ = bof_ = false;
            setCurrent(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

// ---- rows ----------------------------------------------------------------

const WorkerRow& WorkerTable::readableRow() const
{
    requireActive();
    if (state_ == State::Edit || state_ == State::Insert)
        return buffer_;
    return current_ >= 0 ? rows_[current_]->row : emptyRow();
}

WorkerRow& WorkerTable::writableRow()
{
    requireEditing();
    modified_ = true;
    return buffer_;
}

const WorkerRow& WorkerTable::CurrentRow() const
{
    return readableRow();
}

const WorkerRow& WorkerTable::RowAt(int index) const
{
    requireActive();
    if (index < 0 || index >= static_cast<int>(rows_.size()))
        throw TableError("Row " + std::to_string(index) + " is outside the worker table");
    return rows_[index]->row;
}

// ---- table-wide operations -----------------------------------------------

void WorkerTable::DeleteAllRows()
{
    requireActive();
    FreezeScope frozen(*this);
    First();
    // Deleting row by row from the first would cost n^2 moves; the outcome is the same.
    rows_.clear();
    current_ = -1;
    eof_ = bof_ = true;
}

void WorkerTable::RecountDays()
{
    requireActive();
    if (state_ == State::Browse) {
        if (current_ < 0)
            return;
        // Edit, set nNal, Post, without copying the row through the edit buffer: the
        // count is not part of either order, so the row keeps its place.
        WorkerRow& row = rows_[current_]->row;
        row.nNal = row.CountWorkedDays();
        notifyRowChanged(current_);
        return;
    }
    writableRow().nNal = buffer_.CountWorkedDays();
    Post();
}

void WorkerTable::RecountAllDays()
{
    requireActive();
    const Bookmark mark = GetBookmark();
    {
        FreezeScope frozen(*this);
        First();
        while (!Eof()) {
            RecountDays();
            Next();
        }
    }
    GotoBookmark(mark);
    FreeBookmark(mark);
}

// ---- notifications -------------------------------------------------------

void WorkerTable::Freeze()
{
    ++freezeDepth_;
}

void WorkerTable::Unfreeze()
{
    if (freezeDepth_ == 0)
        return;
    if (--freezeDepth_ == 0) {
        notifyTableChanged();
        notifyCurrentChanged();
    }
}

bool WorkerTable::Frozen() const
{
    return freezeDepth_ > 0;
}

void WorkerTable::AddListener(WorkerTableListener* listener)
{
    if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void WorkerTable::RemoveListener(WorkerTableListener* listener)
{
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

// Listeners may add or remove listeners while being told, so each call works on a copy
// and skips those removed meanwhile.
bool WorkerTable::isListening(WorkerTableListener* listener) const
{
    return std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end();
}

void WorkerTable::notifyTableChanged()
{
    if (Frozen())
        return;
    const auto listeners = listeners_;
    for (WorkerTableListener* listener : listeners) {
        if (isListening(listener))
            listener->tableChanged();
    }
}

void WorkerTable::notifyRowChanged(int row)
{
    if (Frozen())
        return;
    const auto listeners = listeners_;
    for (WorkerTableListener* listener : listeners) {
        if (isListening(listener))
            listener->rowChanged(row);
    }
}

void WorkerTable::notifyCurrentChanged()
{
    if (Frozen())
        return;
    const auto listeners = listeners_;
    for (WorkerTableListener* listener : listeners) {
        if (isListening(listener))
            listener->currentChanged(current_);
    }
}

} // namespace lavodc
