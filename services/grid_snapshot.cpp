#include "services/grid_snapshot.h"

namespace lavodc {

namespace {

// Returns the table to the row that was current when the walk began.
class CurrentRowKeeper {
public:
    explicit CurrentRowKeeper(WorkerTable& table) : table_(table), mark_(table.GetBookmark()) {}
    ~CurrentRowKeeper()
    {
        table_.GotoBookmark(mark_);
        table_.FreeBookmark(mark_);
    }
    CurrentRowKeeper(const CurrentRowKeeper&) = delete;
    CurrentRowKeeper& operator=(const CurrentRowKeeper&) = delete;

private:
    WorkerTable& table_;
    WorkerTable::Bookmark mark_;
};

int requireField(const std::string& name)
{
    const int position = FieldIndex(name);
    if (position < 0)
        throw TableError("Field '" + name + "' not found in the worker table");
    return position;
}

} // namespace

GridSnapshot TakeGridSnapshot(WorkerTable& table, const std::vector<GridColumn>& columns)
{
    GridSnapshot snapshot;
    std::vector<int> positions;
    for (const GridColumn& column : columns) {
        const int position = requireField(column.field);
        positions.push_back(position);
        const bool isText = WorkerFields()[static_cast<std::size_t>(position)].type == FieldType::String;
        snapshot.columns.push_back({column.title, isText});
    }

    FreezeScope frozen(table);   // declared first, so the views wake after the row is back
    CurrentRowKeeper keeper(table);
    snapshot.cells.reserve(static_cast<std::size_t>(table.RecordCount()) * positions.size());
    for (table.First(); !table.Eof(); table.Next()) {
        for (const int position : positions)
            snapshot.cells.push_back(table.FieldTextAt(position));
        ++snapshot.rowCount;
    }
    return snapshot;
}

} // namespace lavodc
