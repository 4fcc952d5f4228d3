// lavodc-cli build: a sheet file from the JSON that dump prints, written exactly as Save writes it.
#include "cli/commands.h"
#include "cli/packed_rows.h"
#include "cli/sheet_json.h"
#include "cli/sheet_json_stream.h"

#include "core/cp949.h"
#include "core/sheet_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>

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

    std::ifstream in(jsonPath, std::ios::binary);
    if (!in)
        return fail("cannot read \"" + jsonPath + "\": " + std::strerror(errno));

    try {
        // The JSON is read as a stream and the workers kept packed: a large sheet never stands
        // in memory as a document or as table rows.
        SheetHeader header;
        ResetHeader(header, CurrentPeriod());
        PackedRows rows;
        try {
            ReadSheetJson(in, header, {[&rows](WorkerRow&& row) { rows.add(std::move(row)); },
                                       [&rows] { rows.clear(); }});
        } catch (const Json::exception& error) {
            if (in.bad())
                return fail("cannot read \"" + jsonPath + "\": " + std::strerror(errno));
            return fail("\"" + jsonPath + "\" is not valid JSON: " + ShortParseError(withoutTag(error.what())));
        }
        NormalizeMaskedValues(header);
        const std::string period = PeriodFromHeader(header);
        const std::vector<std::uint32_t> order = rows.byNameOrder();
        WorkerRow row;
        const RowAt rowAt = [&](std::size_t i) -> const WorkerRow& {
            rows.unpack(order[i], row);
            return row;
        };
        try {
            WriteSheetRows(outPath, header, period, order.size(), rowAt);
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
