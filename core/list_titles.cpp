#include "core/list_titles.h"

#include "core/cp949.h"
#include "core/grid_columns.h"
#include "core/quorva_lib.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <string_view>

namespace lavodc {

namespace {

constexpr std::array<std::string_view, kListColumnCount> kColumnFields = {
    "pName", "JmnNo", "nAddr", "nTel", "nName", "nDay", "SmMny", "nEtc",
};

// A title as compared: no blank or control character anywhere, so "성    명" is "성명".
std::optional<std::string> TitleKey(std::string_view utf8)
{
    std::string key;
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) <= 0x20)
            continue;
        if (key.size() == kMaxKeyBytes)
            return std::nullopt;   // longer than any title
        key += c;
    }
    try {
        return toCp949(key);
    } catch (const EncodingError&) {
        return std::nullopt;
    }
}

const std::map<std::string, int>& TitleColumns()
{
    static const std::map<std::string, int> titles = [] {
        std::map<std::string, int> map;
        for (const GridColumn& column : WorkerListColumns())
            for (int c = 0; c < kListColumnCount; ++c)
                if (column.field == kColumnFields[static_cast<std::size_t>(c)])
                    map.emplace(RemoveBlanks(column.title), c);
        return map;
    }();
    return titles;
}

} // namespace

std::vector<std::size_t> TitleLayout::Columns() const
{
    std::vector<std::size_t> columns;
    for (const std::size_t c : column)
        if (c != kNoColumn)
            columns.push_back(c);
    for (const std::size_t c : day)
        if (c != kNoColumn)
            columns.push_back(c);
    std::sort(columns.begin(), columns.end());
    return columns;
}

TitleLayout ReadTitles(const ListRow& row)
{
    TitleLayout layout;
    layout.column.fill(kNoColumn);
    layout.day.fill(kNoColumn);
    const auto& titles = TitleColumns();
    for (const ListCell& cell : row.cells) {
        const std::optional<std::string> key = TitleKey(cell.text);
        if (!key || key->empty())
            continue;
        if (const auto found = titles.find(*key); found != titles.end()) {
            const auto c = static_cast<std::size_t>(found->second);
            if (layout.column[c] == kNoColumn) {
                layout.column[c] = cell.column;
                layout.title[c] = found->first;
                ++layout.matched;
            }
            continue;
        }
        // The day strip's titles are the day numbers; a month kept in a spreadsheet often
        // writes them "1일".."31일".
        static const std::string dayWord = K("일");
        std::string_view number = *key;
        if (number.ends_with(dayWord))
            number.remove_suffix(dayWord.size());
        int day = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), day);
        if (error == std::errc() && end == number.data() + number.size() && day >= 1 && day <= kDayCount &&
            number[0] != '0' && layout.day[static_cast<std::size_t>(day - 1)] == kNoColumn) {
            layout.day[static_cast<std::size_t>(day - 1)] = cell.column;
            layout.hasDays = true;
            ++layout.dayColumns;
        }
    }
    return layout;
}

} // namespace lavodc
