// The two index orders of the worker table: precomputed sort keys, inserting in order,
// sorting once for a bulk load, switching orders.
#include "core/worker_table.h"


#include <algorithm>
#include <cctype>
#include <utility>

namespace lavodc {

namespace {

std::string trimmedLower(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    std::string result(text.substr(begin, end - begin));
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

} // namespace

void WorkerTable::setKeys(Entry& entry)
{
    entry.pNameKey = MakeOrderKey(entry.row.pName);
    entry.nNameKey = MakeOrderKey(entry.row.nName);
}

WorkerTable::EntryPtr WorkerTable::makeEntry(WorkerRow row)
{
    CutToFieldSizes(row);
    auto entry = std::make_unique<Entry>();
    entry->row = std::move(row);
    entry->id = nextId_++;
    setKeys(*entry);
    return entry;
}

bool WorkerTable::entryLess(const Entry& a, const Entry& b) const
{
    auto byName = [&] { return CompareOrderKeys(a.pNameKey, b.pNameKey); };
    auto byJob = [&] { return CompareOrderKeys(a.nNameKey, b.nNameKey); };
    const int first = byJob_ ? byJob() : byName();
    if (first != 0)
        return first < 0;
    return (byJob_ ? byName() : byJob()) < 0;
}

// Inserts after every row that sorts equal, and returns the position.
int WorkerTable::insertSorted(EntryPtr entry)
{
    auto less = [this](const EntryPtr& a, const EntryPtr& b) { return entryLess(*a, *b); };
    auto place = std::upper_bound(rows_.begin(), rows_.end(), entry, less);
    place = rows_.insert(place, std::move(entry));
    return static_cast<int>(place - rows_.begin());
}

void WorkerTable::sortAll()
{
    auto less = [this](const EntryPtr& a, const EntryPtr& b) { return entryLess(*a, *b); };
    std::stable_sort(rows_.begin(), rows_.end(), less);
}

void WorkerTable::SetIndexFieldNames(std::string_view names)
{
    // Accept the two lists with any spacing and Latin case.
    std::string normalized;
    for (std::size_t start = 0; start <= names.size();) {
        std::size_t end = names.find(';', start);
        if (end == std::string_view::npos)
            end = names.size();
        if (!normalized.empty())
            normalized += ';';
        normalized += trimmedLower(names.substr(start, end - start));
        start = end + 1;
    }
    bool byJob;
    if (normalized == "pname;nname")
        byJob = false;
    else if (normalized == "nname;pname")
        byJob = true;
    else
        throw TableError("The worker table has no index on \"" + std::string(names) + "\"");

    indexNames_ = std::string(byJob ? kByJobIndex : kByNameIndex);
    if (state_ == State::Inactive || byJob == byJob_) {
        byJob_ = byJob;
        return;
    }
    checkBrowseMode();
    const Bookmark currentId = current_ >= 0 ? rows_[current_]->id : 0;
    byJob_ = byJob;
    sortAll();
    current_ = -1;
    for (std::size_t i = 0; currentId != 0 && i < rows_.size(); ++i) {
        if (rows_[i]->id == currentId)
            current_ = static_cast<int>(i);
    }
    notifyTableChanged();
    notifyCurrentChanged();
}

const std::string& WorkerTable::IndexFieldNames() const
{
    return indexNames_;
}

void WorkerTable::loadRows(std::size_t count, const RowFiller& fill, bool replace)
{
    checkBrowseMode();
    if (replace)
        rows_.clear();
    const std::size_t oldCount = rows_.size();
    rows_.reserve(oldCount + count);
    for (std::size_t i = 0; i < count; ++i) {
        WorkerRow row;
        fill(i, row);
        rows_.push_back(makeEntry(std::move(row)));
    }
    auto less = [this](const EntryPtr& a, const EntryPtr& b) { return entryLess(*a, *b); };
    std::stable_sort(rows_.begin() + static_cast<std::ptrdiff_t>(oldCount), rows_.end(), less);
    std::inplace_merge(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(oldCount),
                       rows_.end(), less);
    current_ = rows_.empty() ? -1 : 0;
    eof_ = rows_.empty();
    bof_ = true;
    notifyTableChanged();
    notifyCurrentChanged();
}

void WorkerTable::AppendRows(std::vector<WorkerRow> rows)
{
    loadRows(rows.size(), [&rows](std::size_t i, WorkerRow& row) { row = std::move(rows[i]); }, false);
}

void WorkerTable::ReplaceRows(std::vector<WorkerRow> rows)
{
    loadRows(rows.size(), [&rows](std::size_t i, WorkerRow& row) { row = std::move(rows[i]); }, true);
}

void WorkerTable::AppendRows(std::size_t count, const RowFiller& fill)
{
    loadRows(count, fill, false);
}

void WorkerTable::ReplaceRows(std::size_t count, const RowFiller& fill)
{
    loadRows(count, fill, true);
}

} // namespace lavodc
