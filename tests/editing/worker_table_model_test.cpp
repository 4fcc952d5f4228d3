// The table models: what the worker list and the day strip show, and how they follow the table.
#include "editing/worker_table_model.h"

#include "editing_fixture.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

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

TEST(WorkerTableModelTest, TheDayStripShowsTheCurrentWorkerAndStoresTypedCells)
{
    WorkerTable table;
    AddThreeWorkers(table);
    WorkerTableModel strip(table, DayStripColumns(), WorkerTableModel::Rows::CurrentOnly);
    ASSERT_EQ(strip.rowCount(), 1);
    ASSERT_EQ(strip.columnCount(), 31);
    EXPECT_EQ(strip.headerData(30, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("31"));
    strip.setDaysEditable(true);
    QSignalSpy typed(&strip, &WorkerTableModel::dayTyped);
    ASSERT_TRUE(strip.setData(strip.index(0, 2), QStringLiteral("√"), Qt::EditRole));
    EXPECT_EQ(typed.count(), 1);
    EXPECT_EQ(table.FieldText("d03"), kDayMark);
    EXPECT_EQ(table.FieldFloat("nNal"), 1);   // recounted at once

    table.Next();
    EXPECT_EQ(cell(strip, 0, 2), QString());
    table.First();
    EXPECT_EQ(cell(strip, 0, 2), QStringLiteral("√"));
}

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
