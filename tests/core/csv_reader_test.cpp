#include "core/csv_reader.h"

#include "core/cp949.h"
#include "tests/support/list_sources.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace lavodc {
namespace {

using Cells = std::vector<std::vector<std::string>>;

// The records of `text` split at `separator`, fed in pieces of `piece` bytes (0: whole).
Cells Split(const std::string& text, char separator, std::size_t piece, std::vector<int>* numbers = nullptr)
{
    test::KeepAllRows rows;
    CsvParser parser(separator, rows);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n = piece == 0 ? text.size() : std::min(piece, text.size() - at);
        parser.Feed(std::string_view(text).substr(at, n));
        at += n;
    }
    parser.Finish();
    Cells cells;
    for (const test::KeptRow& row : rows.rows) {
        std::vector<std::string> record = row.cells;
        record.resize(row.width);
        cells.push_back(record);
        if (numbers)
            numbers->push_back(row.number);
    }
    return cells;
}

struct ParseCase {
    std::string label;
    std::string text;
    char separator;
    Cells rows;
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << c.label; }

class CsvParserTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CsvParserTest, SplitsRecordsAndFieldsWhereverThePiecesEnd)
{
    const ParseCase& c = GetParam();
    for (const std::size_t piece : {0, 1, 2, 5}) {
        SCOPED_TRACE(piece);
        std::vector<int> numbers;
        EXPECT_EQ(Split(c.text, c.separator, piece, &numbers), c.rows);
        for (std::size_t i = 0; i < numbers.size(); ++i)
            EXPECT_EQ(numbers[i], static_cast<int>(i) + 1);
    }
}

std::string ParseCaseName(const ::testing::TestParamInfo<ParseCase>& info) { return info.param.label; }

INSTANTIATE_TEST_SUITE_P(
    Texts, CsvParserTest,
    ::testing::Values(ParseCase{"empty", "", ',', {}},
                      ParseCase{"crlf_lf_and_cr", "a,b\r\nc\nd\re", ',', {{"a", "b"}, {"c"}, {"d"}, {"e"}}},
                      ParseCase{"cr_lf_after_a_quoted_field", "\"a\"\r\n\"b\"\r\r\n", ',', {{"a"}, {"b"}, {""}}},
                      ParseCase{"no_final_break", "a;b", ';', {{"a", "b"}}},
                      ParseCase{"empty_fields", ",,\n", ',', {{"", "", ""}}},
                      ParseCase{"quoted_separator_break_and_quote", "\"a\tb\"\t\"c\r\nd\"\t\"e\"\"f\"\n", '\t',
                                {{"a\tb", "c\r\nd", "e\"f"}}},
                      ParseCase{"quote_closing_at_the_end", "a,\"b\"\"\"", ',', {{"a", "b\""}}},
                      ParseCase{"quote_inside_a_field_opens_a_quoted_part", "a\"b,c\"d,e\n", ',', {{"ab,cd", "e"}}},
                      ParseCase{"other_separators_are_text", "a;b,c\n", '\t', {{"a;b,c"}}}),
    ParseCaseName);

// Where a quote is left open, and the line each error names (lines counted as CR LF, LF or CR).
struct OpenQuoteCase {
    std::string label;
    std::string text;
    int line;
};

void PrintTo(const OpenQuoteCase& c, std::ostream* out) { *out << c.label; }

class CsvOpenQuoteTest : public ::testing::TestWithParam<OpenQuoteCase> {};

TEST_P(CsvOpenQuoteTest, RefusesTheListNamingTheQuotesLine)
{
    const OpenQuoteCase& c = GetParam();
    for (const std::size_t piece : {0, 1}) {
        SCOPED_TRACE(piece);
        try {
            Split(c.text, ',', piece);
            ADD_FAILURE() << "split a text with a quote left open";
        } catch (const ImportError& error) {
            EXPECT_EQ(fromCp949(error.what()), "명단 " + std::to_string(c.line) + "번째 줄의 따옴표가 닫히지 않았습니다.");
        }
    }
}

std::string OpenQuoteName(const ::testing::TestParamInfo<OpenQuoteCase>& info) { return info.param.label; }

INSTANTIATE_TEST_SUITE_P(
    Texts, CsvOpenQuoteTest,
    ::testing::Values(OpenQuoteCase{"first_line", "\"a,b\nc,d\n", 1},
                      OpenQuoteCase{"inside_a_name", "a\r\nb\r\n\"c\r\nd,e\r\n", 3},
                      OpenQuoteCase{"after_a_quoted_line_break", "\"x\ny\",z\nq\r\"r\n", 4},
                      OpenQuoteCase{"after_a_closed_one", "\"a\"\"\",\"b\n", 1}),
    OpenQuoteName);

// Asks for nothing: what a reader must still count.
class SkipAll : public ListRowSink {
public:
    CellUse Use(std::size_t) const override { return CellUse::Skip; }
    void Row(const ListRow& row) override
    {
        ++rows;
        cells += row.cells.size();
    }
    int rows = 0;
    std::size_t cells = 0;
};

// Asks for column 0 whole, nothing else.
class FirstColumn : public SkipAll {
public:
    CellUse Use(std::size_t column) const override { return column == 0 ? CellUse::Whole : CellUse::Skip; }
};

std::string ErrorOf(const std::function<void()>& run)
{
    try {
        run();
    } catch (const ImportError& error) {
        return fromCp949(error.what());
    }
    return {};
}

TEST(CsvParserLimitsTest, RowsWithTextPastTheLimitRefuseTheList)
{
    SkipAll sink;
    CsvParser parser(',', sink);
    const std::string rows = [] {
        std::string text;
        for (std::size_t i = 0; i < kMaxListRows; ++i)
            text += "a\n\n";   // blank records hold no text and do not count
        return text;
    }();
    parser.Feed(rows);
    EXPECT_EQ(sink.rows, static_cast<int>(2 * kMaxListRows));
    EXPECT_EQ(ErrorOf([&] { parser.Feed(",x\n"); }), "명단이 너무 큽니다: 100,000행을 넘습니다.");
}

TEST(CsvParserLimitsTest, CellTextPastTheLimitRefusesTheListAlsoWhereNothingIsKept)
{
    SkipAll sink;
    CsvParser parser(',', sink);
    const std::string megabyte(1 << 20, 'x');
    for (std::size_t i = 0; i < kMaxListText / megabyte.size(); ++i)
        parser.Feed(megabyte);
    EXPECT_EQ(ErrorOf([&] { parser.Feed(","); }), "");   // separators are no text
    EXPECT_EQ(ErrorOf([&] { parser.Feed("y"); }), "명단이 너무 큽니다: 칸의 글자가 모두 64MB를 넘습니다.");
}

TEST(CsvParserLimitsTest, ARecordHasAtMostTheColumnsOfAWorksheet)
{
    SkipAll sink;
    CsvParser parser(';', sink);
    parser.Feed("a\n" + std::string(kMaxListColumns - 1, ';') + "\n");
    EXPECT_EQ(sink.rows, 2);
    EXPECT_EQ(ErrorOf([&] { parser.Feed(std::string(kMaxListColumns + 1, ';')); }),
              "명단 3행의 칸이 16,384개를 넘습니다.");
}

TEST(CsvParserLimitsTest, AKeptCellHoldsAtMostAWorksheetCellsText)
{
    const std::string longest(kMaxCellBytes, 'x');
    FirstColumn sink;
    CsvParser parser(',', sink);
    parser.Feed("a," + longest + "y\n" + longest + ",b\n");   // the long one in a skipped column, then kept
    EXPECT_EQ(sink.rows, 2);
    EXPECT_EQ(ErrorOf([&] { parser.Feed("\"" + longest + "\"\"\""); }),
              "명단 3행에 너무 긴 칸이 있습니다 (32,767자 넘음).");
}

// A source that never ends: ones and line breaks.
class EndlessSource : public ByteSource {
public:
    std::size_t Read(char* buffer, std::size_t size) override
    {
        for (std::size_t i = 0; i < size; ++i)
            buffer[i] = i % 2 ? '\n' : '1';
        return size;
    }
    void Rewind() override {}
};

TEST(CsvTextTest, AFileBeyondTheLimitIsRefusedWhileReading)
{
    EndlessSource endless;
    EXPECT_EQ(ErrorOf([&] { DetectCsvEncoding(endless); }), "명단 파일이 너무 큽니다 (256MB 넘음).");
    EXPECT_EQ(ErrorOf([&] { ReadCsvText(endless, CsvEncoding::Utf8, [](std::string_view) {}); }),
              "명단 파일이 너무 큽니다 (256MB 넘음).");
}

struct TextCase {
    std::string label;
    std::string bytes;
    CsvEncoding encoding;
    std::string utf8;
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.label; }

class CsvTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CsvTextTest, TakesUtf8AsItIsAndReadsAnythingElseAsCp949WhereverThePiecesEnd)
{
    const TextCase& c = GetParam();
    for (const std::size_t piece : {0, 1, 2, 3}) {
        SCOPED_TRACE(piece);
        test::PiecewiseSource bytes(c.bytes, piece);
        const CsvEncoding encoding = DetectCsvEncoding(bytes);
        EXPECT_EQ(encoding, c.encoding);
        std::string text;
        ReadCsvText(bytes, encoding, [&text](std::string_view piece) { text += piece; });
        EXPECT_EQ(text, c.utf8);
    }
}

std::string TextCaseName(const ::testing::TestParamInfo<TextCase>& info) { return info.param.label; }

INSTANTIATE_TEST_SUITE_P(
    Files, CsvTextTest,
    ::testing::Values(TextCase{"utf8_with_mark", "\xEF\xBB\xBF성명", CsvEncoding::Utf8, "성명"},
                      TextCase{"utf8", "성명,홍길동", CsvEncoding::Utf8, "성명,홍길동"},
                      TextCase{"plain", "plain", CsvEncoding::Utf8, "plain"},
                      TextCase{"part_of_a_mark", "\xEF\xBB", CsvEncoding::Cp949, "癤"},
                      TextCase{"cp949", toCp949("성명,홍길동\n똠방각하"), CsvEncoding::Cp949, "성명,홍길동\n똠방각하"},
                      // A UTF-8 sequence cut by the end is no UTF-8.
                      TextCase{"utf8_cut_at_the_end", "ab\xED\x99", CsvEncoding::Cp949, "ab\xEF\xBF\xBD\xEF\xBF\xBD"},
                      TextCase{"cp949_lead_byte_last", toCp949("가") + "\xB0", CsvEncoding::Cp949,
                               "가\xEF\xBF\xBD"}),
    TextCaseName);

} // namespace
} // namespace lavodc
