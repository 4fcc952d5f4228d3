// The .xlsx list reader over arbitrary parts (after a byte that sets the size of the reads, the
// workbook, its relations, the shared strings and the sheet, separated by NUL bytes): the list
// is planned, refused as too big or said to be damaged, every planned worker can be saved, and
// reading the parts in pieces gives what reading them whole gives.
#include "core/xlsx_list_reader.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_list_plan.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace {

class FuzzParts : public lavodc::WorkbookParts {
public:
    FuzzParts(const std::map<std::string, std::string>& parts, std::size_t piece) : parts_(parts), piece_(piece) {}
    std::unique_ptr<lavodc::ByteSource> Open(const std::string& name) override
    {
        const auto found = parts_.find(name);
        if (found == parts_.end())
            return nullptr;
        return std::make_unique<lavodc::fuzz::ChoppedSource>(found->second, piece_);
    }

private:
    const std::map<std::string, std::string>& parts_;
    std::size_t piece_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    lavodc::fuzz::Input input(data, size);
    const std::size_t piece = input.byte();
    std::map<std::string, std::string> parts;
    for (const char* name : {"xl/workbook.xml", "xl/_rels/workbook.xml.rels", "xl/sharedStrings.xml",
                             "xl/worksheets/sheet1.xml"})
        parts[name] = input.piece();
    lavodc::WorkerTable table;
    lavodc::fuzz::OneWorker(table);
    lavodc::fuzz::CheckPlans(piece, [&](std::size_t cut) {
        FuzzParts book(parts, cut);
        try {
            return lavodc::PlanImport([&book](lavodc::ListRowSink& sink) { lavodc::ReadFirstSheet(book, sink); },
                                      table, "2024.05");
        } catch (const lavodc::XlsxReadError& error) {
            throw lavodc::ImportError(std::string("damaged: ") + error.what());
        }
    });
    return 0;
}
