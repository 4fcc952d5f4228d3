// The sheet JSON read as a stream gives what the whole document gives: the same header and rows,
// or the same error, whichever comes first in the text.
#include "cli/sheet_json.h"
#include "cli/sheet_json_stream.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lavodc::cli {
namespace {

struct Result {
    std::string error;                // empty when the sheet was read
    SheetHeader header;
    std::vector<std::string> rows;    // each row's JSON text
};

std::string rowText(const WorkerRow& row)
{
    std::string out;
    AppendWorkerJson(out, row, true);
    return out;
}

SheetHeader startingHeader()
{
    SheetHeader header;
    header.gsName = "kept";
    header.gsyear = "2024";
    return header;
}

Result asDocument(const std::string& text)
{
    Result result;
    try {
        const Json json = Json::parse(text);
        Sheet sheet;
        sheet.table.Open();
        sheet.header = startingHeader();
        SheetFromJson(json, sheet);
        result.header = sheet.header;
        // SheetFromJson hands the rows to the table, which sorts them; the stream hands them
        // over in list order. Compare them in list order: the rows carry their index in HCODE.
        std::vector<std::string> rows(static_cast<std::size_t>(sheet.table.RecordCount()));
        for (int i = 0; i < sheet.table.RecordCount(); ++i)
            rows[static_cast<std::size_t>(i)] = rowText(sheet.table.RowAt(i));
        result.rows = rows;
    } catch (const std::exception& error) {
        result.error = error.what();
    }
    return result;
}

// `once`: the text comes as from a pipe, which only the general reader reads.
Result asStream(const std::string& text, bool once)
{
    Result result;
    result.header = startingHeader();
    std::vector<WorkerRow> rows;
    try {
        MemoryJsonSource in(text, once);
        ReadSheetJson(in, result.header, {[&rows](const WorkerRow& row) { rows.push_back(row); },
                                          [&rows] { rows.clear(); }});
        Sheet sheet;
        sheet.table.Open();
        sheet.table.ReplaceRows(std::move(rows));
        for (int i = 0; i < sheet.table.RecordCount(); ++i)
            result.rows.push_back(rowText(sheet.table.RowAt(i)));
    } catch (const std::exception& error) {
        result = Result();
        result.error = error.what();
    }
    return result;
}

class SheetJsonStreamTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SheetJsonStreamTest, GivesWhatTheWholeDocumentGives)
{
    const Result document = asDocument(GetParam());
    for (const bool once : {false, true}) {
        SCOPED_TRACE(once ? "read once" : "read again where needed");
        const Result stream = asStream(GetParam(), once);
        EXPECT_EQ(stream.error, document.error);
        if (document.error.empty()) {
            EXPECT_EQ(stream.header.gsName, document.header.gsName);
            EXPECT_EQ(stream.header.gsyear, document.header.gsyear);
            EXPECT_EQ(stream.header.cmpNo, document.header.cmpNo);
            EXPECT_EQ(stream.rows, document.rows);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SheetJson, SheetJsonStreamTest, ::testing::Values(
    // Shapes that are not a sheet, and which of several errors is told.
    "", "{}", "[]", "5", "[{\"workers\": 1}]",
    R"({"header": 5})", R"({"header": null, "workers": []})", R"({"header": {"gsName": 5}})",
    R"({"header": {"bad": "x"}, "workers": [1]})", R"({"workers": [1], "zzz": 1})",
    R"({"workers": [{"bad": 1}], "header": {"bad": 2}})",
    R"({"workers": {"a": 1}})", R"({"workers": null})", R"({"workers": [[1, 2], {"pName": "x"}]})",
    R"({"workers": [{"pName": "a"}, 5, {"bad": 1}]})",
    // Repeated keys: the last value counts, at the place of the first.
    R"({"workers": [{"pName": "a", "pName": 5}]})", R"({"workers": [{"pName": 5, "pName": "a"}]})",
    R"({"workers": [{"x": 1, "pName": 3, "x": 2}]})", R"({"workers": [{"pName": 3, "x": 1}]})",
    R"({"workers": [{"pName": "a"}], "workers": [{"pName": "b"}]})",
    R"({"workers": [{"bad": 1}], "workers": [{"pName": "b"}]})",
    R"({"workers": 5, "workers": [{"pName": "b"}]})",
    R"({"header": {"gsName": "a"}, "header": {"cmpNo": "b"}, "workers": []})",
    R"({"header": {"gsName": "a"}, "header": 3})",
    // Field values.
    R"({"workers": [{"HCODE": 3.5}]})", R"({"workers": [{"HCODE": -2147483649}]})",
    R"({"workers": [{"HCODE": 4294967296}]})", R"({"workers": [{"HCODE": -7, "LCODE": 2.0}]})",
    R"({"workers": [{"SmMny": [1]}]})", R"({"workers": [{"pName": {"x": [1, 2]}}]})",
    R"({"workers": [{"pname": "x"}]})", R"({"workers": [{"pName": "\u00ff"}]})",
    R"({"workers": [{"pName": true}]})", R"({"workers": [{"nDay": null}]})",
    R"({"header": {"gsyear": "2023", "gmonth": "1"}, "workers": [{"pName": "다", "nName": "x", "HCODE": 1},
        {"pName": "다", "nName": "a", "HCODE": 2}, {"pName": "가나다라마바사아자차카", "d01": "√", "nDay": 7.5}]})",
    // Text that is not JSON wins over a shape error before it.
    R"({"workers": [{"bad": 1}]} trailing)", R"({"workers": [{"bad": 1}])", R"({"header": 1, "workers": [1e999]})",
    R"({"workers": [{"pName": "a\ud800"}]})", "\xEF\xBB\xBF{\"workers\": []}", "{\"workers\": [\"\xFF\"]}"));

} // namespace
} // namespace lavodc::cli
