// The quick pass reads a plain sheet, in pieces however large, into what the general reader gives,
// and leaves everything else to the general reader.
#include "cli/plain_sheet_reader.h"
#include "cli/sheet_json.h"
#include "cli/sheet_json_stream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace lavodc::cli {
namespace {

struct Read {
    bool plain = false;
    std::string text;   // the header and rows as dump writes them
};

std::string sheetText(const SheetHeader& header, const std::vector<WorkerRow>& rows)
{
    std::string out;
    AppendSheetJsonStart(out, header);
    for (std::size_t i = 0; i < rows.size(); ++i)
        AppendWorkerJson(out, rows[i], i == 0);
    AppendSheetJsonEnd(out, rows.size());
    return out;
}

SheetHeader startingHeader()
{
    SheetHeader header;
    header.gsName = "kept";
    header.cmpNo = "1";
    return header;
}

Read quickly(const std::string& json)
{
    MemoryJsonSource in(json);
    SheetHeader header = startingHeader();
    std::vector<WorkerRow> rows;
    Read read;
    read.plain = ReadPlainSheet(in, header, [&rows](const WorkerRow& row) { rows.push_back(row); });
    read.text = sheetText(header, rows);
    return read;
}

std::string inGeneral(const std::string& json)
{
    MemoryJsonSource in(json, true);
    SheetHeader header = startingHeader();
    std::vector<WorkerRow> rows;
    ReadSheetJsonInGeneral(in, header, {[&rows](const WorkerRow& row) { rows.push_back(row); }, [&rows] { rows.clear(); }});
    return sheetText(header, rows);
}

TEST(PlainSheet, ReadsAPlainSheetAsTheGeneralReaderDoes)
{
    const std::string cases[] = {
        "{}", " {\"header\": {}}\n", R"({"workers": []})", "\xEF\xBB\xBF{\"workers\": [{\"pName\": \"a\"}]}",
        R"({"workers":[{"pName":"가","HCODE":-2147483648,"SCODE":2147483647,"LCODE":-0,"nDay":-0,"SmMny":1e2}]})",
        R"({"workers": [{"pName": "a", "HCODE": 2.0, "SCODE": -1e1, "LCODE": 0.0, "nDay": 18446744073709551615}]})",
        R"({"workers": [{"pName": "a", "nDay": 18446744073709551616, "SmMny": -9223372036854775809, "nNal": 0.1}]})",
        R"({"workers": [{"pName": "a", "nDay": -9223372036854775808, "SmMny": 123456789.123456789e-3}]})",
        R"({"workers": [{"pName": "a", "pName": "b", "nAddr": "x", "nAddr": "", "d01": "√", "d31": "\u221a"}]})",
        R"({"workers": [{"p\u004eame": "\"\\\/\b\f\n\r\t\u0000\uAC00\uDB40\uDC01x"}], "header": {"gs\u004eame": ""}})",
        R"({"header": {"gsName": "a", "gsName": "b", "cmpTel": "02-123-4567", "MgrJmnNo": "8001011234567"}})",
        "{\r\n\t\"workers\" :\r\n[ { \"pName\" : \"a\" } ,{\"pName\":\"b\"}\t]\r\n}\r\n\r\n",
    };
    for (const std::string& json : cases) {
        SCOPED_TRACE(json);
        const Read read = quickly(json);
        EXPECT_TRUE(read.plain);
        EXPECT_EQ(read.text, inGeneral(json));
    }
}

TEST(PlainSheet, LeavesAnythingElseToTheGeneralReaderWithTheHeaderUnchanged)
{
    const std::string cases[] = {
        "", "[]", "{} x", "\xEF\xBB{}", " \xEF\xBB\xBF{}",
        R"({"header": {}, "header": {}})", R"({"workers": [], "workers": []})", R"({"other": 1})",
        R"({"header": {"gsName": "a", "other": "b"}})", R"({"header": {"gsName": 5}})", R"({"header": null})",
        R"({"workers": [{"nDay": 1}]})", R"({"workers": [{"pName": ""}]})", R"({"workers": [{"pName": "a", "x": 1}]})",
        R"({"workers": [{"pName": 5, "pName": "a"}]})", R"({"workers": [{"pName": "é"}]})",
        R"({"workers": [{"pName": "\ud800"}]})", R"({"workers": [{"pName": "\udc00\ud800"}]})",
        R"({"workers": [{"pName": "a\x"}]})", "{\"workers\": [{\"pName\": \"\xFF\"}]}",
        R"({"workers": [{"pName": "a", "HCODE": 2147483648}]})", R"({"workers": [{"pName": "a", "HCODE": 0.5}]})",
        R"({"workers": [{"pName": "a", "nDay": 1e999}]})", R"({"workers": [{"pName": "a", "nDay": 1e-999}]})",
        R"({"workers": [{"pName": "a", "nDay": 01}]})", R"({"workers": [{"pName": "a", "nDay": 1.}]})",
        R"({"workers": [{"pName": "a", "nDay": true}]})", R"({"workers": [{"pName": "a", "nDay": "1"}]})",
        R"({"workers": [{"pName": "a"},]})", R"({"workers": [{"pName": "a"}])", R"({"workers": [1]})",
        "{\"workers\": [{\"pName\": \"a\x01\"}]}",
    };
    for (const std::string& json : cases) {
        SCOPED_TRACE(json);
        MemoryJsonSource in(json);
        SheetHeader header = startingHeader();
        EXPECT_FALSE(ReadPlainSheet(in, header, {}));
        EXPECT_EQ(header.gsName, "kept");
        EXPECT_EQ(header.cmpNo, "1");
    }
    // A NUL byte inside, which a C string would end at.
    MemoryJsonSource in(std::string("{\"workers\": []}\0", 16));
    SheetHeader header;
    EXPECT_FALSE(ReadPlainSheet(in, header, {}));
}

// A sheet of many workers, several megabytes: fields in any order, blanks of every kind,
// escapes and texts of every length the fields take, so that every piece of the reading meets
// a member at its edge.
std::string largeSheet(std::mt19937& random, int workers, const std::string& longText)
{
    const char* const texts[] = {"", "a", "가나다", "홍길동", "√", "A.철근원", "서울특별시 중구 세종대로 110", "\\u00b7\\\"",
                                 "\\n\\t", "900101-1234567", "(010)1234-5678"};
    const char* const blanks[] = {"", " ", "\n      ", "\r\n\t", "  "};
    const char* const numbers[] = {"0", "-0", "1", "7.5", "-1234.5", "1e2", "922337203685477.5", "0.03125", "100000"};
    std::string json = "{\"header\": {\"gsName\": \"현장\", \"gsyear\": \"2024\", \"gmonth\": \"5\"},\n\"workers\": [";
    for (int i = 0; i < workers; ++i) {
        json += i ? "," : "";
        json += blanks[random() % 5];
        json += "{";
        std::vector<int> fields(kFieldCount);
        for (int f = 0; f < kFieldCount; ++f)
            fields[static_cast<std::size_t>(f)] = f;
        if (random() % 2)
            std::shuffle(fields.begin(), fields.end(), random);
        fields.resize(1 + random() % kFieldCount);
        fields.push_back(4);   // a name, last
        for (std::size_t k = 0; k < fields.size(); ++k) {
            const FieldDef& def = WorkerFields()[static_cast<std::size_t>(fields[k])];
            json += k ? "," : "";
            json += blanks[random() % 5];
            json += "\"" + std::string(def.name) + "\"" + blanks[random() % 5] + ":" + blanks[random() % 5];
            if (def.type == FieldType::Integer)
                json += std::to_string(static_cast<int>(random() % 2001) - 1000);
            else if (def.type == FieldType::Float)
                json += numbers[random() % 9];
            else if (def.name == "pName")
                json += "\"" + std::string("n") + std::to_string(random() % 100) + "\"";
            else if (i == workers / 2 && fields[k] == 7)
                json += "\"" + longText + "\"";
            else
                json += "\"" + std::string(texts[random() % 11]) + "\"";
        }
        json += blanks[random() % 5];
        json += "}";
    }
    return json + "]}";
}

TEST(PlainSheet, ALargeSheetReadInPiecesGivesWhatTheGeneralReaderGives)
{
    std::mt19937 random(11);
    const std::string json = largeSheet(random, 12000, std::string(2000, 'x'));
    ASSERT_GT(json.size(), 3u << 20);
    const Read read = quickly(json);
    EXPECT_TRUE(read.plain);
    EXPECT_EQ(read.text, inGeneral(json));
}

TEST(PlainSheet, AMemberLongerThanItsBufferGoesToTheGeneralReader)
{
    std::mt19937 random(12);
    const std::string json = largeSheet(random, 3000, std::string(1100000, 'x'));
    EXPECT_FALSE(quickly(json).plain);

    MemoryJsonSource in(json);
    SheetHeader header = startingHeader();
    std::vector<WorkerRow> rows;
    ReadSheetJson(in, header, {[&rows](const WorkerRow& row) { rows.push_back(row); }, [&rows] { rows.clear(); }});
    EXPECT_EQ(sheetText(header, rows), inGeneral(json));
}

} // namespace
} // namespace lavodc::cli
