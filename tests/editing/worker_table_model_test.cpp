// The table models: what the worker list and the day strip show, how they follow the table,
// and the ground of day cells holding stray text.
#include "editing/worker_table_model.h"

#include "core/batch_marks.h"
#include "editing_fixture.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <ostream>

namespace lavodc {
namespace {

using testing::AddThreeWorkers;

QString cell(const QAbstractItemModel& model, int row, int column, int role = Qt::DisplayRole)
{
    return model.data(model.index(row, column), role).toString();
}

TEST(WorkerTableModelTest, ShowsTheNineColumnsWithTheirTitlesAndFormats)
{
    WorkerTable table;
    AddThreeWorkers(table);
    WorkerTableModel model(table, WorkerListColumns(), WorkerTableModel::Rows::All);
    ASSERT_EQ(model.columnCount(), 9);
    ASSERT_EQ(model.rowCount(), 3);
    const char* titles[] = {"성    명", "주민등록번호", "주                    소    ", "전화번호",
                            "직        종", "일수", "평균시간", "임금총액", "이 직 사 유"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(model.headerData(i, Qt::Horizontal, Qt::DisplayRole).toString(), QString::fromUtf8(titles[i]));
    EXPECT_EQ(cell(model, 0, 0), QStringLiteral("김철수"));
    EXPECT_EQ(cell(model, 1, 7), QStringLiteral("1,234,567"));   // wages grouped
    EXPECT_EQ(cell(model, 0, 7), QString());                     // 0 shows as an empty cell
    EXPECT_EQ(model.data(model.index(0, 1), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
}

TEST(WorkerTableModelTest, AFrozenTableTellsNothingUntilItIsUnfrozen)
{
    WorkerTable table;
    AddThreeWorkers(table);
    WorkerTableModel model(table, WorkerListColumns(), WorkerTableModel::Rows::All);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    {
        FreezeScope freeze(table);
        table.Last();
        table.Delete();
        table.Delete();
        EXPECT_EQ(model.rowCount(), 3);
        EXPECT_EQ(resets.count(), 0);
        // A repaint in between reads nothing that is gone.
        EXPECT_EQ(cell(model, 2, 0), QString());
    }
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(model.rowCount(), 1);
}

TEST(WorkerTableModelTest, TheDayStripShowsTheCurrentWorkerAndEditsNothing)
{
    WorkerTable table;
    AddThreeWorkers(table);
    WorkerTableModel strip(table, DayStripColumns(), WorkerTableModel::Rows::CurrentOnly);
    ASSERT_EQ(strip.rowCount(), 1);
    ASSERT_EQ(strip.columnCount(), 31);
    EXPECT_EQ(strip.headerData(30, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("31"));
    // Marks change through the table, never through the model.
    EXPECT_FALSE(strip.flags(strip.index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_FALSE(strip.setData(strip.index(0, 2), QStringLiteral("x"), Qt::EditRole));
    EXPECT_EQ(table.FieldText("d03"), "");
    table.Edit();
    table.SetFieldText("d03", std::string(kDayMark));
    table.Post();

    table.Next();
    EXPECT_EQ(cell(strip, 0, 2), QString());
    table.First();
    EXPECT_EQ(cell(strip, 0, 2), QStringLiteral("√"));
}

struct GroundCase {
    const char* text;   // UTF-8 of the day cell, as a file may bring it
    bool pale;
};

void PrintTo(const GroundCase& c, std::ostream* out)
{
    *out << '"' << c.text << '"';
}

class StrayDayGroundTest : public ::testing::TestWithParam<GroundCase> {};

TEST_P(StrayDayGroundTest, OnlyStrayTextHasAPaleRedGroundInDayColumns)
{
    WorkerTable table;
    AddThreeWorkers(table);
    table.Edit();
    table.SetFieldText("d04", K(GetParam().text));
    table.SetFieldText("pName", K(GetParam().text));
    table.Post();
    WorkerTableModel strip(table, DayStripColumns(), WorkerTableModel::Rows::CurrentOnly);
    WorkerTableModel batch(table, BatchGridColumns(3), WorkerTableModel::Rows::All);
    const QVariant expected = GetParam().pale ? QVariant(StrayDayBackground()) : QVariant();
    EXPECT_EQ(strip.data(strip.index(0, 3), Qt::BackgroundRole), expected);
    EXPECT_EQ(batch.data(batch.index(table.CurrentIndex(), 0), Qt::BackgroundRole), expected);
    // The text itself stays as the file had it.
    EXPECT_EQ(cell(strip, 0, 3), QString::fromUtf8(GetParam().text));
    // Other columns and other days keep the view's ground.
    EXPECT_FALSE(batch.data(batch.index(table.CurrentIndex(), 1), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(strip.data(strip.index(0, 4), Qt::BackgroundRole).isValid());
}

INSTANTIATE_TEST_SUITE_P(Cells, StrayDayGroundTest,
                         ::testing::Values(GroundCase{"", false}, GroundCase{"√", false}, GroundCase{"x", true},
                                           GroundCase{"v", true}, GroundCase{"√ ", true}, GroundCase{" ", true},
                                           GroundCase{"가", true}));

TEST(WorkerTableModelTest, ATextCutInsideASyllableShowsWithoutTheHalfCharacter)
{
    WorkerTable table;
    table.Open();
    table.Append();
    // An 11-byte name stored in 10 bytes ends in the first byte of "가".
    table.SetFieldText("pName", "A" + K("가가가가가"));
    table.Post();
    ASSERT_EQ(table.FieldText("pName").size(), 10u);
    WorkerTableModel model(table, WorkerListColumns(), WorkerTableModel::Rows::All);
    EXPECT_EQ(cell(model, 0, 0), QStringLiteral("A가가가가"));
    EXPECT_EQ(table.FieldText("pName").size(), 10u);   // the stored bytes stay
}

} // namespace
} // namespace lavodc
