#include "core/cp949.h"
#include "core/worker_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lavodc {
namespace {

WorkerRow makeRow(const std::string& pNameUtf8, const std::string& nNameUtf8)
{
    WorkerRow row;
    row.pName = K(pNameUtf8);
    row.nName = K(nNameUtf8);
    return row;
}

void addRow(WorkerTable& table, const std::string& pNameUtf8, const std::string& nNameUtf8)
{
    table.Append();
    table.SetFieldText("pName", K(pNameUtf8));
    table.SetFieldText("nName", K(nNameUtf8));
    table.Post();
}

std::vector<std::string> namesInOrder(const WorkerTable& table)
{
    std::vector<std::string> names;
    for (int i = 0; i < table.RecordCount(); ++i)
        names.push_back(fromCp949(table.RowAt(i).pName));
    return names;
}

class CountingListener : public WorkerTableListener {
public:
    void tableChanged() override { ++tables; }
    void rowChanged(int) override { ++rows; }
    void currentChanged(int row) override
    {
        ++currents;
        lastCurrent = row;
    }
    int tables = 0;
    int rows = 0;
    int currents = 0;
    int lastCurrent = -2;
};

class WorkerTableTest : public ::testing::Test {
protected:
    void SetUp() override { table.Open(); }
    WorkerTable table;
};

TEST_F(WorkerTableTest, ByNameAndByJobOrdersSortAscendingWithSecondFieldBreakingTies)
{
    addRow(table, "나영수", "B.철골공");
    addRow(table, "가민호", "B.철골공");
    addRow(table, "다은지", "A.철근원");
    addRow(table, "라철민", "A.철근원");
    addRow(table, "가민호", "A.철근원");

    EXPECT_EQ(table.IndexFieldNames(), kByNameIndex);
    EXPECT_EQ(namesInOrder(table),
              (std::vector<std::string>{"가민호", "가민호", "나영수", "다은지", "라철민"}));
    EXPECT_EQ(fromCp949(table.RowAt(0).nName), "A.철근원");   // tie on the name: job decides
    EXPECT_EQ(fromCp949(table.RowAt(1).nName), "B.철골공");

    table.SetIndexFieldNames(kByJobIndex);
    EXPECT_EQ(namesInOrder(table),
              (std::vector<std::string>{"가민호", "다은지", "라철민", "가민호", "나영수"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(fromCp949(table.RowAt(i).nName), "A.철근원");
    for (int i = 3; i < 5; ++i)
        EXPECT_EQ(fromCp949(table.RowAt(i).nName), "B.철골공");
}

TEST_F(WorkerTableTest, NamesCompareByCodePointNotByCp949Bytes)
{
    // 똠 lies in the extended area of CP949 (lead byte 0x8C), below 가 (0xB0) in bytes,
    // but after it in Unicode and in the dictionary.
    addRow(table, "똠", "1.보통인부");
    addRow(table, "가", "1.보통인부");
    EXPECT_EQ(namesInOrder(table), (std::vector<std::string>{"가", "똠"}));

    // Long names that agree in their first syllables, and a name that starts another.
    table.DeleteAllRows();
    for (const char* name : {"가나다마", "가나다라바", "가나다", "가나다라", "가나", "Z"})
        addRow(table, name, "");
    EXPECT_EQ(namesInOrder(table),
              (std::vector<std::string>{"Z", "가나", "가나다", "가나다라", "가나다라바", "가나다마"}));
    WorkerRow late = makeRow("가나다라마", "");
    table.AppendRows({late});
    EXPECT_EQ(namesInOrder(table), (std::vector<std::string>{"Z", "가나", "가나다", "가나다라", "가나다라마",
                                                             "가나다라바", "가나다마"}));
}

TEST_F(WorkerTableTest, SwitchingOrderKeepsTheCurrentWorkerAndBookmarksSurvive)
{
    addRow(table, "가", "C");
    addRow(table, "나", "B");
    addRow(table, "다", "A");
    table.MoveTo(0);   // 가
    const auto mark = table.GetBookmark();
    table.SetIndexFieldNames("nName; pName");
    EXPECT_EQ(table.CurrentIndex(), 2);
    EXPECT_EQ(fromCp949(table.CurrentRow().pName), "가");
    table.First();
    // A row's bookmark read by position follows the row into its new place, without moving.
    EXPECT_EQ(table.BookmarkAt(2), mark);
    EXPECT_EQ(table.CurrentIndex(), 0);
    EXPECT_THROW(table.BookmarkAt(3), TableError);
    ASSERT_TRUE(table.GotoBookmark(mark));
    EXPECT_EQ(fromCp949(table.CurrentRow().pName), "가");

    table.Delete();
    EXPECT_FALSE(table.GotoBookmark(mark));
    EXPECT_THROW(table.SetIndexFieldNames("pName"), TableError);
}

TEST_F(WorkerTableTest, WalkingVisitsEveryRowOnceAndEofFollowsTheLastRow)
{
    EXPECT_TRUE(table.Eof());
    table.First();
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.CurrentIndex(), -1);

    addRow(table, "가", "");
    addRow(table, "나", "");
    addRow(table, "다", "");
    std::vector<std::string> seen;
    for (table.First(); !table.Eof(); table.Next())
        seen.push_back(fromCp949(table.CurrentRow().pName));
    EXPECT_EQ(seen, (std::vector<std::string>{"가", "나", "다"}));
    EXPECT_EQ(table.CurrentIndex(), 2);

    table.Last();
    EXPECT_FALSE(table.Eof());
    table.Prior();
    table.Prior();
    EXPECT_FALSE(table.Bof());
    table.Prior();
    EXPECT_TRUE(table.Bof());
    EXPECT_EQ(table.CurrentIndex(), 0);
}

TEST_F(WorkerTableTest, DeleteMakesTheNextRowCurrentOrThePreviousAtTheEnd)
{
    addRow(table, "가", "");
    addRow(table, "나", "");
    addRow(table, "다", "");
    table.MoveTo(1);
    table.Delete();
    EXPECT_EQ(fromCp949(table.CurrentRow().pName), "다");
    EXPECT_FALSE(table.Eof());
    table.Delete();
    EXPECT_EQ(fromCp949(table.CurrentRow().pName), "가");
    EXPECT_TRUE(table.Eof());
    table.Delete();
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(table.CurrentIndex(), -1);
    EXPECT_THROW(table.Delete(), TableError);
}

TEST_F(WorkerTableTest, PostPlacesNewAndRenamedRowsInOrderAndMakesThemCurrent)
{
    addRow(table, "나", "");
    addRow(table, "가", "");
    EXPECT_EQ(table.CurrentIndex(), 0);
    EXPECT_EQ(fromCp949(table.CurrentRow().pName), "가");

    table.Edit();
    table.SetFieldText("pName", K("하"));
    EXPECT_EQ(fromCp949(table.RowAt(0).pName), "가");   // stored row unchanged until Post
    table.Post();
    EXPECT_EQ(namesInOrder(table), (std::vector<std::string>{"나", "하"}));
    EXPECT_EQ(table.CurrentIndex(), 1);

    table.Edit();
    table.SetFieldText("pName", K("아"));
    table.Cancel();
    EXPECT_EQ(namesInOrder(table), (std::vector<std::string>{"나", "하"}));
}

TEST_F(WorkerTableTest, WalkingAwayFromAPendingRowPostsItOnlyWhenSomethingWasSet)
{
    table.Append();
    table.First();
    EXPECT_EQ(table.RecordCount(), 0);
    table.Append();
    table.SetFieldText("pName", K("가"));
    table.First();
    EXPECT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.state(), WorkerTable::State::Browse);
}

TEST_F(WorkerTableTest, TextsAreCutToTheFieldSizeInBytesEvenInsideAHangulSyllable)
{
    table.Append();
    table.SetFieldText("pName", "abcdefghijk");                  // 11 bytes
    table.SetFieldText("nAddr", std::string(80, 'x'));
    table.SetFieldText("d01", K("√√"));
    table.Post();
    EXPECT_EQ(table.CurrentRow().pName, "abcdefghij");
    EXPECT_EQ(table.CurrentRow().nAddr, std::string(70, 'x'));
    EXPECT_EQ(table.CurrentRow().days[0], K("√").append(1, '\xA1'));

    table.Edit();
    const std::string hangul = K("a가나다라마");                  // 1 + 5 * 2 = 11 bytes
    ASSERT_EQ(hangul.size(), 11u);
    table.SetFieldText("pName", hangul);
    table.Post();
    EXPECT_EQ(table.CurrentRow().pName, hangul.substr(0, 10));   // 마 keeps its first byte only

    // Bulk loading cuts the same way.
    WorkerRow row;
    row.pName = hangul;
    row.nTel = std::string(20, '1');
    table.ReplaceRows({row});
    EXPECT_EQ(table.RowAt(0).pName, hangul.substr(0, 10));
    EXPECT_EQ(table.RowAt(0).nTel, std::string(15, '1'));
}

TEST_F(WorkerTableTest, RecountCountsOnlyCellsHoldingExactlyTheMark)
{
    const std::string mark = K("√");
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::string>> cells;   // day (1-based), text
        double expected;
    };
    const std::vector<Case> cases = {
        {"days 1, 2 and 31", {{1, mark}, {2, mark}, {31, mark}}, 3},
        {"a v is not a mark", {{1, mark}, {5, "v"}}, 1},
        {"a mark and a blank is not a mark", {{3, mark + " "}, {4, mark}}, 1},
        {"a blank before the mark", {{3, " " + mark}}, 0},
        {"no marks", {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        table.DeleteAllRows();
        table.Append();
        table.SetFieldFloat("nNal", 99);
        for (const auto& [day, text] : c.cells)
            table.SetFieldTextAt(kFirstDayField + day - 1, text);
        table.Post();
        table.RecountDays();
        EXPECT_EQ(table.FieldFloat("nNal"), c.expected);
        EXPECT_EQ(table.state(), WorkerTable::State::Browse);
    }
}

TEST_F(WorkerTableTest, RecountAllDaysRecountsEveryRowAndReturnsToTheSameWorker)
{
    const std::string mark = K("√");
    std::vector<WorkerRow> rows;
    for (int i = 0; i < 5; ++i) {
        WorkerRow row;
        row.pName = std::string(1, static_cast<char>('a' + i));
        for (int d = 0; d <= i; ++d)
            row.days[d * 6] = mark;
        row.nNal = 42;
        rows.push_back(row);
    }
    table.ReplaceRows(rows);
    table.MoveTo(3);
    CountingListener listener;
    table.AddListener(&listener);

    table.RecountAllDays();

    EXPECT_EQ(table.CurrentRow().pName, "d");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(table.RowAt(i).nNal, i + 1);
    EXPECT_EQ(listener.rows, 0);   // nothing row by row while frozen
    EXPECT_EQ(listener.tables, 1);
    EXPECT_FALSE(table.Frozen());
}

TEST_F(WorkerTableTest, RecountAndDeleteAllOnAnEmptyTableDoNothing)
{
    table.RecountAllDays();
    table.RecountDays();
    table.DeleteAllRows();
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_EQ(table.CurrentIndex(), -1);
    EXPECT_FALSE(table.Frozen());
}

TEST_F(WorkerTableTest, FreezeNestsAndTheLastUnfreezeDeliversOneOfEach)
{
    CountingListener listener;
    table.AddListener(&listener);
    table.Freeze();
    table.Freeze();
    addRow(table, "가", "");
    addRow(table, "나", "");
    table.First();
    table.Unfreeze();
    EXPECT_TRUE(table.Frozen());
    EXPECT_EQ(listener.tables + listener.rows + listener.currents, 0);
    table.Unfreeze();
    EXPECT_FALSE(table.Frozen());
    EXPECT_EQ(listener.tables, 1);
    EXPECT_EQ(listener.currents, 1);
    EXPECT_EQ(listener.rows, 0);
    EXPECT_EQ(listener.lastCurrent, 0);

    // Unfrozen, an edit that keeps the row's place is a row change.
    table.Edit();
    table.SetFieldFloat("nDay", 8);
    table.Post();
    EXPECT_EQ(listener.rows, 1);
    table.RemoveListener(&listener);
    table.Next();
    EXPECT_EQ(listener.currents, 1);
}

TEST_F(WorkerTableTest, DisplayTextGroupsWagesAndShowsZeroAsEmpty)
{
    const std::vector<std::pair<double, std::string>> cases = {
        {0, ""}, {1234567, "1,234,567"}, {999, "999"}, {1000, "1,000"},
        {999.5, "1,000"}, {0.4, ""}, {-1234, "-1,234"}, {123456789012, "123,456,789,012"},
    };
    table.Append();
    for (const auto& [value, text] : cases) {
        table.SetFieldFloat("SmMny", value);
        EXPECT_EQ(table.DisplayText("SmMny"), text) << value;
    }
    table.SetFieldFloat("nDay", 7.5);
    EXPECT_EQ(table.DisplayText("nDay"), "7.5");
}

TEST_F(WorkerTableTest, FieldsByNameAndPositionAsTextFloatAndInteger)
{
    table.Append();
    table.SetFieldText("hcode", "1");   // Latin case does not matter
    table.SetFieldText("nDay", "7.5");
    table.SetFieldInteger("SmMny", 1200);
    table.SetFieldTextAt(kFirstDayField + 30, K("√"));
    EXPECT_THROW(table.SetFieldText("nNal", "abc"), TableError);
    EXPECT_THROW(table.SetFieldText("nope", "1"), TableError);
    EXPECT_THROW(table.SetFieldTextAt(kFieldCount, "1"), TableError);
    table.Post();

    EXPECT_EQ(table.FieldInteger("HCODE"), 1);
    EXPECT_EQ(table.FieldText("nDay"), "7.5");
    EXPECT_EQ(table.FieldFloat("SmMny"), 1200);
    EXPECT_EQ(table.FieldText("nNal"), "0");
    EXPECT_EQ(table.FieldText("d31"), K("√"));
    EXPECT_EQ(table.FieldTextAt(kFirstDayField + 30), K("√"));
    EXPECT_EQ(WorkerFields()[kFirstDayField].name, "d01");
    EXPECT_THROW(table.SetFieldText("pName", "x"), TableError);   // not editing
}

TEST_F(WorkerTableTest, AppendRowsSortsOnceAndPlacesTiesAfterExistingRows)
{
    WorkerRow existing = makeRow("나", "A");
    existing.nAddr = "old";
    table.AppendRows({existing, makeRow("다", "A")});
    WorkerRow same = makeRow("나", "A");
    same.nAddr = "new";
    table.AppendRows({makeRow("하", "A"), same, makeRow("가", "A")});
    EXPECT_EQ(namesInOrder(table), (std::vector<std::string>{"가", "나", "나", "다", "하"}));
    EXPECT_EQ(table.RowAt(1).nAddr, "old");
    EXPECT_EQ(table.RowAt(2).nAddr, "new");
    EXPECT_EQ(table.CurrentIndex(), 0);
}

TEST(WorkerTableClosedTest, OperationsOnAClosedTableRaiseTableError)
{
    WorkerTable table;
    EXPECT_FALSE(table.Active());
    EXPECT_THROW(table.First(), TableError);
    EXPECT_THROW(table.RecordCount(), TableError);
    EXPECT_THROW(table.Append(), TableError);
    EXPECT_THROW(table.FieldText("pName"), TableError);
    EXPECT_THROW(table.DeleteAllRows(), TableError);
    EXPECT_THROW(table.RecountAllDays(), TableError);
    try {
        table.Next();
        ADD_FAILURE() << "Next on a closed table did not raise";
    } catch (const TableError& error) {
        EXPECT_NE(std::string(error.what()).find("closed"), std::string::npos) << error.what();
    }

    table.Open();
    addRow(table, "가", "");
    table.Close();
    table.Open();
    EXPECT_EQ(table.RecordCount(), 0);   // closing lets the rows go
}

class StructureFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path()
              / ("lavodc_structure_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                 + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string write(const std::string& name, const std::string& text)
    {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::filesystem::path dir;
};

TEST_F(StructureFileTest, WrittenStructureLoadsAndLeavesTheTableClosedAndEmpty)
{
    const std::string path = (dir / "TmpLdoc.str").string();
    WorkerTable::WriteStructure(path);
    WorkerTable table;
    table.Open();
    addRow(table, "가", "");
    table.LoadStructure(path);
    EXPECT_FALSE(table.Active());
    table.Open();
    EXPECT_EQ(table.RecordCount(), 0);
}

TEST_F(StructureFileTest, TheShippedTemplateLoads)
{
    WorkerTable table;
    EXPECT_NO_THROW(table.LoadStructure(std::string(LAVODC_SOURCE_DIR) + "/data/TmLdoc.str"));
}

TEST_F(StructureFileTest, AStructureThatDoesNotMatchTheFixedFieldsIsRefused)
{
    const std::string good = [&] {
        const std::string path = (dir / "good.str").string();
        WorkerTable::WriteStructure(path);
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"wrong size", replaced("pName string 10", "pName string 12")},
        {"swapped fields", replaced("pName string 10\nJmnNo string 14", "JmnNo string 14\npName string 10")},
        {"wrong type", replaced("nNal float", "nNal integer")},
        {"missing field", replaced("d31 string 3\n", "")},
        {"extra field", good + "d32 string 3\n"},
        {"no magic line", replaced("lavodc-table 1", "")},
        {"empty", ""},
    };
    for (const auto& [what, text] : cases) {
        WorkerTable table;
        EXPECT_THROW(table.LoadStructure(write("bad.str", text)), TableError) << what;
    }
    WorkerTable table;
    EXPECT_NO_THROW(table.LoadStructure(write("spaced.str", replaced("pName string 10", "  pName   string 10 \r"))));
}

TEST_F(StructureFileTest, AMissingFileNamesThePathAndTheReason)
{
    const std::string path = (dir / "missing.str").string();
    WorkerTable table;
    table.Open();
    addRow(table, "가", "");
    try {
        table.LoadStructure(path);
        FAIL() << "no error";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + path + "\". No such file or directory");
    }
    EXPECT_FALSE(table.Active());
}

} // namespace
} // namespace lavodc

namespace lavodc {
namespace {

// Switching orders gives what a plain stable sort by the order keys gives, also for names
// longer than the packed part of a key, names that share it, blanks and empty texts.
TEST(WorkerTableSortTest, SwitchingOrdersMatchesAPlainStableSortByTheKeys)
{
    const std::vector<std::string> names = {
        K("김민수"), K("김민"), K("김민수수수수수가"), K("김민수수수수수나"), K("이"), "", " ", K("박서준"),
        "Abc", "abc", K("김민수수수수수"), K("홍길동"), K("A.철근원"), K("U.건설단순노무자"), K("U.건설단순노무원")};
    std::vector<WorkerRow> rows;
    unsigned seed = 12345;
    auto next = [&seed] { seed = seed * 1103515245u + 12345u; return (seed >> 16) % 15; };
    for (int i = 0; i < 600; ++i) {
        WorkerRow row;
        row.pName = names[next()];
        row.nName = names[next()];
        row.JmnNo = std::to_string(i);
        rows.push_back(row);
    }
    WorkerTable table;
    table.Open();
    table.AppendRows(rows);

    auto sameOrderAs = [&table](std::vector<WorkerRow> before, bool byJob) {
        std::stable_sort(before.begin(), before.end(), [byJob](const WorkerRow& a, const WorkerRow& b) {
            const int first = byJob ? CompareOrderKeys(MakeOrderKey(a.nName), MakeOrderKey(b.nName))
                                    : CompareOrderKeys(MakeOrderKey(a.pName), MakeOrderKey(b.pName));
            if (first != 0)
                return first < 0;
            return (byJob ? CompareOrderKeys(MakeOrderKey(a.pName), MakeOrderKey(b.pName))
                          : CompareOrderKeys(MakeOrderKey(a.nName), MakeOrderKey(b.nName))) < 0;
        });
        for (int i = 0; i < table.RecordCount(); ++i)
            if (table.RowAt(i).JmnNo != before[std::size_t(i)].JmnNo)
                return false;
        return true;
    };
    auto current = [&table] {
        std::vector<WorkerRow> now;
        for (int i = 0; i < table.RecordCount(); ++i)
            now.push_back(table.RowAt(i));
        return now;
    };
    for (int round = 0; round < 2; ++round) {
        std::vector<WorkerRow> before = current();
        table.SetIndexFieldNames(kByJobIndex);
        EXPECT_TRUE(sameOrderAs(before, true)) << "round " << round;
        before = current();
        table.SetIndexFieldNames(kByNameIndex);
        EXPECT_TRUE(sameOrderAs(before, false)) << "round " << round;
    }
}

} // namespace
} // namespace lavodc
