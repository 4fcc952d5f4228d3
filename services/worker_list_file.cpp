#include "services/worker_list_file.h"

#include "services/xlsx_sheet_reader.h"

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

ImportPlan PlanWorkerListImport(const std::string& path, const WorkerTable& table, std::string_view period)
{
    if (EndsWithNoCase(path, ".xlsx"))
        return PlanImport([&path](ListRowSink& sink) { ReadXlsxFirstSheet(path, sink); }, table, period);
    FileSource file(path);
    return PlanCsvImport(file, table, period);
}

} // namespace lavodc
