#include "core/worker_import.h"

#include "core/cp949.h"
#include "core/csv_reader.h"
#include "tests/support/list_sources.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <vector>

namespace lavodc {
namespace {

constexpr const char* kInSheet = "700101-1234567";
const char* const kBlankNumber = "      -       ";

// What an imported worker must hold (texts in UTF-8); an empty optional is not checked.
struct Want {
    std::string name = "";
    std::string number = "";
    std::string job = "U.건설단순노무자";
    std::string phone = "   ";
    std::string address = "";
    std::string reason = "";
    double hours = 8;
    double wages = 0;
    double days = 0;
};

struct CsvCase {
    std::string label;
    std::string bytes;   // the file as written
    std::vector<Want> workers;
    std::vector<RefusalReason> refused;
};

void PrintTo(const CsvCase& c, std::ostream* out) { *out << c.label; }

std::string Cp949File(const std::string& utf8) { return toCp949(utf8); }

// A sheet that already holds one worker, for the duplicate test against it.
class CsvImportTest : public ::testing::TestWithParam<CsvCase> {
protected:
    void SetUp() override
    {
        table.Open();
        table.Append();
        table.SetFieldText("pName", K("기존근로자"));
        table.SetFieldText("JmnNo", kInSheet);
        table.Post();
    }
    WorkerTable table;
};

void ExpectPlan(const CsvCase& c, const ImportPlan& plan)
{
    ASSERT_EQ(plan.workers.size(), c.workers.size()) << fromCp949(ImportSummaryText(plan));
    for (std::size_t i = 0; i < c.workers.size(); ++i) {
        const Want& want = c.workers[i];
        const WorkerRow row = plan.Worker(i);
        SCOPED_TRACE(want.name);
        EXPECT_EQ(row.pName, K(want.name));
        EXPECT_EQ(row.JmnNo, want.number);
        EXPECT_EQ(row.nName, K(want.job));
        EXPECT_EQ(row.nTel, want.phone);
        EXPECT_EQ(row.nAddr, K(want.address));
        EXPECT_EQ(row.nEtc, K(want.reason));
        EXPECT_EQ(row.nDay, want.hours);
        EXPECT_EQ(row.SmMny, want.wages);
        EXPECT_EQ(row.nNal, want.days);
        EXPECT_EQ(row.HCODE, 1);
        EXPECT_EQ(row.SCODE, 1);
        EXPECT_EQ(row.LCODE, 1);
        EXPECT_EQ(row.cDate, "2024.05");
    }
    std::vector<RefusalReason> refused;
    for (const RefusedRow& r : plan.refused)
        refused.push_back(r.reason);
    EXPECT_EQ(refused, c.refused) << fromCp949(ImportSummaryText(plan));
}

TEST_P(CsvImportTest, AddsTheRowsWithTheEntryDialogsRulesAndRefusesTheRest)
{
    const CsvCase& c = GetParam();
    // Whole, and in reads of one and of three bytes: a stream's pieces end anywhere.
    for (const std::size_t piece : {0, 1, 3}) {
        SCOPED_TRACE(piece);
        test::PiecewiseSource bytes(c.bytes, piece);
        ExpectPlan(c, PlanCsvImport(bytes, table, "2024.05"));
    }
}

std::string CaseName(const ::testing::TestParamInfo<CsvCase>& info)
{
    std::string name = "";
    for (const char ch : info.param.label)
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
}

const std::string kExportTitles =
    "\t성    명\t주민등록번호\t주                    소    \t전화번호\t직        종\t일수\t평균시간\t임금총액\t이 직 사 유\t\r\n";

std::string DayTitles()
{
    std::string titles = "성명,주민등록번호";
    for (int d = 1; d <= 31; ++d)
        titles += "," + std::to_string(d);
    return titles + "\n";
}

ImportPlan PlanCsv(const std::string& text, const WorkerTable& table)
{
    MemorySource bytes(text);
    return PlanCsvImport(bytes, table, "2024.05");
}

INSTANTIATE_TEST_SUITE_P(
    Files, CsvImportTest,
    ::testing::Values(
        CsvCase{"utf8_comma",
                "성명,주민등록번호,직종,전화번호\n홍길동,800101-1234567,A.철근원,042-123-4567\n",
                {{.name = "홍길동", .number = "800101-1234567", .job = "A.철근원", .phone = "(042) 123-4567"}},
                {}},
        CsvCase{"utf8_with_byte_order_mark",
                "\xEF\xBB\xBF성명,주민등록번호\r\n홍길동,800101-1234567\r\n",
                {{.name = "홍길동", .number = "800101-1234567"}},
                {}},
        CsvCase{"cp949_semicolon",
                Cp949File("성명;주민등록번호;주소\n김철수;810101-1234567;서울시 중구\n"),
                {{.name = "김철수", .number = "810101-1234567", .address = "서울시 중구"}},
                {}},
        CsvCase{"export_layout_with_tabs_from_column_B",
                "\t\t\t\r\n" + kExportTitles +
                    "\t홍길동\t800101-1234567\t대전시 서구\t(042) 123-4567\tB.철골공\t3\t8.5\t1234567\t1.회사사정에 의한 이직\t\r\n",
                {{.name = "홍길동", .number = "800101-1234567", .job = "B.철골공", .phone = "(042) 123-4567",
                  .address = "대전시 서구", .reason = "1.회사사정에 의한 이직", .hours = 8.5, .wages = 1234567}},
                {}},
        CsvCase{"quoted_fields",
                "성명,주소,임금총액\n\"김, 철수\",\"서울 \"\"새\"\" 동\n2층\",\"1,234,000\"\n",
                {{.name = "김, 철수", .number = kBlankNumber, .address = "서울 \"새\" 동\n2층", .wages = 1234000}},
                {}},
        CsvCase{"a_lone_title_with_commas_in_the_names_read_by_lines",
                "성명\n김, 철수\n박, 영희\n",
                {{.name = "김, 철수", .number = kBlankNumber}},
                {RefusalReason::NumberTwiceInFile}},
        CsvCase{"titles_in_another_order",
                "임금총액,직종,성명,평균시간,이직사유,주민등록번호\n2000000,목공,이순신,7,3,820101-1234567\n",
                {{.name = "이순신", .number = "820101-1234567", .job = "G.목공", .reason = "3.기타 개인사정",
                  .hours = 7, .wages = 2000000}},
                {}},
        CsvCase{"only_the_name_column",
                "성 명\n홍길동\n",
                {{.name = "홍길동", .number = kBlankNumber}},
                {}},
        CsvCase{"empty_rows_are_skipped",
                "성명,주민등록번호\n\n,\n  ,  \n홍길동,800101-1234567\n\n",
                {{.name = "홍길동", .number = "800101-1234567"}},
                {}},
        CsvCase{"over_long_texts_cut_at_a_whole_character",
                "성명,주민등록번호,주소\n가나다라마바,800101-1234567,\na가나다라마,810101-1234567," +
                    std::string(69, 'x') + "가\n",
                {{.name = "가나다라마", .number = "800101-1234567"},
                 {.name = "a가나다라", .number = "810101-1234567", .address = std::string(69, 'x')}},
                {}},
        CsvCase{"duplicate_inside_the_file",
                "성명,주민등록번호\n홍길동,800101-1234567\n홍길순,800101-1234567\n",
                {{.name = "홍길동", .number = "800101-1234567"}},
                {RefusalReason::NumberTwiceInFile}},
        CsvCase{"a_number_in_the_sheet_adds_no_worker",
                std::string("성명,주민등록번호\n김기존,") + kInSheet + "\n김기존2,7001011234567\n",
                {},
                {RefusalReason::NumberTwiceInFile}},
        CsvCase{"non_number_in_a_number_column",
                "성명,주민등록번호,임금총액,평균시간\n홍길동,800101-1234567,많이,8\n이순신,820101-1234567,"
                "\"₩1,500,000\",\n김철수,810101-1234567,900000원,8시간\n",
                {{.name = "이순신", .number = "820101-1234567", .wages = 1500000}},
                {RefusalReason::NotANumber, RefusalReason::NotANumber}},
        CsvCase{"amounts_a_sheet_file_cannot_hold_or_below_zero",
                "성명,주민등록번호,평균시간,임금총액\n가,800101-1234567,1e300,1\n나,810101-1234567,8,"
                "12345678901234567890\n다,820101-1234567,-8,\n라,830101-1234567,8,-150000\n"
                "마,840101-1234567,8,922337203685478\n바,850101-1234567,-0,922337203685477\n",
                {{.name = "바", .number = "850101-1234567", .hours = 0, .wages = 922337203685477}},
                {RefusalReason::AmountNotStorable, RefusalReason::AmountNotStorable,
                 RefusalReason::AmountNotStorable, RefusalReason::AmountNotStorable,
                 RefusalReason::AmountNotStorable}},
        CsvCase{"row_without_a_name",
                "성명,주민등록번호\n,800101-1234567\n   ,810101-1234567\n",
                {},
                {RefusalReason::NoName, RefusalReason::NoName}},
        CsvCase{"a_character_the_code_page_lacks",
                "성명,주소\n홍길동,🏠 서울\n",
                {},
                {RefusalReason::NotCp949}},
        CsvCase{"job_by_code_or_name_and_reason_by_number",
                "성명,주민등록번호,직종,이직사유\n가,800101-1234567,B,2\n나,810101-1234567,철근원, 0. 현재 계속 근로\n"
                "다,820101-1234567,목수,1. 회사사정에 의한 이직(폐업)\n",
                {{.name = "가", .number = "800101-1234567", .job = "B.철골공", .reason = "2.부득이한 개인사정"},
                 {.name = "나", .number = "810101-1234567", .job = "A.철근원"},
                 {.name = "다", .number = "820101-1234567", .reason = "1.회사사정에 의한 이직"}},
                {}},
        CsvCase{"registration_number_without_hyphen_or_leading_zero",
                "성명,주민등록번호\n가,8001011234567\n나,101013234567\n",
                {{.name = "가", .number = "800101-1234567"}, {.name = "나", .number = "010101-3234567"}},
                {}},
        CsvCase{"day_marks_count_the_days",
                DayTitles() + "홍길동,800101-1234567,√,,√" + std::string(27, ',') + ",√\n",
                {{.name = "홍길동", .number = "800101-1234567", .days = 3}},
                {}}),
    CaseName);

TEST(PlanCsvImportTest, DayMarksLandInTheirDays)
{
    WorkerTable table;
    table.Open();
    const ImportPlan plan =
        PlanCsv(DayTitles() + "홍길동,800101-1234567,√,o" + std::string(28, ',') + ",√\n", table);
    ASSERT_EQ(plan.workers.size(), 1u);
    EXPECT_TRUE(plan.hasDayMarks);
    const WorkerRow row = plan.Worker(0);
    EXPECT_EQ(row.days[0], std::string(kDayMark));
    EXPECT_EQ(row.days[1], std::string(kDayMark));   // "o" stands for the mark, as typed in the day strip
    EXPECT_EQ(row.days[2], "");
    EXPECT_EQ(row.days[30], std::string(kDayMark));
    EXPECT_EQ(row.nNal, 3);
}

TEST(PlanImportTest, AListWithoutTheNameTitleIsRefusedWhole)
{
    WorkerTable table;
    table.Open();
    EXPECT_THROW(PlanCsv("이름,번호\n홍길동,1\n", table), ImportError);
    EXPECT_THROW(PlanCsv("", table), ImportError);
}

TEST(ImportSummaryTest, CountsEachReasonAndNamesTheFirstRefusedRows)
{
    WorkerTable table;
    table.Open();
    std::string csv = "성명,주민등록번호\n홍길동,800101-1234567\n";
    for (int i = 0; i < 6; ++i)
        csv += "복제" + std::to_string(i) + ",800101-1234567\n";
    csv += ",810101-1234567\n";
    const ImportPlan plan = PlanCsv(csv, table);
    const std::string summary = fromCp949(ImportSummaryText(plan));

    EXPECT_NE(summary.find("추가할 근로자: 1명"), std::string::npos) << summary;
    EXPECT_NE(summary.find("제외되는 행: 7개 (성명 없음 1, 파일 안에서 겹친 주민등록번호 6)"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("3행 복제0: 파일 안에서 겹친 주민등록번호 (800101-1234567)"), std::string::npos) << summary;
    EXPECT_NE(summary.find("7행 복제4"), std::string::npos) << summary;
    EXPECT_EQ(summary.find("8행"), std::string::npos) << summary;   // only the first five by name
    EXPECT_NE(summary.find("외 2개"), std::string::npos) << summary;
    EXPECT_NE(fromCp949(ImportQuestionText(plan)).find("가져오시겠습니까?"), std::string::npos);
}

TEST(ImportSummaryTest, NamesTheRowsWithAmountsThatCannotBeSavedAndTheirColumn)
{
    WorkerTable table;
    table.Open();
    const ImportPlan plan = PlanCsv("성명,주민등록번호,평균시간,임금총액\n가,800101-1234567,-8,-150000\n"
                                    "나,810101-1234567,8,12345678901234567890\n",
                                    table);
    EXPECT_TRUE(plan.workers.empty());
    EXPECT_EQ(fromCp949(ImportSummaryText(plan)), "추가할 근로자: 0명\n고칠 근로자: 0명\n"
                                                  "제외되는 행: 2개 (음수이거나 너무 큰 값 2)\n"
                                                  "  2행 가: 음수이거나 너무 큰 값 (평균시간)\n"
                                                  "  3행 나: 음수이거나 너무 큰 값 (임금총액)");
}

TEST(PlanCsvImportTest, AQuoteLeftOpenRefusesTheListNamingItsLine)
{
    WorkerTable table;
    table.Open();
    // Without the refusal the open quote took the rest of the file into one name.
    const std::string csv = "성명,주민등록번호\n홍길동,800101-1234567\n\"김철수,810101-1234567\n"
                            "이순신,820101-1234567\n박영희,830101-1234567\n";
    try {
        PlanCsv(csv, table);
        ADD_FAILURE() << "planned a list with a quote left open";
    } catch (const ImportError& error) {
        EXPECT_EQ(fromCp949(error.what()), "명단 3번째 줄의 따옴표가 닫히지 않았습니다.");
    }
}

TEST(ImportSummaryTest, NumbersFailingTheCheckAreAddedAndNamedInTheQuestion)
{
    WorkerTable table;
    table.Open();
    const ImportPlan plan =
        PlanCsv("성명,주민등록번호\n바른,810101-1234567\n틀린,800101-1234567\n빈칸,\n달없음,801301-1234567\n", table);
    ASSERT_EQ(plan.workers.size(), 4u);
    EXPECT_EQ(plan.failingNumbers, (std::vector<std::size_t>{1, 3}));
    const std::string summary = fromCp949(ImportSummaryText(plan));
    EXPECT_EQ(summary, "추가할 근로자: 4명\n그중 주민등록번호가 올바르지 못한 근로자: 2명 (그대로 추가)\n"
                       "  틀린 (800101-1234567)\n  달없음 (801301-1234567)\n고칠 근로자: 0명");
}

// Counts what bound views are told.
struct CountingListener : WorkerTableListener {
    int tables = 0, rows = 0;
    void tableChanged() override { ++tables; }
    void rowChanged(int) override { ++rows; }
    void currentChanged(int) override {}
};

TEST(ApplyImportTest, AddsEveryPlannedRowWhileTheViewsAreFrozen)
{
    WorkerTable table;
    table.Open();
    ImportPlan plan =
        PlanCsv("성명,주민등록번호\n나,800101-1234567\n가,810101-1234567\n다,820101-1234567\n", table);
    CountingListener listener;
    table.AddListener(&listener);
    ApplyImport(table, plan);
    table.RemoveListener(&listener);
    EXPECT_FALSE(table.Frozen());
    EXPECT_EQ(listener.tables, 1);
    EXPECT_EQ(listener.rows, 0);
    ASSERT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(table.RowAt(0).pName, K("가"));
}

TEST(ApplyImportTest, ALargePlanGoesToTheTableWholeAndIsReleasedOnTheWay)
{
    WorkerTable table;
    table.Open();
    std::string csv = "성명,주민등록번호,주소\n";
    for (int i = 0; i < 10000; ++i)
        csv += "근로자" + std::to_string(i) + "," + std::to_string(800000 + i) + "-1234567,주소 " +
               std::to_string(i) + "\n";
    ImportPlan plan = PlanCsv(csv, table);
    ASSERT_EQ(plan.workers.size(), 10000u);
    ApplyImport(table, plan);
    ASSERT_EQ(table.RecordCount(), 10000);
    std::set<std::string> addresses;
    for (int r = 0; r < table.RecordCount(); ++r) {
        const WorkerRow& row = table.RowAt(r);
        // Each worker with its own number and address: "근로자7" holds 800007-1234567 and "주소 7".
        const std::string i = std::to_string(std::stoi(row.JmnNo.substr(0, 6)) - 800000);
        EXPECT_EQ(row.pName, K("근로자") + i);
        EXPECT_EQ(row.nAddr, K("주소 ") + i);
        addresses.insert(row.nAddr);
    }
    EXPECT_EQ(addresses.size(), 10000u);
    EXPECT_THROW(plan.Worker(0), std::logic_error);   // released
    EXPECT_EQ(fromCp949(ImportDoneText(plan)), "명단에서 근로자 10000명을 추가했습니다");
}

TEST(CutToWholeCharactersTest, NeverSplitsADoubleByteCharacter)
{
    const std::string text = K("a가나");   // 1 + 2 + 2 bytes
    EXPECT_EQ(cutToWholeCharacters(text, 5), text);
    EXPECT_EQ(cutToWholeCharacters(text, 4), K("a가"));
    EXPECT_EQ(cutToWholeCharacters(text, 2), "a");
    EXPECT_EQ(cutToWholeCharacters(text, 0), "");
    EXPECT_EQ(cutToWholeCharacters("\xB0", 1), "\xB0");   // a lone lead byte at the end is one character
}

} // namespace
} // namespace lavodc
