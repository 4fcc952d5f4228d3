#pragma once
// The in-memory worker table: rows of WorkerRow kept in one of two index orders,
// a current row, append/edit/post/delete, walking, bookmarks, and change notifications
// for bound views that can be frozen (nestably) during walks over the whole table.

#include "worker_fields.h"
#include "worker_order_key.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lavodc {

class TableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::string_view kByNameIndex = "pName; nName";
inline constexpr std::string_view kByJobIndex = "nName; pName";

// Views bound to the table. Nothing is delivered while the table is frozen; the last
// unfreeze delivers one tableChanged() and one currentChanged().
class WorkerTableListener {
public:
    virtual ~WorkerTableListener() = default;
    virtual void tableChanged() = 0;          // rows added, removed, reordered or replaced
    virtual void rowChanged(int row) = 0;     // one row changed and kept its position
    virtual void currentChanged(int row) = 0; // the current row moved (-1: none)
};

class WorkerTable {
public:
    using Bookmark = std::uint64_t;
    enum class State { Inactive, Browse, Edit, Insert };

    WorkerTable();

    // Structure file: a small text file listing the fields with their types and sizes.
    // Loading one replaces the contents (the table is closed afterwards); a file that does
    // not list exactly the fixed fields in their order is refused with a TableError.
    // A missing file raises: Cannot open file "<path>". <reason>
    void LoadStructure(const std::string& path);
    static void WriteStructure(const std::string& path);

    void Open();
    void Close();
    bool Active() const;
    State state() const;

    // Walking, in the current order. Eof() turns true after Next() on the last row,
    // after deleting the last row, or at once on an empty table; Bof() after First() or
    // after Prior() on the first row. Walking while a row is appended or edited posts it
    // first when a field was set, and drops it otherwise.
    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const;
    bool Bof() const;
    int RecordCount() const;
    bool IsEmpty() const;
    int CurrentIndex() const;              // -1 when there is no row
    void MoveTo(int index);

    // Changing rows. Append starts a new row (Insert state), Edit the current one;
    // Post stores it in its place in the current order and makes it current; Cancel drops it.
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();                         // the next row becomes current (the last if none)

    // Loading many rows: appended as they are (strings cut to size), sorted once.
    // Rows that tie with rows already there come after them. The first row becomes current.
    void AppendRows(std::vector<WorkerRow> rows);
    void ReplaceRows(std::vector<WorkerRow> rows);
    // The same for `count` rows that `fill(i, row)` fills in place, one after the other,
    // so that a large load holds no second copy of every row. `row` starts as a new row.
    using RowFiller = std::function<void(std::size_t index, WorkerRow& row)>;
    void AppendRows(std::size_t count, const RowFiller& fill);
    void ReplaceRows(std::size_t count, const RowFiller& fill);

    Bookmark GetBookmark() const;
    Bookmark BookmarkAt(int index) const;  // of row `index` in the current order, without moving
    bool GotoBookmark(Bookmark mark);      // false when the row is gone
    void FreeBookmark(Bookmark) {}

    void Freeze();                         // DisableControls
    void Unfreeze();                       // EnableControls
    bool Frozen() const;

    void SetIndexFieldNames(std::string_view names);   // kByNameIndex or kByJobIndex
    const std::string& IndexFieldNames() const;

    // Field access on the current row (the edit buffer while editing). Setters need
    // Edit or Insert state; strings are cut to the field's size in bytes.
    std::string FieldText(std::string_view name) const;
    double FieldFloat(std::string_view name) const;
    std::int32_t FieldInteger(std::string_view name) const;
    void SetFieldText(std::string_view name, std::string_view value);
    void SetFieldFloat(std::string_view name, double value);
    void SetFieldInteger(std::string_view name, std::int32_t value);
    std::string FieldTextAt(int position) const;
    void SetFieldTextAt(int position, std::string_view value);
    // What a bound grid shows: SmMny grouped by thousands, 0 as an empty cell.
    std::string DisplayText(std::string_view name) const;

    const WorkerRow& CurrentRow() const;
    const WorkerRow& RowAt(int index) const;   // in the current order

    void DeleteAllRows();
    void RecountDays();
    void RecountAllDays();

    void AddListener(WorkerTableListener* listener);
    void RemoveListener(WorkerTableListener* listener);

private:
    // Rows live on the heap and the order is a vector of pointers, so that sorting and
    // inserting move pointers, not rows.
    struct Entry {
        WorkerRow row;
        Bookmark id = 0;
        OrderKey pNameKey;   // precomputed for sorting
        OrderKey nNameKey;
    };
    using EntryPtr = std::unique_ptr<Entry>;

    void requireActive() const;
    void requireEditing() const;
    void checkBrowseMode();
    EntryPtr makeEntry(WorkerRow row);
    static void setKeys(Entry& entry);
    bool entryLess(const Entry& a, const Entry& b) const;
    int insertSorted(EntryPtr entry);
    void sortAll();
    void loadRows(std::size_t count, const RowFiller& fill, bool replace);
    WorkerRow& writableRow();
    const WorkerRow& readableRow() const;
    void setCurrent(int index);
    bool isListening(WorkerTableListener* listener) const;
    void notifyTableChanged();
    void notifyRowChanged(int row);
    void notifyCurrentChanged();

    std::vector<EntryPtr> rows_;
    State state_ = State::Inactive;
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    WorkerRow buffer_;          // the row being appended or edited
    bool modified_ = false;
    Bookmark nextId_ = 1;
    std::string indexNames_{kByNameIndex};
    bool byJob_ = false;
    int freezeDepth_ = 0;
    std::vector<WorkerTableListener*> listeners_;
};

// Field `position` of `row` as text, and as a bound grid shows it (SmMny grouped by
// thousands, 0 as an empty cell); for views that show rows other than the current one.
std::string RowFieldText(const WorkerRow& row, int position);
std::string RowDisplayText(const WorkerRow& row, int position);

// Keeps a table's bound views frozen for a scope, also when the work inside ends with an error.
class FreezeScope {
public:
    explicit FreezeScope(WorkerTable& table) : table_(table) { table_.Freeze(); }
    ~FreezeScope() { table_.Unfreeze(); }
    FreezeScope(const FreezeScope&) = delete;
    FreezeScope& operator=(const FreezeScope&) = delete;

private:
    WorkerTable& table_;
};

} // namespace lavodc
