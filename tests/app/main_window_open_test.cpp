// Opening and saving a large sheet in the window: the wait window's gauge is drawn a few times a
// second, not once a record, and its 취소 stops a read and leaves the sheet as it was.
#include "app/main_window.h"

#include "app/working_copy.h"
#include "app_test_folder.h"
#include "core/cp949.h"
#include "core/sheet_file.h"
#include "scripted_prompts.h"
#include "services/wait_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace lavodc {
namespace {

using testing::ScratchProgramFolder;
using testing::ScriptedPrompts;

constexpr int kWorkers = 30000;

// Counts what the gauge of the wait window draws, whichever window it is.
class GaugePaints : public QObject {
public:
    GaugePaints() { qApp->installEventFilter(this); }
    ~GaugePaints() override { qApp->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->objectName() == QStringLiteral("GaugeBar"))
            ++count;
        return false;
    }
};

class MainWindowOpenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorkerTable::WriteStructure(TemplatePath(folder.path()).toStdString());
        window = std::make_unique<Tmainf>(prompts, folder.path());
        window->show();
    }

    QString makeSheet(const QString& name, int workers)
    {
        Sheet sheet;
        sheet.table.Open();
        ResetHeader(sheet.header, "2024.05");
        sheet.header.gsName = K("큰 현장");
        std::vector<WorkerRow> rows(static_cast<std::size_t>(workers));
        for (int i = 0; i < workers; ++i) {
            rows[std::size_t(i)].pName = K("근로자") + std::to_string(i);
            rows[std::size_t(i)].days[std::size_t(i % 31)] = std::string(kDayMark);
        }
        sheet.table.AppendRows(std::move(rows));
        const QString path = folder.path() + name;
        SaveSheetFile(QFile::encodeName(path).toStdString(), sheet);
        return path;
    }

    ScratchProgramFolder folder;
    ScriptedPrompts prompts;
    std::unique_ptr<Tmainf> window;
};

// At most 20 updates a second (and one or two for showing the window), however many records.
TEST_F(MainWindowOpenTest, TheGaugeIsDrawnAtMostTwentyTimesASecond)
{
    const QString big = makeSheet(QStringLiteral("big.Lvo"), kWorkers);
    struct Step {
        const char* what;
        std::function<void()> run;
    };
    const Step steps[] = {
        {"open",
         [&] {
             prompts.expectOpenFile(big);
             window->openSheet();
             ASSERT_EQ(window->sheet().table.RecordCount(), kWorkers);
         }},
        {"save as",
         [&] {
             prompts.expectSaveFile(folder.path() + QStringLiteral("copy.Lvo"));
             window->RnameBtn->click();
             ASSERT_EQ(window->controller().SheetFileName(), folder.path() + QStringLiteral("copy.Lvo"));
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        GaugePaints paints;
        QElapsedTimer took;
        took.start();
        step.run();
        const qint64 ms = took.elapsed();
        EXPECT_LE(paints.count, ms / 50 + 4) << paints.count << " gauge paints in " << ms << " ms";
        EXPECT_EQ(WaitWindow(), nullptr);
    }
    EXPECT_TRUE(prompts.allAnswered());
}

// 취소 on the wait window while a sheet is read: the sheet, its name and its flag stay.
TEST_F(MainWindowOpenTest, CancelStopsTheReadAndLeavesTheSheetAsItWas)
{
    const QString small = makeSheet(QStringLiteral("small.Lvo"), 3);
    const QString big = makeSheet(QStringLiteral("big.Lvo"), kWorkers);
    prompts.expectOpenFile(small);
    window->openSheet();
    ASSERT_EQ(window->sheet().table.RecordCount(), 3);
    window->sheet().table.MoveTo(1);
    window->gsName->setText(QStringLiteral("고친 현장"));
    window->controller().SetSheetModified(true);

    // The user presses 취소 as soon as the wait window shows it.
    bool clicked = false;
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        TSprSfm* wait = WaitWindow();
        QPushButton* cancel = wait ? wait->findChild<QPushButton*>() : nullptr;
        if (cancel && !clicked && cancel->isVisible()) {
            clicked = true;
            QTest::mouseClick(cancel, Qt::LeftButton);
        }
    });
    presser.start(1);
    prompts.expectSaveQuestion(SaveAnswer::No);
    prompts.expectOpenFile(big);
    window->openSheet();
    presser.stop();

    EXPECT_TRUE(clicked) << "no 취소 button was there to press while the file was read";
    EXPECT_EQ(window->sheet().table.RecordCount(), 3);
    EXPECT_EQ(window->sheet().table.CurrentIndex(), 1);
    EXPECT_EQ(window->controller().SheetFileName(), small);
    EXPECT_EQ(window->FileLabel->text(), QStringLiteral("파일명: ") + small);
    EXPECT_EQ(window->gsName->text(), QStringLiteral("고친 현장"));
    EXPECT_TRUE(window->controller().SheetModified());
    EXPECT_EQ(WaitWindow(), nullptr);
    EXPECT_FALSE(window->sheet().table.Frozen());
    EXPECT_FALSE(window->controller().Busy());
    EXPECT_TRUE(prompts.errors.empty());
}

} // namespace
} // namespace lavodc
