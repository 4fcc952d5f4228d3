// Column names past "Z" and the cell texts a workbook holds.
#include "services/column_letters.h"
#include "services/workbook_writer.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

#include <string>

using namespace lavodc;

namespace {

struct LetterCase {
    int column;
    const char* letters;
};

class ColumnLettersTest : public ::testing::TestWithParam<LetterCase> {};

TEST_P(ColumnLettersTest, NamesTheColumn)
{
    EXPECT_EQ(ColumnLetters(GetParam().column), GetParam().letters);
}

INSTANTIATE_TEST_SUITE_P(Columns, ColumnLettersTest,
                         ::testing::Values(LetterCase{0, "A"}, LetterCase{1, "B"}, LetterCase{25, "Z"},
                                           LetterCase{26, "AA"}, LetterCase{31, "AF"}, LetterCase{51, "AZ"},
                                           LetterCase{52, "BA"}, LetterCase{701, "ZZ"}, LetterCase{702, "AAA"},
                                           LetterCase{16383, "XFD"}, LetterCase{-1, ""}),
                         [](const ::testing::TestParamInfo<LetterCase>& info) {
                             return "Column" + std::to_string(info.param.column + 1);
                         });

struct CellTextCase {
    std::string cp949;
    std::string stored;   // UTF-8
};

class WorkbookCellTextTest : public ::testing::TestWithParam<CellTextCase> {};

TEST_P(WorkbookCellTextTest, HoldsWhatTheSpreadsheetReadsBackAsTheValue)
{
    EXPECT_EQ(WorkbookCellText(GetParam().cp949), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WorkbookCellTextTest,
    ::testing::Values(CellTextCase{K("홍길동"), "홍길동"},
                      CellTextCase{K("탭\t줄\n바꿈"), "탭\t줄\n바꿈"},        // kept in the cell as they are
                      CellTextCase{"a\rb", "a_x000D_b"},                       // XML would turn it into \n
                      CellTextCase{std::string("\x01\x1F\x7F", 3), "_x0001__x001F__x007F_"},
                      CellTextCase{"_x0041_", "_x005F_x0041_"},                 // not read back as "A"
                      CellTextCase{"_X00aF_", "_x005F_X00aF_"},
                      CellTextCase{"_x41_ _x00G1_ _x0041", "_x41_ _x00G1_ _x0041"},
                      CellTextCase{"", ""}),
    [](const ::testing::TestParamInfo<CellTextCase>& info) {
        return "Case" + std::to_string(info.index);
    });

} // namespace
