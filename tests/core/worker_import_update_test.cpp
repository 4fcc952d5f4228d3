// A list whose workers the sheet holds already: their wages, hours and days come from the
// list, found by the thirteen digits of the registration number; day columns give the month.
#include "core/worker_import.h"

#include "core/cp949.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <ostream>
#include <vector>

namespace lavodc {
namespace {

std::string Mark() { return std::string(kDayMark); }

// The sheet: two workers to update, one with a blank number, and two that share a number
// written two ways.
class SheetWithWorkers : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.Open();
        Add("홍길동", "881130-2123458", 8, 100000, {4, 30});
        Add("김철수", "900101-1234567", 7.5, 0, {});
        Add("빈번호", "      -       ", 8, 0, {});
        Add("중복갑", "770707-1234567", 8, 0, {});
        Add("중복을", "7707071234567", 8, 0, {});
    }

    void Add(const char* name, const char* number, double hours, double wages, std::vector<int> days)
    {
        table.Append();
        table.SetFieldText("pName", K(name));
        table.SetFieldText("JmnNo", number);
        table.SetFieldText("nName", K("A.철근원"));
        table.SetFieldText("nAddr", K("대전시 서구"));
        table.SetFieldText("nTel", "(042) 123-4567");
        table.SetFieldFloat("nDay", hours);
        table.SetFieldFloat("SmMny", wages);
        for (const int day : days)
            table.SetFieldTextAt(kFirstDayField + day, Mark());
        table.Post();
        table.RecountDays();
    }

    const WorkerRow& Named(const char* name) const
    {
        for (int i = 0; i < table.RecordCount(); ++i)
            if (table.RowAt(i).pName == K(name))
                return table.RowAt(i);
        throw std::logic_error(name);
    }

    ImportPlan Plan(const std::string& csv) const
    {
        MemorySource bytes(csv);
        return PlanCsvImport(bytes, table, "2024.05");
    }

    WorkerTable table;
};

struct WantUpdate {
    std::string name;   // the worker of the sheet
    std::optional<double> hours;
    std::optional<double> wages;
};

struct UpdateCase {
    std::string label;
    std::string csv;
    std::vector<WantUpdate> updates = {};
    std::vector<std::string> added = {};
    std::vector<RefusalReason> refused = {};
    std::size_t unchanged = 0;
};

void PrintTo(const UpdateCase& c, std::ostream* out) { *out << c.label; }

class UpdateTest : public SheetWithWorkers, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(UpdateTest, ARowWhoseNumberTheSheetHoldsUpdatesThatWorker)
{
    const UpdateCase& c = GetParam();
    const ImportPlan plan = Plan(c.csv);
    const std::string summary = fromCp949(ImportSummaryText(plan));
    ASSERT_EQ(plan.updates.size(), c.updates.size()) << summary;
    for (std::size_t i = 0; i < c.updates.size(); ++i) {
        const WorkerUpdate& update = plan.updates[i];
        SCOPED_TRACE(c.updates[i].name);
        EXPECT_EQ(table.RowAt(update.row).pName, K(c.updates[i].name));
        EXPECT_EQ(update.hours, c.updates[i].hours);
        EXPECT_EQ(update.wages, c.updates[i].wages);
    }
    std::vector<std::string> added;
    for (std::size_t i = 0; i < plan.workers.size(); ++i)
        added.push_back(fromCp949(plan.Worker(i).pName));
    EXPECT_EQ(added, c.added) << summary;
    std::vector<RefusalReason> refused;
    for (const RefusedRow& r : plan.refused)
        refused.push_back(r.reason);
    EXPECT_EQ(refused, c.refused) << summary;
    EXPECT_EQ(plan.unchanged, c.unchanged) << summary;
    EXPECT_EQ(plan.ChangesSheet(), !c.updates.empty() || !c.added.empty());
}

std::string CaseName(const ::testing::TestParamInfo<UpdateCase>& info) { return info.param.label; }

INSTANTIATE_TEST_SUITE_P(
    Lists, UpdateTest,
    ::testing::Values(
        UpdateCase{"wages_found_by_the_thirteen_digits_however_written",
                   "성명,주민등록번호,임금총액\n홍길동,8811302123458,2500000\n김철수, 900101 - 1234567 ,\"1,800,000\"\n",
                   {{"홍길동", std::nullopt, 2500000}, {"김철수", std::nullopt, 1800000}}},
        UpdateCase{"hours_when_the_list_gives_them_and_empty_cells_leave_the_values",
                   "성명,주민등록번호,평균시간,임금총액\n홍길동,881130-2123458,,1500000\n김철수,900101-1234567,9,\n",
                   {{"홍길동", std::nullopt, 1500000}, {"김철수", 9, std::nullopt}}},
        UpdateCase{"values_the_sheet_holds_already_change_nothing",
                   "성명,주민등록번호,평균시간,임금총액\n홍길동,881130-2123458,8,100000\n김철수,900101-1234567,,0\n",
                   {}, {}, {}, 2},
        UpdateCase{"the_later_of_two_rows_with_one_number_is_refused",
                   "성명,주민등록번호,임금총액\n홍길동,881130-2123458,3000000\n홍길동,8811302123458,5000000\n",
                   {{"홍길동", std::nullopt, 3000000}}, {}, {RefusalReason::NumberTwiceInFile}},
        UpdateCase{"a_blank_number_never_matches_and_is_refused_as_the_entry_dialog_does",
                   "성명,주민등록번호,임금총액\n빈번호,,500000\n빈번호,   ,500000\n",
                   {}, {}, {RefusalReason::NumberInSheet, RefusalReason::NumberInSheet}},
        UpdateCase{"a_number_two_workers_of_the_sheet_hold_is_refused",
                   "성명,주민등록번호,임금총액\n중복갑,770707-1234567,100\n",
                   {}, {}, {RefusalReason::NumberTwiceInSheet}},
        UpdateCase{"amounts_pass_the_checks_of_an_added_row",
                   "성명,주민등록번호,평균시간,임금총액\n홍길동,881130-2123458,8,-5\n김철수,900101-1234567,많이,1\n"
                   "홍길동,881130-2123458,1e300,\n",
                   {}, {},
                   {RefusalReason::AmountNotStorable, RefusalReason::NotANumber, RefusalReason::AmountNotStorable}},
        UpdateCase{"new_and_known_workers_in_one_list",
                   "성명,주민등록번호,임금총액\n이순신,810101-1234567,900000\n홍길동,881130-2123458,2000000\n",
                   {{"홍길동", std::nullopt, 2000000}}, {"이순신"}}),
    CaseName);

TEST_F(SheetWithWorkers, AnUpdateChangesTheWagesAndHoursOnlyAndKeepsTheCurrentRow)
{
    ImportPlan plan = Plan("성명,주민등록번호,주소,직종,평균시간,임금총액,이직사유\n"
                           "홍 길 순,881130-2123458,서울시,B.철골공,7,2000000,1\n");
    ASSERT_EQ(plan.updates.size(), 1u);
    const WorkerRow before = Named("홍길동");
    table.MoveTo(0);
    const std::string current = table.CurrentRow().pName;

    ApplyImport(table, plan);

    EXPECT_FALSE(table.Frozen());
    EXPECT_EQ(table.RecordCount(), 5);
    EXPECT_EQ(table.CurrentRow().pName, current);
    const WorkerRow& after = Named("홍길동");   // the sheet's name stays
    EXPECT_EQ(after.nDay, 7);
    EXPECT_EQ(after.SmMny, 2000000);
    EXPECT_EQ(after.JmnNo, before.JmnNo);
    EXPECT_EQ(after.nAddr, before.nAddr);
    EXPECT_EQ(after.nName, before.nName);
    EXPECT_EQ(after.nTel, before.nTel);
    EXPECT_EQ(after.nEtc, before.nEtc);
    EXPECT_EQ(after.days, before.days);   // the list has no day columns
    EXPECT_EQ(after.nNal, 2);
    EXPECT_EQ(Named("김철수").SmMny, 0);
    EXPECT_EQ(fromCp949(ImportDoneText(plan)), "명단에서 근로자 1명을 고쳤습니다");
}

TEST_F(SheetWithWorkers, DayColumnsGiveTheWholeMonthOfTheRowsTheListTouches)
{
    // Days 1 to 30 titled "1일".."30일"; the marks as clerks write them, day 5 left empty.
    std::string csv = "성명,주민등록번호,임금총액";
    for (int d = 1; d <= 30; ++d)
        csv += "," + std::to_string(d) + "일";
    csv += "\n홍길동,881130-2123458,100000,o,O,√,v,,1,V, √ " + std::string(22, ',') + "\n";
    csv += "이순신,810101-1234567,,,o" + std::string(28, ',') + "\n";
    ImportPlan plan = Plan(csv);
    ASSERT_EQ(plan.updates.size(), 1u);   // the days differ though the wages do not
    ASSERT_EQ(plan.workers.size(), 1u);
    EXPECT_EQ(plan.dayColumns, 30);
    const WorkerRow added = plan.Worker(0);
    EXPECT_EQ(added.days[1], Mark());
    EXPECT_EQ(added.nNal, 1);
    EXPECT_NE(fromCp949(ImportSummaryText(plan)).find("\n근태: 명단의 날짜 칸 30개로 채움 (명단에 없는 날짜는 비움)"),
              std::string::npos)
        << fromCp949(ImportSummaryText(plan));

    ApplyImport(table, plan);

    const WorkerRow& row = Named("홍길동");
    for (int d = 0; d < kDayCount; ++d) {
        const bool worked = d < 8 && d != 4;   // day 5 empty in the list, day 31 without a column
        EXPECT_EQ(row.days[static_cast<std::size_t>(d)], worked ? Mark() : "") << "day " << d + 1;
    }
    EXPECT_EQ(row.nNal, 7);
    EXPECT_EQ(row.SmMny, 100000);
    EXPECT_EQ(Named("김철수").nNal, 0);   // not in the list: untouched
    EXPECT_EQ(Named("이순신").days[1], Mark());
}

TEST_F(SheetWithWorkers, DaysTheSheetHoldsAlreadyChangeNothing)
{
    std::string csv = "성명,주민등록번호";
    for (int d = 1; d <= 31; ++d)
        csv += "," + std::to_string(d);
    csv += "\n홍길동,881130-2123458,,,,,o" + std::string(25, ',') + ",v\n";
    const ImportPlan plan = Plan(csv);
    EXPECT_TRUE(plan.updates.empty());
    EXPECT_EQ(plan.unchanged, 1u);
    EXPECT_FALSE(plan.ChangesSheet());
}

TEST_F(SheetWithWorkers, OtherTextInADayCellIsNoMarkAndIsNamed)
{
    const ImportPlan plan = Plan("성명,주민등록번호,1,2,3,4,5\n홍길동,881130-2123458,x,2,oo,√,결근\n"
                                 "이순신,810101-1234567,,,,,🏠\n");
    ASSERT_EQ(plan.updates.size(), 1u);
    EXPECT_EQ(plan.updates[0].days, 1u << 3);
    ASSERT_EQ(plan.workers.size(), 1u);
    EXPECT_EQ(plan.Worker(0).nNal, 0);
    EXPECT_TRUE(plan.refused.empty());
    const std::string summary = fromCp949(ImportSummaryText(plan));
    EXPECT_NE(summary.find("\n근태 표시로 읽지 않은 칸이 있는 행: 2개 (일하지 않은 날로 봄)\n"
                           "  2행 홍길동: 1, 2, 3, 5일\n  3행 이순신: 5일"),
              std::string::npos)
        << summary;
}

TEST_F(SheetWithWorkers, DayTitlesAreTheNumbersWithOrWithoutTheDayWord)
{
    for (const char* title : {"15", "15일", " 15 일 "}) {
        SCOPED_TRACE(title);
        const ImportPlan plan = Plan(std::string("성명,주민등록번호,") + title + "\n홍길동,881130-2123458,o\n");
        EXPECT_TRUE(plan.hasDayMarks);
        ASSERT_EQ(plan.updates.size(), 1u);
        EXPECT_EQ(plan.updates[0].days, 1u << 14);
    }
    for (const char* title : {"015", "0일", "32일", "일", "15일일"}) {
        SCOPED_TRACE(title);
        EXPECT_FALSE(Plan(std::string("성명,주민등록번호,") + title + "\n홍길동,881130-2123458,o\n").hasDayMarks);
    }
}

TEST_F(SheetWithWorkers, TheSummaryCountsTheAddedTheUpdatedAndTheRefused)
{
    ImportPlan plan = Plan("성명,주민등록번호,임금총액\n이순신,810101-1234567,900000\n홍길순,881130-2123458,2000000\n"
                           "김철수,900101-1234567,0\n,830101-1234567,1\n중복을,770707-1234567,5\n");
    EXPECT_EQ(fromCp949(ImportQuestionText(plan)),
              "추가할 근로자: 1명\n"
              "고칠 근로자: 1명 (시트에 있는 주민등록번호: 임금총액만 바꿈)\n"
              "그중 성명이 시트와 다른 근로자: 1명 (시트의 성명 그대로)\n"
              "  3행 홍길순 (시트: 홍길동, 881130-2123458)\n"
              "이미 명단과 같은 근로자: 1명\n"
              "제외되는 행: 2개 (성명 없음 1, 시트 안에서 겹친 주민등록번호 1)\n"
              "  5행: 성명 없음\n"
              "  6행 중복을: 시트 안에서 겹친 주민등록번호 (770707-1234567)\n\n"
              "가져오시겠습니까?");
    ApplyImport(table, plan);
    EXPECT_EQ(fromCp949(ImportDoneText(plan)), "명단에서 근로자 1명을 추가하고 1명을 고쳤습니다 (제외 2행)");
    EXPECT_EQ(Named("홍길동").SmMny, 2000000);
    EXPECT_EQ(table.RecordCount(), 6);
}

TEST_F(SheetWithWorkers, ASheetChangedSincePlanningIsRefusedBeforeAnythingChanges)
{
    ImportPlan plan = Plan("성명,주민등록번호,임금총액\n홍길동,881130-2123458,2000000\n이순신,810101-1234567,1\n");
    ASSERT_EQ(plan.updates.size(), 1u);
    table.MoveTo(0);
    table.Delete();
    EXPECT_THROW(ApplyImport(table, plan), ImportError);
    EXPECT_EQ(table.RecordCount(), 4);
    EXPECT_EQ(Named("홍길동").SmMny, 100000);
}

// Counts what bound views are told.
struct CountingListener : WorkerTableListener {
    int tables = 0, rows = 0;
    void tableChanged() override { ++tables; }
    void rowChanged(int) override { ++rows; }
    void currentChanged(int) override {}
};

TEST_F(SheetWithWorkers, ManyUpdatesAreOneFrozenWalk)
{
    ImportPlan plan = Plan("성명,주민등록번호,임금총액,1\n홍길동,881130-2123458,1,o\n김철수,900101-1234567,2,o\n");
    ASSERT_EQ(plan.updates.size(), 2u);
    CountingListener listener;
    table.AddListener(&listener);
    ApplyImport(table, plan);
    table.RemoveListener(&listener);
    EXPECT_EQ(listener.tables, 1);
    EXPECT_EQ(listener.rows, 0);
    EXPECT_EQ(Named("김철수").nNal, 1);
}

} // namespace
} // namespace lavodc
