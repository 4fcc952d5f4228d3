#include "core/next_month.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

#include <cctype>

namespace lavodc {
namespace {

struct MonthCase {
    std::string year, month;
    bool advanced;
    std::string wantYear, wantMonth;
};

std::string MonthCaseName(const ::testing::TestParamInfo<MonthCase>& info)
{
    std::string name;
    for (const char c : info.param.year + "_" + info.param.month)
        name += std::isalnum(static_cast<unsigned char>(c)) || c == '_' ? c : 'x';
    return name + "_" + std::to_string(info.index);
}

class AdvanceHeaderMonthTest : public ::testing::TestWithParam<MonthCase> {};

TEST_P(AdvanceHeaderMonthTest, AdvancesOrLeavesTheBoxesAsTheyWere)
{
    const MonthCase& c = GetParam();
    SheetHeader header;
    header.gsyear = c.year;
    header.gmonth = c.month;
    EXPECT_EQ(AdvanceHeaderMonth(header), c.advanced);
    EXPECT_EQ(header.gsyear, c.wantYear);
    EXPECT_EQ(header.gmonth, c.wantMonth);
}

INSTANTIATE_TEST_SUITE_P(Months, AdvanceHeaderMonthTest,
                         ::testing::Values(MonthCase{"2024", "01", true, "2024", "02"},
                                           MonthCase{"2024", "11", true, "2024", "12"},
                                           MonthCase{"2024", "12", true, "2025", "01"},
                                           MonthCase{"2024", "5 ", true, "2024", "06"},
                                           MonthCase{"    ", "05", false, "    ", "05"},
                                           MonthCase{"2024", "  ", false, "2024", "  "},
                                           MonthCase{"2024", "13", false, "2024", "13"},
                                           MonthCase{"2024", "00", false, "2024", "00"},
                                           MonthCase{"20a4", "03", false, "20a4", "03"},
                                           MonthCase{"2024", "-1", false, "2024", "-1"},
                                           MonthCase{"9999", "12", false, "9999", "12"}),
                         MonthCaseName);

class NextMonthTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sheet.table.Open();
        sheet.header.gsName = K("행복아파트 신축공사");
        sheet.header.gsyear = "2024";
        sheet.header.gmonth = "12";
        sheet.header.MgrName = K("김관리");
        sheet.period = "2024.12";
    }

    void add(const char* name, const char* number, const char* reason, int workedDays)
    {
        WorkerTable& table = sheet.table;
        table.Append();
        table.SetFieldInteger("HCODE", 1);
        table.SetFieldText("cDate", "2024.12");
        table.SetFieldText("pName", K(name));
        table.SetFieldText("JmnNo", number);
        table.SetFieldText("nName", K("A.철근원"));
        table.SetFieldText("nAddr", K("대전시 중구"));
        table.SetFieldText("nTel", "(042) 123-4567");
        table.SetFieldText("nEtc", K(reason));
        table.SetFieldFloat("nDay", 8.5);
        table.SetFieldFloat("SmMny", 1500000);
        for (int d = 0; d < workedDays; ++d)
            table.SetFieldTextAt(kFirstDayField + d, std::string(kDayMark));
        table.SetFieldTextAt(kFirstDayField + 30, "x");   // typed by hand into the day strip
        table.Post();
        table.RecountDays();
    }

    Sheet sheet;
};

TEST_F(NextMonthTest, KeepsTheCrewWithTheMonthsFiguresClearedAndLeavesOutTheLeavers)
{
    add("홍길동", "800101-1234567", "", 20);
    add("가나다", "810101-1234567", "1.회사사정에 의한 이직", 3);
    add("이순신", "820101-1234567", "", 5);
    add("박영희", "830101-2234567", "3.기타 개인사정", 1);
    sheet.table.SetIndexFieldNames(kByJobIndex);
    sheet.table.MoveTo(2);

    const NextMonthResult result = AdvanceToNextMonth(sheet);

    EXPECT_TRUE(result.periodAdvanced);
    EXPECT_EQ(result.carried, 2);
    EXPECT_EQ(result.leftOut, 2);
    EXPECT_EQ(sheet.header.gsyear, "2025");
    EXPECT_EQ(sheet.header.gmonth, "01");
    EXPECT_EQ(sheet.period, "2025.01");
    EXPECT_EQ(sheet.header.gsName, K("행복아파트 신축공사"));
    EXPECT_EQ(sheet.header.MgrName, K("김관리"));

    const WorkerTable& table = sheet.table;
    ASSERT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.IndexFieldNames(), kByNameIndex);
    EXPECT_EQ(table.CurrentIndex(), 0);
    EXPECT_EQ(table.RowAt(0).pName, K("이순신"));   // by name: 이 before 홍
    EXPECT_EQ(table.RowAt(1).pName, K("홍길동"));
    const WorkerRow& row = table.RowAt(1);
    EXPECT_EQ(row.HCODE, 1);
    EXPECT_EQ(row.JmnNo, "800101-1234567");
    EXPECT_EQ(row.nName, K("A.철근원"));
    EXPECT_EQ(row.nAddr, K("대전시 중구"));
    EXPECT_EQ(row.nTel, "(042) 123-4567");
    EXPECT_EQ(row.nDay, 8.5);
    EXPECT_EQ(row.cDate, "2025.01");
    EXPECT_EQ(row.nNal, 0);
    EXPECT_EQ(row.SmMny, 0);
    EXPECT_EQ(row.nEtc, "");
    for (const std::string& day : row.days)
        EXPECT_EQ(day, "");

    const std::string status = fromCp949(NextMonthStatusText(sheet.header, result));
    EXPECT_NE(status.find("2025년 01월"), std::string::npos) << status;
    EXPECT_NE(status.find("근로자 2명"), std::string::npos) << status;
    EXPECT_NE(status.find("이직자 2명 제외"), std::string::npos) << status;
}

TEST_F(NextMonthTest, ABlankReasonIsNoReasonButAnyOtherTextIs)
{
    add("홍길동", "800101-1234567", "   ", 2);
    add("이순신", "820101-1234567", "x", 2);
    const NextMonthResult result = AdvanceToNextMonth(sheet);
    EXPECT_EQ(result.carried, 1);
    EXPECT_EQ(result.leftOut, 1);
    ASSERT_EQ(sheet.table.RecordCount(), 1);
    EXPECT_EQ(sheet.table.RowAt(0).pName, K("홍길동"));
    EXPECT_EQ(sheet.table.RowAt(0).nEtc, "");
}

TEST_F(NextMonthTest, AnInvalidMonthIsLeftAsItIsWhileTheWorkersAreStillCarried)
{
    sheet.header.gmonth = "  ";
    sheet.period = "2024.  ";
    add("홍길동", "800101-1234567", "", 4);

    const NextMonthResult result = AdvanceToNextMonth(sheet);

    EXPECT_FALSE(result.periodAdvanced);
    EXPECT_EQ(sheet.header.gsyear, "2024");
    EXPECT_EQ(sheet.header.gmonth, "  ");
    EXPECT_EQ(sheet.period, "2024.  ");
    ASSERT_EQ(sheet.table.RecordCount(), 1);
    EXPECT_EQ(sheet.table.RowAt(0).nNal, 0);
    EXPECT_EQ(sheet.table.RowAt(0).cDate, "2024.12");
    const std::string status = fromCp949(NextMonthStatusText(sheet.header, result));
    EXPECT_NE(status.find("년월 그대로"), std::string::npos) << status;
    EXPECT_EQ(status.find("제외"), std::string::npos) << status;
}

TEST_F(NextMonthTest, AnEmptySheetOnlyAdvancesItsHeader)
{
    sheet.header.gmonth = "01";
    const NextMonthResult result = AdvanceToNextMonth(sheet);
    EXPECT_TRUE(result.periodAdvanced);
    EXPECT_EQ(result.carried, 0);
    EXPECT_EQ(sheet.header.gmonth, "02");
    EXPECT_TRUE(sheet.table.IsEmpty());
    EXPECT_EQ(sheet.table.CurrentIndex(), -1);
}

} // namespace
} // namespace lavodc
