// The worksheet reader over parts held in memory, as the archive would hand them over.
#include "core/xlsx_list_reader.h"

#include "core/cp949.h"
#include "tests/support/list_sources.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace lavodc {
namespace {

const std::string kMain = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

class MemoryParts : public WorkbookParts {
public:
    std::unique_ptr<ByteSource> Open(const std::string& name) override
    {
        const auto found = parts.find(name);
        return found == parts.end() ? nullptr : std::make_unique<MemorySource>(found->second);
    }
    std::map<std::string, std::string> parts;
};

// A workbook whose first sheet is `sheet` (the rows inside <sheetData>) with `strings` (the
// <si> elements) as its shared strings.
MemoryParts Workbook(const std::string& rows, const std::string& strings = "<si><t>성명</t></si>")
{
    MemoryParts book;
    book.parts["_rels/.rels"] = "<Relationships><Relationship Id=\"rId1\" Type=\"" + kMain +
                                "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    book.parts["xl/workbook.xml"] = "<workbook xmlns:r=\"r\"><sheets><sheet name=\"a\" sheetId=\"1\" "
                                    "r:id=\"rId1\"/></sheets></workbook>";
    book.parts["xl/_rels/workbook.xml.rels"] =
        "<Relationships><Relationship Id=\"rId2\" Type=\"" + kMain +
        "sharedStrings\" Target=\"sharedStrings.xml\"/><Relationship Id=\"rId1\" Type=\"" + kMain +
        "worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>";
    book.parts["xl/sharedStrings.xml"] = "<sst>" + strings + "</sst>";
    book.parts["xl/worksheets/sheet1.xml"] = "<worksheet><sheetData>" + rows + "</sheetData></worksheet>";
    return book;
}

// The error a reading gives, or "" when it reads.
std::string ReadError(MemoryParts& book, ListRowSink& sink)
{
    try {
        ReadFirstSheet(book, sink);
    } catch (const XlsxReadError& error) {
        return fromCp949(error.what());
    } catch (const ImportError& error) {
        return fromCp949(error.what());
    }
    return {};
}

TEST(XlsxListReaderTest, RowsHoldTheCellsWithValuesWhereverTheyStand)
{
    MemoryParts book = Workbook(
        "<row r=\"3\"><c r=\"C3\" t=\"s\"><v>0</v></c><c t=\"s\"><v>2</v></c></row>"
        "<row r=\"4\"><c r=\"A4\" s=\"1\"/><c r=\"B4\"><v></v></c></row>"
        "<row><c r=\"C5\" t=\"s\"><v>1</v></c><c r=\"D5\"><f>1+1</f><v>1.5E6</v></c>"
        "<c r=\"F5\" t=\"inlineStr\"><is><t>끝</t></is></c><c r=\"G5\" t=\"b\"><v>1</v></c>"
        "<c r=\"H5\"><v> 2.50 </v></c><c r=\"XFD5\" t=\"str\"><v>x &amp; y</v></c></row>",
        "<si><t>성명</t></si><si><r><t>홍</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\">길동 </t></r>"
        "<rPh sb=\"0\" eb=\"1\"><t>ホン</t></rPh></si><si><t>임금총액</t></si>");
    test::KeepAllRows rows;
    ReadFirstSheet(book, rows);
    ASSERT_EQ(rows.rows.size(), 2u);   // row 4 has no value that holds text
    EXPECT_EQ(rows.rows[0].number, 3);
    EXPECT_EQ(rows.rows[0].cells, (std::vector<std::string>{"", "", "성명", "임금총액"}));
    EXPECT_EQ(rows.rows[1].number, 5);
    std::vector<std::string> five(16384);
    five[2] = "홍길동 ";
    five[3] = "1500000";
    five[5] = "끝";
    five[6] = "1";
    five[7] = "2.5";
    five[16383] = "x & y";
    EXPECT_EQ(rows.rows[1].cells, five);
    EXPECT_FALSE(rows.rows[1].blank);
}

// Keeps, for each row, the address of each cell's text: shared texts must be handed over
// where they stand, not as copies.
class TextAddresses : public ListRowSink {
public:
    CellUse Use(std::size_t) const override { return CellUse::Whole; }
    void Row(const ListRow& row) override
    {
        for (const ListCell& cell : row.cells)
            addresses.push_back(cell.text.data());
    }
    std::vector<const char*> addresses;
};

TEST(XlsxListReaderTest, ASharedStringIsHandedOverWhereItStandsNeverCopiedPerCell)
{
    std::string rows;
    for (int r = 1; r <= 50; ++r)
        rows += "<row><c t=\"s\"><v>0</v></c><c t=\"s\"><v>0</v></c></row>";
    MemoryParts book = Workbook(rows, "<si><t>" + std::string(100000, 'x') + "</t></si>");
    TextAddresses sink;
    ReadFirstSheet(book, sink);
    ASSERT_EQ(sink.addresses.size(), 100u);
    for (const char* address : sink.addresses)
        EXPECT_EQ(address, sink.addresses.front());
}

// Asks for column A whole and skips the rest, as the import does below its titles.
class ColumnA : public ListRowSink {
public:
    CellUse Use(std::size_t column) const override { return column == 0 ? CellUse::Whole : CellUse::Skip; }
    void Row(const ListRow& row) override
    {
        ++rows;
        cells += row.cells.size();
        blank += row.blank ? 1 : 0;
    }
    int rows = 0, blank = 0;
    std::size_t cells = 0;
};

TEST(XlsxListReaderTest, SkippedColumnsAreNotKeptButCountForBlankRows)
{
    MemoryParts book = Workbook("<row><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"XFD1\"><v>1</v></c></row>"
                                "<row><c r=\"B2\" t=\"inlineStr\"><is><t>x</t></is></c></row>"
                                "<row><c r=\"B3\" t=\"inlineStr\"><is><t> </t></is></c></row>");
    ColumnA sink;
    ReadFirstSheet(book, sink);
    EXPECT_EQ(sink.rows, 3);
    EXPECT_EQ(sink.cells, 1u);
    EXPECT_EQ(sink.blank, 1);
}

struct DamagedCase {
    std::string label;
    std::string rows;
    std::string error;
};

void PrintTo(const DamagedCase& c, std::ostream* out) { *out << c.label; }

class XlsxDamagedTest : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(XlsxDamagedTest, SaysTheWorkbookIsDamaged)
{
    MemoryParts book = Workbook(GetParam().rows);
    test::KeepAllRows rows;
    EXPECT_EQ(ReadError(book, rows), "엑셀 통합 문서(.xlsx)를 읽을 수 없습니다: xl/worksheets/sheet1.xml 부분이 손상되었습니다 (" +
                                         GetParam().error + ")");
}

std::string DamagedName(const ::testing::TestParamInfo<DamagedCase>& info) { return info.param.label; }

INSTANTIATE_TEST_SUITE_P(
    Sheets, XlsxDamagedTest,
    ::testing::Values(
        DamagedCase{"last_int_row_then_a_row_without_number",
                    "<row r=\"2147483647\"><c><v>1</v></c></row><row><c><v>2</v></c></row>",
                    "행 번호가 1,048,576을 넘습니다"},
        DamagedCase{"last_row_then_a_row_without_number",
                    "<row r=\"1048576\"><c><v>1</v></c></row><row><c><v>2</v></c></row>",
                    "행 번호가 1,048,576을 넘습니다"},
        DamagedCase{"row_number_beyond_any_integer", "<row r=\"99999999999999999999\"/>", "행 번호가 잘못되었습니다"},
        DamagedCase{"row_number_zero", "<row r=\"0\"/>", "행 번호가 잘못되었습니다"},
        DamagedCase{"rows_out_of_order", "<row r=\"5\"/><row r=\"3\"/>", "행의 순서가 맞지 않습니다"},
        DamagedCase{"column_beyond_xfd", "<row><c r=\"XFE1\"><v>1</v></c></row>", "열이 XFD를 넘습니다"},
        DamagedCase{"cell_without_reference_after_xfd", "<row><c r=\"XFD1\"><v>1</v></c><c><v>2</v></c></row>",
                    "열이 XFD를 넘습니다"},
        DamagedCase{"more_cells_in_a_row_than_columns", "<row>" + [] {
                        std::string cells;
                        for (std::size_t i = 0; i <= kMaxListColumns; ++i)
                            cells += "<c r=\"A1\" t=\"inlineStr\"><is><t>a</t></is></c>";
                        return cells;
                    }() + "</row>",
                    "한 행의 칸이 16,384개를 넘습니다"},
        DamagedCase{"missing_shared_string", "<row><c t=\"s\"><v>7</v></c></row>", "없는 공유 문자열을 가리킵니다"},
        DamagedCase{"shared_string_number_no_number", "<row><c t=\"s\"><v>x</v></c></row>",
                    "없는 공유 문자열을 가리킵니다"},
        // The XML's own faults around a character CP949 lacks: still only "damaged".
        DamagedCase{"unknown_entity_named_with_a_character_cp949_lacks",
                    "<row><c t=\"inlineStr\"><is><t>&\xF0\x9F\x8F\xA0;</t></is></c></row>",
                    "알 수 없는 참조가 있습니다 (1번째 줄)"},
        DamagedCase{"end_tag_named_with_a_character_cp949_lacks", "<row><c><v>1</v></\xF0\x9F\x8F\xA0></row>",
                    "여는 태그와 닫는 태그가 맞지 않습니다 (1번째 줄)"}),
    DamagedName);

TEST(XlsxListReaderTest, MissingPartsAreNamed)
{
    test::KeepAllRows rows;
    MemoryParts noSheet = Workbook("");
    noSheet.parts.erase("xl/worksheets/sheet1.xml");
    EXPECT_EQ(ReadError(noSheet, rows), "엑셀 통합 문서(.xlsx)를 읽을 수 없습니다: 워크시트 부분(xl/worksheets/sheet1.xml)이 없습니다");
    MemoryParts noBook = Workbook("");
    noBook.parts.erase("xl/workbook.xml");
    EXPECT_EQ(ReadError(noBook, rows), "엑셀 통합 문서(.xlsx)를 읽을 수 없습니다: 통합 문서 부분(xl/workbook.xml)이 없습니다");
    MemoryParts noSheets = Workbook("");
    noSheets.parts["xl/workbook.xml"] = "<workbook/>";
    EXPECT_EQ(ReadError(noSheets, rows), "엑셀 통합 문서(.xlsx)를 읽을 수 없습니다: 통합 문서에 워크시트가 없습니다");
}

TEST(XlsxListLimitsTest, SharedStringsBeyondTheLimitRefuseTheList)
{
    const std::string megabyte(1 << 20, 'x');
    std::string strings;
    for (std::size_t i = 0; i < kMaxSharedStrings / megabyte.size(); ++i)
        strings += "<si><t>" + megabyte + "</t></si>";
    MemoryParts book = Workbook("", strings);
    ColumnA sink;
    EXPECT_EQ(ReadError(book, sink), "명단이 너무 큽니다: 공유 문자열이 64MB를 넘습니다.");
}

TEST(XlsxListLimitsTest, ReferencesToOneLongSharedStringCountAsTheirText)
{
    std::string rows;
    for (int r = 1; r <= 64; ++r)
        rows += "<row><c r=\"B" + std::to_string(r) + "\" t=\"s\"><v>0</v></c></row>";
    MemoryParts exact = Workbook(rows, "<si><t>" + std::string(1 << 20, 'x') + "</t></si>");
    ColumnA sink;
    EXPECT_EQ(ReadError(exact, sink), "");
    MemoryParts over = Workbook(rows + "<row><c r=\"B65\" t=\"s\"><v>0</v></c></row>",
                                "<si><t>" + std::string(1 << 20, 'x') + "</t></si>");
    EXPECT_EQ(ReadError(over, sink), "명단이 너무 큽니다: 칸의 글자가 모두 64MB를 넘습니다.");
}

TEST(XlsxListLimitsTest, RowsAndKeptCellsAreBounded)
{
    std::string rows;
    for (std::size_t r = 1; r <= kMaxListRows + 1; ++r)
        rows += "<row><c><v>1</v></c></row>";
    MemoryParts many = Workbook(rows);
    ColumnA sink;
    EXPECT_EQ(ReadError(many, sink), "명단이 너무 큽니다: 100,000행을 넘습니다.");

    const std::string longest(kMaxCellBytes, 'x');
    MemoryParts wide = Workbook("<row><c r=\"B1\" t=\"inlineStr\"><is><t>" + longest + "y</t></is></c>"
                                "<c r=\"A1\" t=\"inlineStr\"><is><t>" + longest + "</t></is></c></row>"
                                "<row r=\"7\"><c t=\"inlineStr\"><is><t>" + longest + "y</t></is></c></row>");
    EXPECT_EQ(ReadError(wide, sink), "명단 7행에 너무 긴 칸이 있습니다 (32,767자 넘음).");
}

} // namespace
} // namespace lavodc
