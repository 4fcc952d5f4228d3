#include "report/report_filling.h"

#include "report/ptq_lvodoc.h"

#include "core/cp949.h"
#include "core/quorva_lib.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace lavodc::report {
namespace {

WorkerRow worker(const std::string& nameUtf8)
{
    WorkerRow row;
    row.HCODE = row.SCODE = row.LCODE = 1;
    row.pName = toCp949(nameUtf8);
    row.JmnNo = "800101-1234567";
    row.nName = toCp949("A.철근원");
    row.nAddr = toCp949("대전 서구 둔산동 123");
    row.nTel = "(042) 123-4567";
    row.nEtc = toCp949("1.회사사정에 의한 이직");
    row.days[0] = std::string(kDayMark);
    row.days[30] = std::string(kDayMark);
    row.nNal = 17;
    row.nDay = 7.5;
    row.SmMny = 1234567;
    return row;
}

void fillTable(WorkerTable& table, int workers)
{
    table.Open();
    std::vector<WorkerRow> rows;
    for (int i = 0; i < workers; ++i)
        rows.push_back(worker("작업자" + std::to_string(100 + i)));
    table.AppendRows(std::move(rows));
    table.First();
}

TEST(RowTotalTest, WorkersAreFollowedByOneToEightBlankRows)
{
    struct Case {
        int workers, rows;
    };
    for (const Case c : {Case{0, 8}, Case{1, 8}, Case{7, 8}, Case{8, 16}, Case{9, 16}, Case{16, 24}})
        EXPECT_EQ(RowTotalFor(c.workers), c.rows) << c.workers << " workers";
}

TEST(CountingRunTest, PageCountForTableSizes)
{
    struct Case {
        int workers, pages;
    };
    for (const Case c : {Case{0, 1}, Case{1, 1}, Case{7, 1}, Case{8, 2}, Case{9, 2}, Case{16, 3}}) {
        WorkerTable table;
        fillTable(table, c.workers);
        TPtqLvodocf form(table);
        EXPECT_EQ(form.Prepare(), c.pages) << c.workers << " workers";
        EXPECT_TRUE(table.Eof());
    }
}

TEST(PrintingRunTest, PagesHoldTheWorkersThenBlankRowsAndRunsRepeat)
{
    WorkerTable table;
    fillTable(table, 9);
    TPtqLvodocf form(table);
    std::vector<PageContent> pages;
    form.Run([&](const PageContent& page) { pages.push_back(page); });
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].pageNumber, 1);
    EXPECT_EQ(pages[1].pageNumber, 2);
    ASSERT_EQ(pages[1].rows.size(), 8u);
    EXPECT_EQ(fromCp949(pages[1].rows[0][kLabelPName]), "작업자108");
    for (int i = 1; i < 8; ++i)
        for (const std::string& text : pages[1].rows[i])
            EXPECT_TRUE(text.empty()) << "blank row " << i;

    table.First();
    std::vector<PageContent> again;
    form.Run([&](const PageContent& page) { again.push_back(page); });
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0].rows, pages[0].rows);

    table.First();
    std::vector<int> numbers;
    EXPECT_EQ(form.Run([&](const PageContent& page) { numbers.push_back(page.pageNumber); }, 2, 2), 1);
    EXPECT_EQ(numbers, std::vector<int>{2});
    EXPECT_EQ(form.PageCount(), 2);
}

TEST(FillDetailTextsTest, RowLabelsFromOneWorkerAndABlankRowAfterTheLast)
{
    WorkerTable table;
    table.Open();
    table.AppendRows({worker("홍길동")});
    table.First();
    DetailTexts labels;
    ReportFilling filling(table, labels);
    filling.QuickRepBeforePrint();
    EXPECT_EQ(filling.RowTotal(), 8);

    ASSERT_TRUE(filling.QuickRepNeedData());
    filling.QRBand3BeforePrint();
    EXPECT_EQ(fromCp949(labels[kLabelPName]), "홍길동");
    EXPECT_EQ(labels[kLabelJmnNo], "800101-1234567");
    EXPECT_EQ(fromCp949(labels[kLabelNName]), "A.철근원");
    EXPECT_EQ(fromCp949(labels[kLabelNEtc]), "1.회사사정에 의한 이직");
    EXPECT_EQ(labels[kLabelD01], kDayMark);
    EXPECT_EQ(labels[kLabelD01 + 1], "");
    EXPECT_EQ(labels[kLabelD01 + 30], kDayMark);
    EXPECT_EQ(labels[kLabelNNal], "17");
    EXPECT_EQ(labels[kLabelNDay], "7.5");
    EXPECT_EQ(labels[kLabelSmMny], "  1,234,567");
    EXPECT_EQ(fromCp949(labels[kLabelNAddr]), "대전 서구 둔산동 123\r(042)123-4567");

    for (int row = 2; row <= 8; ++row) {
        ASSERT_TRUE(filling.QuickRepNeedData());
        filling.QRBand3BeforePrint();
        for (const std::string& text : labels)
            EXPECT_TRUE(text.empty()) << "row " << row;
    }
    EXPECT_FALSE(filling.QuickRepNeedData());
    EXPECT_TRUE(table.Eof());
}

TEST(NumberTextTest, PlainDecimalAndWages)
{
    const double none = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(PlainNumberText(17), "17");
    EXPECT_EQ(PlainNumberText(7.5), "7.5");
    EXPECT_EQ(PlainNumberText(0), "0");
    EXPECT_EQ(PlainNumberText(-0.0), "0");
    EXPECT_EQ(PlainNumberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(PlainNumberText(none), "");
    EXPECT_EQ(WageText(1234567), "  1,234,567");
    EXPECT_EQ(WageText(0), "          0");
    EXPECT_EQ(WageText(123456789012.0), "          0");   // wider than the column
    EXPECT_EQ(WageText(none), "");
}

TEST(AddressTextTest, HoldsTheWholeAddressAndTheTelephoneApart)
{
    struct Case {
        std::string address;   // CP949
        std::string tel;
        std::string expected;
    };
    const std::string seventy(70, 'x');
    const std::string half = std::string(69, 'y') + "\xB0";   // cut inside a syllable when stored
    for (const Case& c : {
             Case{toCp949("  서울 중구 \t "), "(02)1234-5678", toCp949("서울 중구") + "\r(02)1234-5678"},
             Case{seventy, "(042) 123-4567", seventy + "\r(042)123-4567"},
             Case{half, "", std::string(69, 'y')},
             Case{toCp949("서울\r중구"), "   ", toCp949("서울 중구")},
             Case{"", "(010)1234-5678", "\r(010)1234-5678"},
         }) {
        EXPECT_EQ(AddressText(c.address, c.tel), c.expected);
    }
    const std::string text = toCp949("서울 중구") + "\r(02)1234-5678";
    const auto [address, phone] = AddressAndPhone(text);
    EXPECT_EQ(address, toCp949("서울 중구"));
    EXPECT_EQ(phone, "(02)1234-5678");
}

TEST(BreakPointTextTest, CutFollowsTheCharacterAtTheLimit)
{
    struct Case {
        const char* text;
        int limit;
        const char* expected;
    };
    for (const Case& c : {
             Case{"ABCDEFGHIJ", 8, "ABCDEFGH IJ"},
             Case{"ABCDEFGH", 8, "ABCDEFGH"},
             Case{"ABCDEFGHIJ   ", 8, "ABCDEFGH IJ"},
             Case{"가나다라", 8, "가나다라"},
             Case{"가나다라  ", 8, "가나다라  "},
             Case{"가나다라마", 8, "가나다 라마"},          // byte 8 is a second byte: cut at 6
             Case{"A가나다라", 8, "A가나다 라"},            // byte 8 is a first byte: cut at 7
             Case{"AB가나다라", 8, "AB가나 다라"},          // byte 8 is a second byte: cut at 6
             Case{"A.철근원", 13, "A.철근원"},
             // A blank within the limit breaks the line already; nothing splits a word.
             Case{"1.회사사정에 의한 이직", 13, "1.회사사정에 의한 이직"},
             Case{"2.부득이한 개인사정", 13, "2.부득이한 개인사정"},
             Case{"John Smith", 8, "John Smith"},
             Case{"김 수한무거북", 8, "김 수한무거북"},
             Case{"2.부득이한개인사정", 13, "2.부득이한개 인사정"},   // byte 13 is a first byte: cut at 12
             Case{" ABCDEFGHIJ", 8, " ABCDEFG HIJ"},                // a leading blank is no break
         }) {
        EXPECT_EQ(fromCp949(BreakPointText(toCp949(c.text), c.limit)), c.expected) << c.text;
    }
}

TEST(PrintTimeTextTest, RulesApplyOnlyToTheirLabelsAndNeverToEmptyText)
{
    struct Case {
        const char* label;
        const char* stored;
        const char* drawn;
    };
    for (const Case& c : {
             Case{"nNal", "17", "17일"},
             Case{"nDay", "8", "8시간"},
             Case{"nDay", "7.5", "7.5시간"},
             Case{"nNal", "", ""},
             Case{"SmMny", "          0", ""},
             Case{"SmMny", "  1,234,567", "  1,234,567"},
             Case{"SmMny", "", ""},
             Case{"pName", "가나다라마", "가나다 라마"},
             Case{"nEtc", "1.회사사정에 의한 이직", "1.회사사정에 의한 이직"},
             Case{"nAddr", "서울 중구\r(02)1234-5678", "서울 중구\r(02)1234-5678"},
             Case{"nName", "", ""},
             Case{"JmnNo", "800101-1234567", "800101-1234567"},
             Case{"d01", "√", "√"},
             Case{"QRSysData1", "1", "Page: 1"},
             Case{"cmpNo", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP"},
         }) {
        EXPECT_EQ(fromCp949(PrintTimeText(c.label, toCp949(c.stored))), c.drawn) << c.label << " " << c.stored;
    }
}

} // namespace
} // namespace lavodc::report
