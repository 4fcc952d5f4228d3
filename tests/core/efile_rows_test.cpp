#include "core/efile_rows.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

namespace lavodc {
namespace {

WorkerRow worker(const char* name, const char* number, const char* job, const char* tel,
                 std::initializer_list<int> days, double wages, const char* reason = "")
{
    WorkerRow row;
    row.pName = K(name);
    row.JmnNo = number;
    row.nName = K(job);
    row.nTel = tel;
    for (int day : days)
        row.days[static_cast<std::size_t>(day - 1)] = std::string(kDayMark);
    row.nDay = 8;
    row.SmMny = wages;
    row.nEtc = K(reason);
    return row;
}

std::vector<std::string> utf8(const std::vector<std::string>& lines)
{
    std::vector<std::string> out;
    for (const std::string& line : lines)
        out.push_back(fromCp949(line));
    return out;
}

class EfileSheetTest : public ::testing::Test {
protected:
    std::vector<WorkerRow> workers{
        worker("홍길동", "881130-2123458", "A.철근원", "(010)9876-5432", {3, 4, 5}, 600000),
        worker("응우옌", "900101-5123456", "U.건설단순노무자", "( 02) 555-1234", {10}, 130000),
        worker("김철수", "750505-1234564", "B.철골공", "   ", {1, 30, 31}, 450000, "1.회사사정에 의한 이직"),
        worker("박민수", "900909-2345672", "A.철근원", "", {}, 0),
        worker("이목수", "910101-1234567", "목공", "(010)1111-2222", {2}, 90000),
        worker("응우옌", "900101-5123456", "U.건설단순노무자", "", {11}, 130000),
    };
    JobCodes jobs{{"A", "701"}};
    PeopleCodes people;
    EfileOptions options;

    EfileSheet build() { return BuildEfileSheet(workers, "2026", "11", jobs, people, options); }
};

TEST_F(EfileSheetTest, AKoreanWorkerGetsCodesTelephonePartsAndDays)
{
    const EfileRow row = build().rows.at(0);
    EXPECT_EQ(row.insurance, "5");
    EXPECT_EQ(fromCp949(row.name), "홍길동");
    EXPECT_EQ(row.number, "8811302123458");
    EXPECT_EQ(row.nationality, "100");
    EXPECT_EQ(row.stayStatus, "");
    EXPECT_EQ(row.telArea, "010");
    EXPECT_EQ(row.telExchange, "9876");
    EXPECT_EQ(row.telLine, "5432");
    EXPECT_EQ(row.jobCode, "701");
    EXPECT_EQ(row.dayCount, 3);
    EXPECT_TRUE(row.days[2] && row.days[3] && row.days[4]);
    EXPECT_FALSE(row.days[0] || row.days[5]);
    EXPECT_EQ(row.hours, 8);
    EXPECT_EQ(row.wages, 600000);
    EXPECT_EQ(row.leaveReason, "");
    EXPECT_FALSE(row.taxColumns);
}

TEST_F(EfileSheetTest, TheSummaryNamesWhatIsMissingOrLeftOut)
{
    const EfileSheet sheet = build();
    EXPECT_EQ(utf8(sheet.summary), (std::vector<std::string>{
        "응우옌: 외국인의 국적코드와 체류자격코드가 없습니다",
        "김철수: 11월에 없는 31일의 표시를 뺐습니다",
        "박민수: 근로일이 없습니다",
        "이목수: 직종 목록에 없는 직종(목공)이라 직종코드를 비웠습니다",
        "응우옌: 외국인의 국적코드와 체류자격코드가 없습니다",
        "U.건설단순노무자: 직종코드가 없습니다 (응우옌 외 1명)",
        "B.철골공: 직종코드가 없습니다 (김철수)",
    }));
    EXPECT_EQ(sheet.jobsWithoutCode, (std::vector<std::string>{"U", "B"}));
    // A foreigner on two rows is asked for once.
    EXPECT_EQ(sheet.foreignersWithoutCodes, (std::vector<std::string>{"9001015123456"}));
}

TEST_F(EfileSheetTest, TheDialogIsOfferedTheSheetsJobTypesAndForeigners)
{
    people["9001015123456"] = {"250", "E9"};
    const EfileSheet sheet = build();
    EXPECT_EQ(sheet.jobsUsed, (std::vector<std::string>{"A", "U", "B"}));
    ASSERT_EQ(sheet.foreigners.size(), 1u);
    EXPECT_EQ(sheet.foreigners[0].number, "9001015123456");
    EXPECT_EQ(fromCp949(sheet.foreigners[0].name), "응우옌");
    EXPECT_TRUE(sheet.foreignersWithoutCodes.empty());
}

TEST_F(EfileSheetTest, ANumberThatIsNoRegistrationNumberGetsNoNationality)
{
    workers = {worker("오기입", "90010-512345 ", "A.철근원", "", {1}, 90000),
               worker("빈번호", "      -       ", "A.철근원", "", {1}, 90000)};
    const EfileSheet sheet = build();
    for (const EfileRow& row : sheet.rows) {
        EXPECT_EQ(row.nationality, "");
        EXPECT_EQ(row.stayStatus, "");
    }
    EXPECT_EQ(sheet.rows[0].number, "90010512345");
    EXPECT_TRUE(sheet.foreigners.empty());
    EXPECT_TRUE(sheet.foreignersWithoutCodes.empty());
    EXPECT_EQ(utf8(sheet.summary), (std::vector<std::string>{
        "오기입: 주민(외국인)등록번호가 13자리 숫자가 아닙니다",
        "빈번호: 주민(외국인)등록번호가 13자리 숫자가 아닙니다",
    }));
}

TEST_F(EfileSheetTest, AJobTypeOffTheListGetsNoCode)
{
    // The entry dialog would show "목공" as the last entry of its list; the workbook does not
    // guess, even when that entry has a code.
    jobs["U"] = "706";
    const EfileRow row = build().rows.at(4);
    EXPECT_EQ(row.jobCode, "");
    EXPECT_EQ(build().rows.at(1).jobCode, "706");
}

TEST_F(EfileSheetTest, AForeignerTakesTheCodesKeptForTheNumber)
{
    people["9001015123456"] = {"250", "E9"};
    const EfileSheet sheet = build();
    EXPECT_EQ(sheet.rows[1].nationality, "250");
    EXPECT_EQ(sheet.rows[1].stayStatus, "E9");
    EXPECT_TRUE(sheet.foreignersWithoutCodes.empty());
    EXPECT_EQ(sheet.rows[1].telArea, "02");
    EXPECT_EQ(sheet.rows[1].telExchange, "555");
}

TEST_F(EfileSheetTest, ALeaverAndAMarkPastTheMonthsEnd)
{
    const EfileRow row = build().rows.at(2);
    EXPECT_EQ(row.leaveReason, "1");
    EXPECT_EQ(row.dayCount, 2);   // the 31st of November is left out
    EXPECT_TRUE(row.days[0] && row.days[29]);
    EXPECT_FALSE(row.days[30]);
    EXPECT_EQ(row.telArea + row.telExchange + row.telLine, "");
    // Without a valid month every day stays.
    const EfileSheet any = BuildEfileSheet(workers, "2026", "  ", jobs, people, options);
    EXPECT_EQ(any.rows[2].dayCount, 3);
}

TEST_F(EfileSheetTest, TaxColumnsOnlyWhenReportingToTheTaxOffice)
{
    options.insurance = "3";
    options.reportToTaxOffice = true;
    options.paymentMonth = "202612";
    const EfileSheet sheet = build();
    EXPECT_EQ(sheet.rows[0].insurance, "3");
    EXPECT_TRUE(sheet.rows[0].taxColumns);
    EXPECT_EQ(sheet.rows[0].paymentMonth, "202612");
    // 600,000 for 3 days: 200,000 a day, (200,000 - 150,000) x 2.7 % = 1,350 a day.
    EXPECT_EQ(sheet.rows[0].incomeTax, 4050);
    EXPECT_EQ(sheet.rows[0].localIncomeTax, 405);
    EXPECT_EQ(sheet.rows[1].incomeTax, 0);   // 130,000 a day
}

struct TaxCase {
    double wages;
    int days;
    long long incomeTax;
    long long localIncomeTax;
};

class DailyWorkerTaxTest : public ::testing::TestWithParam<TaxCase> {};

TEST_P(DailyWorkerTaxTest, SixPercentLessTheCreditAboveTheDailyAllowance)
{
    const DailyWorkerTax tax = DailyWorkerIncomeTax(GetParam().wages, GetParam().days);
    EXPECT_EQ(tax.incomeTax, GetParam().incomeTax);
    EXPECT_EQ(tax.localIncomeTax, GetParam().localIncomeTax);
}

INSTANTIATE_TEST_SUITE_P(Cases, DailyWorkerTaxTest, ::testing::Values(
    TaxCase{2000000, 10, 13500, 1350},     // 200,000 a day: 1,350 a day
    TaxCase{150000, 1, 0, 0},              // the allowance itself
    TaxCase{1500000, 10, 0, 0},
    TaxCase{187000, 1, 0, 0},              // 999 won: under the small-amount line
    TaxCase{561000, 3, 2997, 299},         // 999 a day for 3 days: over it
    TaxCase{188000, 1, 1026, 102},         // 38,000 x 2.7 % = 1,026
    TaxCase{250001, 1, 2700, 270},         // cut to whole won a day
    TaxCase{187037.04, 1, 1000, 100},      // 37,037.04 x 2.7 % = 1,000.0001: the wages are not rounded first
    TaxCase{561111, 3, 2997, 299},         // 999.999 a day is cut to 999 before the days multiply it
    TaxCase{1000000, 0, 0, 0}));           // no days, no tax

TEST(EfileHelpers, MonthsNumbersAndJobKeys)
{
    EXPECT_EQ(DaysInMonth("2026", "11"), 30);
    EXPECT_EQ(DaysInMonth("2024", "02"), 29);
    EXPECT_EQ(DaysInMonth("2100", "2"), 28);
    EXPECT_EQ(DaysInMonth("2000", "02"), 29);
    EXPECT_EQ(DaysInMonth("2026", "13"), std::nullopt);
    EXPECT_EQ(DaysInMonth("    ", "11"), std::nullopt);
    EXPECT_EQ(RegistrationDigits("881130-2123458"), "8811302123458");
    EXPECT_EQ(RegistrationDigits("      -       "), "");
    EXPECT_TRUE(IsForeignerNumber("9001015123456"));
    EXPECT_TRUE(IsForeignerNumber("9001018123456"));
    EXPECT_FALSE(IsForeignerNumber("9001019123456"));
    EXPECT_FALSE(IsForeignerNumber("9001011123456"));
    EXPECT_EQ(JobKey(K("A.철근원")), "A");
    EXPECT_EQ(JobKey(K("  9.단순노무직근로자")), "9");
    EXPECT_EQ(JobKey(K("목공")), "");   // off the list: no key, no code
    EXPECT_EQ(JobKey(K("V.기타")), "");
    EXPECT_EQ(JobKey(""), "");
    EXPECT_EQ(fromCp949(JobEntryOfKey("B")), "B.철골공");
    EXPECT_EQ(JobEntryOfKey("0"), "");
    EXPECT_EQ(PaymentMonthOf("2026", " 3"), "202603");
    EXPECT_EQ(PaymentMonthOf("2026", "13"), "");
    EXPECT_TRUE(IsPaymentMonth("202612"));
    EXPECT_FALSE(IsPaymentMonth("202600"));
    EXPECT_FALSE(IsPaymentMonth("2026-1"));
    EXPECT_EQ(HyphenatedNumber("9001015123456"), "900101-5123456");
}

} // namespace
} // namespace lavodc
