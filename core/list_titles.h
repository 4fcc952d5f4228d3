#pragma once
// The title row of a worker list: the worker list's column titles, matched with their blanks
// removed, in any order and from any column, and the day titles "1".."31" or "1일".."31일".

#include "core/list_rows.h"
#include "core/worker_fields.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace lavodc {

// The columns the import reads, by the field of the worker list they belong to.
enum ListColumn { kName, kNumber, kAddress, kPhone, kJob, kHours, kWages, kReason, kListColumnCount };

inline constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

struct TitleLayout {
    std::array<std::size_t, kListColumnCount> column;   // kNoColumn when the list lacks it
    std::array<std::size_t, kDayCount> day;             // the columns of days 1..31
    int dayColumns = 0;                                 // how many of them the list has
    std::array<std::string, kListColumnCount> title;    // CP949, for messages
    int matched = 0;
    bool hasDays = false;

    bool HasName() const { return column[kName] != kNoColumn; }
    // The columns the import reads, ascending.
    std::vector<std::size_t> Columns() const;
};

// The titles `row` holds; a row is the title row when it holds the name title.
TitleLayout ReadTitles(const ListRow& row);

} // namespace lavodc
