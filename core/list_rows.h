#pragma once
// A worker list (a worksheet or a CSV file) as its readers hand it over: row by row, with
// only the cells that the reading side asks for, within limits that keep a list of any
// shape from taking more memory than a list of workers needs.

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lavodc {

// The list cannot be used at all (no title row, unreadable, too big); what() is CP949.
class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Rows that hold any text, and bytes of cell text (UTF-8) all told, that a list may have.
inline constexpr std::size_t kMaxListRows = 100000;
inline constexpr std::size_t kMaxListText = 64u << 20;
// Cells in a row: the columns a worksheet has (A to XFD).
inline constexpr std::size_t kMaxListColumns = 16384;
// The text of one cell the reading side asks for: a worksheet cell's 32,767 characters fit.
inline constexpr std::size_t kMaxCellBytes = 128 * 1024;

// What the reading side wants of the cells of a column.
enum class CellUse {
    Skip,    // nothing: the cell only counts towards the limits
    Key,     // enough to tell a title: see KeepKeyText
    Whole,   // the text as it stands
};

// A title is short: a key longer than this is no title.
inline constexpr std::size_t kMaxKeyBytes = 64;

// Appends `piece` to the key text `into`, which started at `start`: the bytes above 0x20,
// no more than kMaxKeyBytes + 1 of them (enough to see that a key is too long).
void KeepKeyText(std::string& into, std::size_t start, std::string_view piece);

struct ListCell {
    std::size_t column = 0;   // from 0
    std::string_view text;    // UTF-8, not empty
};

struct ListRow {
    int number = 0;                   // the row's number in the file, from 1
    std::size_t width = 0;            // cells in the row, empty ones included
    bool blank = true;                // no cell holds a byte above 0x20
    std::span<const ListCell> cells;  // the cells asked for that hold text, by column
};

// Where a reader delivers the rows, in file order. Texts are valid during Row() only.
class ListRowSink {
public:
    virtual ~ListRowSink() = default;
    // Asked before the cell of `column` is read; the answer may change after each row.
    virtual CellUse Use(std::size_t column) const = 0;
    virtual void Row(const ListRow& row) = 0;
};

// What a reader has read so far; raises ImportError past the limits.
class ListBudget {
public:
    void AddText(std::size_t bytes);
    void AddRow();
    // A cell of the row numbered `row` that is kept and has grown to `bytes`.
    static void CheckCell(int row, std::size_t bytes);

private:
    std::size_t text_ = 0;
    std::size_t rows_ = 0;
};

// The cell of `column` among `cells` (sorted by column); empty when there is none.
std::string_view CellText(std::span<const ListCell> cells, std::size_t column);

// Whether `text` holds any byte above 0x20.
bool HasNonBlank(std::string_view text);

} // namespace lavodc
