#include "core/list_rows.h"

#include "core/cp949.h"

#include <algorithm>

namespace lavodc {

void KeepKeyText(std::string& into, std::size_t start, std::string_view piece)
{
    for (const char c : piece) {
        if (into.size() - start > kMaxKeyBytes)
            return;
        if (static_cast<unsigned char>(c) > 0x20)
            into += c;
    }
}

void ListBudget::AddText(std::size_t bytes)
{
    text_ += bytes;
    if (text_ > kMaxListText)
        throw ImportError(K("명단이 너무 큽니다: 칸의 글자가 모두 64MB를 넘습니다."));
}

void ListBudget::AddRow()
{
    if (++rows_ > kMaxListRows)
        throw ImportError(K("명단이 너무 큽니다: 100,000행을 넘습니다."));
}

void ListBudget::CheckCell(int row, std::size_t bytes)
{
    if (bytes > kMaxCellBytes)
        throw ImportError(K("명단 ") + std::to_string(row) + K("행에 너무 긴 칸이 있습니다 (32,767자 넘음)."));
}

std::string_view CellText(std::span<const ListCell> cells, std::size_t column)
{
    const auto found = std::lower_bound(cells.begin(), cells.end(), column,
                                        [](const ListCell& cell, std::size_t c) { return cell.column < c; });
    return found != cells.end() && found->column == column ? found->text : std::string_view();
}

bool HasNonBlank(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) > 0x20; });
}

} // namespace lavodc
