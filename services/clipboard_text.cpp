#include "services/clipboard_text.h"

namespace lavodc {

std::string ClipboardText(const GridSnapshot& grid)
{
    std::size_t size = 0;
    for (const SnapshotColumn& column : grid.columns)
        size += column.title.size() + 1;
    for (const std::string& value : grid.cells)
        size += value.size() + 1;
    size += 2 * (grid.rowCount + 1);

    std::string text;
    text.reserve(size);
    for (const SnapshotColumn& column : grid.columns) {
        text += column.title;
        text += '\t';
    }
    text += "\r\n";
    for (std::size_t row = 0; row < grid.rowCount; ++row) {
        for (std::size_t column = 0; column < grid.columns.size(); ++column) {
            text += grid.cell(row, column);
            text += '\t';
        }
        text += "\r\n";
    }
    return text;
}

} // namespace lavodc
