// lavodc-cli build: a sheet file from the JSON that dump prints, written exactly as Save writes it.
#include "cli/commands.h"
#include "cli/json_source.h"
#include "cli/packed_rows.h"
#include "cli/sheet_json.h"
#include "cli/sheet_json_stream.h"

#include "core/cp949.h"
#include "core/sheet_file.h"

#include <cstdio>
#include <exception>

namespace lavodc::cli {

namespace {

// "[json.exception.parse_error.101] parse error at line 1, ..." without the bracketed tag.
std::string withoutTag(const std::string& message)
{
    if (!message.empty() && message.front() == '[') {
        const std::size_t end = message.find("] ");
        if (end != std::string::npos)
            return message.substr(end + 2);
    }
    return message;
}

} // namespace

int runBuild(const std::vector<std::string>& args)
{
    if (args.size() != 2) {
        std::fputs("usage: lavodc-cli build SHEET.json OUT.Lvo\n", stderr);
        return 2;
    }
    const std::string& jsonPath = args[0];
    const std::string& outPath = args[1];
    auto fail = [](const std::string& message) {
        std::fprintf(stderr, "lavodc-cli build: %s\n", message.c_str());
        return 1;
    };

    try {
        // The JSON is read as a stream and the workers kept packed: a large sheet never stands
        // in memory as a document or as table rows.
        SheetHeader header;
        ResetHeader(header, CurrentPeriod());
        PackedRows rows;
        try {
            FileJsonSource in(jsonPath);
            ReadSheetJson(in, header, {[&rows](const WorkerRow& row) { rows.add(row); }, [&rows] { rows.clear(); }});
        } catch (const JsonReadError& error) {
            return fail("cannot read \"" + jsonPath + "\": " + error.what());
        } catch (const Json::exception& error) {
            return fail("\"" + jsonPath + "\" is not valid JSON: " + ShortParseError(withoutTag(error.what())));
        }
        NormalizeMaskedValues(header);
        const std::string period = PeriodFromHeader(header);
        try {
            WriteSheetRows(outPath, header, period, rows.packed(), rows.byNameOrder());
        } catch (const SheetFileError& error) {
            return fail("cannot write \"" + outPath + "\": " + fromCp949(error.what()));
        }
    } catch (const SheetJsonError& error) {
        return fail("\"" + jsonPath + "\": " + error.what());
    } catch (const std::exception& error) {
        return fail(error.what());
    }
    return 0;
}

} // namespace lavodc::cli
