#include "services/worker_list_file.h"

#include "core/cp949.h"
#include "core/worker_import.h"
#include "services/xlsx_sheet_reader.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace lavodc {

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = text[text.size() - suffix.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i])
            return false;
    }
    return true;
}

} // namespace

CellRows ReadWorkerListFile(const std::string& path)
{
    if (EndsWithNoCase(path, ".xlsx"))
        return ReadXlsxFirstSheet(path);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw ImportError(K("명단 파일을 열 수 없습니다: ") + std::strerror(errno));
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        throw ImportError(K("명단 파일을 읽을 수 없습니다: ") + std::strerror(errno));
    return CsvWorkerCells(bytes);
}

} // namespace lavodc
