// Sheets asked for by the desktop: the file named at start and the files later copies hand over.
#include "app/sheet_requests.h"

#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/working_copy.h"
#include "app_test_folder.h"
#include "core/cp949.h"
#include "core/sheet_file.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

#include <memory>

namespace lavodc {
namespace {

using testing::ScratchProgramFolder;
using testing::ScriptedPrompts;

TEST(SheetPathArgument, TakesTheFirstFileArgumentMadeAbsolute)
{
    // Relative names are taken against the current folder, which earlier tests may have removed.
    const QString before = QDir::currentPath();
    QTemporaryDir scratch;
    ASSERT_TRUE(QDir::setCurrent(scratch.path()));
    const QString here = QDir::currentPath();
    const struct {
        QStringList arguments;
        QString path;
    } cases[] = {
        {{QStringLiteral("lavodc")}, QString()},
        {{QStringLiteral("lavodc"), QStringLiteral("/home/a/현장.Lvo")}, QStringLiteral("/home/a/현장.Lvo")},
        {{QStringLiteral("lavodc"), QStringLiteral("sub/../x.LVO")}, here + QStringLiteral("/x.LVO")},
        {{QStringLiteral("lavodc"), QStringLiteral("-v"), QStringLiteral("/a.Lvo"), QStringLiteral("/b.Lvo")},
         QStringLiteral("/a.Lvo")},
        {{QStringLiteral("lavodc"), QStringLiteral("--"), QStringLiteral("-odd.Lvo")}, here + QStringLiteral("/-odd.Lvo")},
        {{QStringLiteral("lavodc"), QStringLiteral("--verbose")}, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SheetPathArgument(c.arguments).toStdString(), c.path.toStdString())
            << c.arguments.join(QLatin1Char(' ')).toStdString();
    QDir::setCurrent(before);
}

class SheetRequestsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorkerTable::WriteStructure(TemplatePath(folder.path()).toStdString());
        window = std::make_unique<Tmainf>(prompts, folder.path());
        window->show();   // the first New
    }

    // A sheet file of `workers` workers, written by the core alone.
    QString makeSheet(const QString& name, int workers)
    {
        Sheet sheet;
        sheet.table.LoadStructure(TemplatePath(folder.path()).toStdString());
        sheet.table.Open();
        ResetHeader(sheet.header, "2020.04");
        sheet.header.gsName = K("바깥 현장");
        for (int i = 0; i < workers; ++i) {
            sheet.table.Append();
            sheet.table.SetFieldText("pName", K("근로자") + std::to_string(i));
            sheet.table.Post();
        }
        const QString path = folder.path() + name;
        SaveSheetFile(QFile::encodeName(path).toStdString(), sheet);
        return path;
    }

    QString uniqueKey() const
    {
        return QStringLiteral("lavodc-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    }

    ScratchProgramFolder folder;
    ScriptedPrompts prompts;
    std::unique_ptr<Tmainf> window;
};

TEST_F(SheetRequestsTest, TheFileNamedAtStartIsOpenedAfterStart)
{
    const QString path = makeSheet(QStringLiteral("start.Lvo"), 3);
    SingleInstance instance(uniqueKey());
    ASSERT_TRUE(instance.tryBecomePrimary());
    SheetRequests requests(instance, *window);
    requests.openWhenIdle(path);

    EXPECT_TRUE(QTest::qWaitFor([&] { return window->controller().SheetFileName() == path; }, 2000));
    EXPECT_EQ(window->controller().SheetFileName(), path);
    EXPECT_EQ(window->sheet().table.RecordCount(), 3);
    EXPECT_EQ(window->FileLabel->text(), QStringLiteral("파일명: ") + path);
    EXPECT_EQ(window->gsName->text(), QStringLiteral("바깥 현장"));
}

TEST_F(SheetRequestsTest, ALaterCopyHandsItsFileToTheRunningOneWhichAsksFirst)
{
    const QString path = makeSheet(QStringLiteral("handed.Lvo"), 2);
    const QString key = uniqueKey();
    SingleInstance running(key);
    ASSERT_TRUE(StartOrHandOver(running, [] {}));
    SheetRequests requests(running, *window);

    // Unsaved work in the running copy: the save question comes before the file.
    window->sheet().table.Append();
    window->sheet().table.SetFieldText("pName", K("홍길동"));
    window->sheet().table.Post();
    window->controller().SetSheetModified(true);
    prompts.expectSaveQuestion(SaveAnswer::No);

    SingleInstance later(key);
    int told = 0;
    EXPECT_FALSE(StartOrHandOver(later, [&] { ++told; }, path));
    EXPECT_EQ(told, 0);   // the later copy ends without its message

    EXPECT_TRUE(QTest::qWaitFor([&] { return window->controller().SheetFileName() == path; }, 2000));
    EXPECT_EQ(window->controller().SheetFileName(), path);
    EXPECT_TRUE(prompts.allAnswered());
    EXPECT_EQ(window->sheet().table.RecordCount(), 2);
}

TEST_F(SheetRequestsTest, ARequestWaitsWhileADialogIsUp)
{
    const QString path = makeSheet(QStringLiteral("later.Lvo"), 1);
    SingleInstance instance(uniqueKey());
    ASSERT_TRUE(instance.tryBecomePrimary());
    SheetRequests requests(instance, *window);

    QDialog dialog(window.get());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    ASSERT_NE(QApplication::activeModalWidget(), nullptr);
    requests.openWhenIdle(path);
    QTest::qWait(300);
    EXPECT_EQ(window->controller().SheetFileName(), DocumentController::untitledName());

    dialog.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->controller().SheetFileName() == path; }, 2000));
    EXPECT_EQ(window->controller().SheetFileName(), path);
}

} // namespace
} // namespace lavodc
