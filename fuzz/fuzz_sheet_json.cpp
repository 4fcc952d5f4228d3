// The JSON that lavodc-cli build reads, over arbitrary bytes: the stream reader, with its quick
// pass and without, ends and agrees with reading the whole document, in the error it gives or in
// the header and rows it yields.
#include "cli/sheet_json.h"
#include "cli/sheet_json_stream.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Outcome {
    std::string error;
    std::string text;   // the sheet's JSON, rows in list order
};

std::string sheetText(const lavodc::SheetHeader& header, const std::vector<lavodc::WorkerRow>& rows)
{
    std::string out;
    lavodc::cli::AppendSheetJsonStart(out, header);
    for (std::size_t i = 0; i < rows.size(); ++i)
        lavodc::cli::AppendWorkerJson(out, rows[i], i == 0);
    lavodc::cli::AppendSheetJsonEnd(out, rows.size());
    return out;
}

Outcome asDocument(const std::string& text)
{
    using lavodc::cli::Json;
    Outcome outcome;
    try {
        // The stream's reading of the characters, NUL bytes refused, under the whole document too.
        using Characters = lavodc::cli::NulRefusingIterator<std::string::const_iterator>;
        const Json json = Json::parse(Characters(text.begin()), Characters(text.end()));
        lavodc::SheetHeader header;
        std::vector<lavodc::WorkerRow> rows;
        if (!json.is_object())
            throw lavodc::cli::SheetJsonError("the sheet must be a JSON object with \"header\" and \"workers\"");
        // SheetFromJson sorts through the table; its checks, taken one by one, keep the list order.
        lavodc::Sheet sheet;
        sheet.table.Open();
        lavodc::cli::SheetFromJson(json, sheet);
        header = sheet.header;
        const auto workers = json.find("workers");
        if (workers != json.end())
            for (std::size_t i = 0; i < workers->size(); ++i)
                rows.push_back(lavodc::cli::WorkerRowFromJson((*workers)[i], lavodc::cli::WorkerPlace(i)));
        outcome.text = sheetText(header, rows);
    } catch (const std::exception& error) {
        outcome.error = error.what();
    }
    return outcome;
}

// `once`: as from a pipe, read by the general reader alone; otherwise the quick pass goes first.
Outcome asStream(const std::string& text, bool once)
{
    Outcome outcome;
    try {
        lavodc::cli::MemoryJsonSource in(text, once);
        lavodc::SheetHeader header;
        std::vector<lavodc::WorkerRow> rows;
        lavodc::cli::ReadSheetJson(in, header, {[&rows](const lavodc::WorkerRow& row) { rows.push_back(row); },
                                                [&rows] { rows.clear(); }});
        outcome.text = sheetText(header, rows);
    } catch (const std::exception& error) {
        outcome.error = error.what();
    }
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Outcome document = asDocument(text);
    for (const bool once : {false, true}) {
        const Outcome stream = asStream(text, once);
        if (document.error != stream.error || document.text != stream.text)
            std::abort();
    }
    return 0;
}
