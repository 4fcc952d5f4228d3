// The recovery copy: written soon after a change, gone after a save, New, Open or a clean
// close, offered back when a window ended without closing, and left alone by a second copy.
#include "app/document_controller.h"
#include "app/main_window.h"
#include "app/recovery_keeper.h"
#include "app/sheet_requests.h"
#include "app/single_instance.h"
#include "app/working_copy.h"
#include "app_test_folder.h"
#include "core/cp949.h"
#include "core/sheet_file.h"
#include "editing/day_strip.h"
#include "scripted_prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QLineEdit>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

#include <memory>

#include <sys/stat.h>

namespace lavodc {
namespace {

using testing::ScratchProgramFolder;
using testing::ScriptedPrompts;

// Scripted answers; a confirmation can take its time, as a user does, with the program's events
// going on meanwhile (as they do under a question whose window the program does not see as
// modal, or in the moment between its answer and its return).
class UnhurriedPrompts : public ScriptedPrompts {
public:
    int confirmAfterMs = 0;
    bool ConfirmBox(const QString& text) override
    {
        if (confirmAfterMs > 0)
            QTest::qWait(confirmAfterMs);
        return ScriptedPrompts::ConfirmBox(text);
    }
};

class RecoveryTest : public ::testing::Test {
protected:
    void SetUp() override { WorkerTable::WriteStructure(TemplatePath(folder.path()).toStdString()); }

    QString temp() const { return folder.path() + QStringLiteral("Temp/"); }

    // The program's start: the window shows its first sheet, then the keeper starts.
    void startProgram()
    {
        window = std::make_unique<Tmainf>(prompts, folder.path());
        window->show();
        keeper = std::make_unique<RecoveryKeeper>(window->controller(), prompts, temp());
        keeper->start();
        QObject::connect(window.get(), &Tmainf::sheetEdited, keeper.get(), &RecoveryKeeper::noteChange);
    }
    // As a crash leaves it: nothing closes, nothing is asked, the objects are simply gone.
    void crash()
    {
        keeper.reset();
        window.reset();
    }

    void addWorker(const char* name, int day)
    {
        WorkerTable& table = window->sheet().table;
        table.Append();
        table.SetFieldText("pName", K(name));
        table.SetFieldText("nName", K("보통인부"));
        table.SetFieldFloat("SmMny", 150000);
        table.SetFieldTextAt(kFirstDayField + day - 1, std::string(kDayMark));
        table.Post();
        window->controller().SetSheetModified(true);
    }

    // When the copy left behind was written, as its companion file says.
    QString copyTime() const
    {
        const std::optional<RecoveryStore::Companion> companion = RecoveryStore(temp()).readCompanion();
        EXPECT_TRUE(companion.has_value());
        const QString time = companion ? companion->time : QString();
        static const QRegularExpression shape(QStringLiteral("^\\d{4}\\.\\d{2}\\.\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
        EXPECT_TRUE(shape.match(time).hasMatch()) << time.toStdString();
        return time;
    }

    // Lets the timer fire and the copy be written.
    bool waitForCopy()
    {
        QElapsedTimer clock;
        clock.start();
        while (keeper->pending() && clock.elapsed() < 10000)
            QTest::qWait(50);
        keeper->waitForWrite();
        return keeper->store().hasCopy();
    }

    ScratchProgramFolder folder;
    UnhurriedPrompts prompts;
    std::unique_ptr<Tmainf> window;
    std::unique_ptr<RecoveryKeeper> keeper;
};

TEST_F(RecoveryTest, AWindowEndedWithoutClosingGivesItsWorkBackOnYes)
{
    startProgram();
    window->gsName->setText(QStringLiteral("서울 신축공사 ") + QString(40, QChar(u'가')));   // beyond a record's 70 bytes
    window->cmpTel->setText(QStringLiteral("02-123-4567"));
    addWorker("홍길동", 3);
    addWorker("김철수", 17);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(waitForCopy());
    EXPECT_LT(clock.elapsed(), RecoveryKeeper::kDelayMs + 1500);
    const SheetHeader typed = window->controller().HeaderInView();
    crash();

    const QString time = copyTime();
    prompts.expectConfirm(true);
    startProgram();
    ASSERT_FALSE(prompts.texts.empty());
    EXPECT_EQ(prompts.texts.front(),
              QStringLiteral("저장하지 않은 작업이 있습니다. 복구하시겠습니까?\n\n파일: 이름없음\n자동 저장 시각: ") + time);
    DocumentController& controller = window->controller();
    EXPECT_TRUE(controller.SheetModified());
    EXPECT_TRUE(controller.IsUntitled());
    EXPECT_TRUE(window->gsName->text().startsWith(QStringLiteral("서울 신축공사 가가")));
    const SheetHeader restored = controller.HeaderInView();
    EXPECT_EQ(restored.gsName, typed.gsName);
    EXPECT_EQ(restored.cmpTel, typed.cmpTel);
    EXPECT_EQ(restored.gsyear, typed.gsyear);
    EXPECT_EQ(restored.gmonth, typed.gmonth);
    const WorkerTable& table = window->sheet().table;
    ASSERT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.RowAt(0).pName, K("김철수"));
    EXPECT_EQ(table.RowAt(0).days[16], std::string(kDayMark));
    EXPECT_EQ(table.RowAt(0).nNal, 1);
    EXPECT_EQ(table.RowAt(1).pName, K("홍길동"));
    EXPECT_EQ(table.RowAt(1).SmMny, 150000);
    EXPECT_EQ(table.RowAt(1).nName, K("보통인부"));
}

TEST_F(RecoveryTest, ARestoredSheetSavesToTheFileItBelongedTo)
{
    startProgram();
    addWorker("홍길동", 1);
    const QString file = folder.path() + QStringLiteral("Work/site.Lvo");
    prompts.expectSaveFile(file);
    ASSERT_TRUE(window->controller().RnameBtnClick());
    EXPECT_FALSE(keeper->store().hasCopy());
    addWorker("김철수", 2);
    ASSERT_TRUE(waitForCopy());
    crash();

    const QString time = copyTime();
    prompts.expectConfirm(true);
    startProgram();
    ASSERT_FALSE(prompts.texts.empty());
    EXPECT_EQ(prompts.texts.front(),
              QStringLiteral("저장하지 않은 작업이 있습니다. 복구하시겠습니까?\n\n파일: site.Lvo\n자동 저장 시각: ") + time);
    DocumentController& controller = window->controller();
    EXPECT_EQ(controller.SheetFileName(), file);
    ASSERT_TRUE(controller.SaveBtnClick());   // no file dialog: the file it belonged to
    Sheet saved;
    saved.table.Open();
    OpenSheetFile(QFile::encodeName(file).toStdString(), saved);
    EXPECT_EQ(saved.table.RecordCount(), 2);
    EXPECT_FALSE(keeper->store().hasCopy());
}

TEST_F(RecoveryTest, TypingInTheHeaderAloneIsKeptToo)
{
    startProgram();
    window->gsName->setFocus();
    QTest::keyClicks(window->gsName, QStringLiteral("typed only"));
    EXPECT_TRUE(window->controller().SheetModified());
    ASSERT_TRUE(waitForCopy());
    crash();

    prompts.expectConfirm(true);
    startProgram();
    EXPECT_EQ(window->gsName->text(), QStringLiteral("typed only"));
    EXPECT_TRUE(window->controller().SheetModified());
}

TEST_F(RecoveryTest, ADayToggledAfterTheFirstCopyIsInTheNextOne)
{
    startProgram();
    addWorker("홍길동", 1);
    ASSERT_TRUE(waitForCopy());
    // The sheet is marked already; only the window's edit signal tells of this change.
    window->CuntGrid->selectDay(9);
    window->CuntGrid->CuntGridDblClick();
    ASSERT_TRUE(window->controller().SheetModified());
    ASSERT_TRUE(waitForCopy());
    crash();

    prompts.expectConfirm(true);
    startProgram();
    EXPECT_EQ(window->sheet().table.FieldText("d10"), kDayMark);
}

TEST_F(RecoveryTest, WagesImportedAfterTheFirstCopyAreInTheNextOne)
{
    startProgram();
    addWorker("홍길동", 1);
    WorkerTable& table = window->sheet().table;
    table.Edit();
    table.SetFieldText("JmnNo", "800101-1234567");
    table.Post();
    ASSERT_TRUE(waitForCopy());
    const QString list = folder.path() + QStringLiteral("wages.csv");
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("성명,주민등록번호,임금총액\n홍길동,8001011234567,2300000\n");
    file.close();
    prompts.expectOpenFile(list);
    prompts.expectConfirm(true);
    window->importWorkers();
    ASSERT_EQ(table.RowAt(0).SmMny, 2300000);
    ASSERT_TRUE(waitForCopy());
    crash();

    prompts.expectConfirm(true);
    startProgram();
    ASSERT_EQ(window->sheet().table.RecordCount(), 1);
    EXPECT_EQ(window->sheet().table.RowAt(0).SmMny, 2300000);
}

// The desktop names a sheet (lavodc FILE.Lvo) while the last run's work is offered back: the
// file waits for the answer, and then the restored sheet is not replaced without the question.
TEST_F(RecoveryTest, ASheetFromTheDesktopWaitsForTheRestoreAndAsksBeforeReplacingIt)
{
    startProgram();
    addWorker("홍길동", 1);
    addWorker("김철수", 2);
    ASSERT_TRUE(waitForCopy());
    crash();
    Sheet other;
    other.table.Open();
    ResetHeader(other.header, "2024.05");
    other.table.Append();
    other.table.SetFieldText("pName", K("바깥"));
    other.table.Post();
    const QString desktopFile = folder.path() + QStringLiteral("desktop.Lvo");
    SaveSheetFile(QFile::encodeName(desktopFile).toStdString(), other);

    // As the program starts: the window, the desktop's sheet asked for, then the keeper.
    window = std::make_unique<Tmainf>(prompts, folder.path());
    SingleInstance instance(QStringLiteral("lavodc-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces));
    ASSERT_TRUE(instance.tryBecomePrimary());
    SheetRequests requests(instance, *window);
    window->show();
    requests.openWhenIdle(desktopFile);
    prompts.confirmAfterMs = 400;
    prompts.expectConfirm(true);
    prompts.expectSaveQuestion(SaveAnswer::Cancel);
    keeper = std::make_unique<RecoveryKeeper>(window->controller(), prompts, temp());
    keeper->start();

    QElapsedTimer clock;
    clock.start();
    while (!prompts.allAnswered() && clock.elapsed() < 5000)
        QTest::qWait(20);
    QTest::qWait(300);   // a request still waiting would have been served by now
    ASSERT_EQ(prompts.texts.size(), 2u);
    EXPECT_TRUE(prompts.texts[0].startsWith(QStringLiteral("저장하지 않은 작업이 있습니다. 복구하시겠습니까?")));
    EXPECT_TRUE(prompts.texts[0].contains(QStringLiteral("파일: 이름없음")));
    EXPECT_EQ(prompts.texts[1], QStringLiteral("자료내용이 변경되었습니다.\n저장하시겠습니까?"));
    EXPECT_EQ(window->sheet().table.RecordCount(), 2);
    EXPECT_TRUE(window->controller().IsUntitled());
    EXPECT_TRUE(window->controller().SheetModified());
}

TEST_F(RecoveryTest, NoDeletesTheCopy)
{
    startProgram();
    addWorker("홍길동", 1);
    ASSERT_TRUE(waitForCopy());
    crash();

    prompts.expectConfirm(false);
    startProgram();
    EXPECT_FALSE(keeper->store().hasCopy());
    EXPECT_FALSE(QFile::exists(keeper->store().companionPath()));
    EXPECT_TRUE(window->sheet().table.IsEmpty());
    EXPECT_FALSE(window->controller().SheetModified());
    crash();
    startProgram();   // nothing is asked any more
}

TEST_F(RecoveryTest, NothingUnsavedLeavesNoCopy)
{
    startProgram();
    addWorker("홍길동", 1);
    ASSERT_TRUE(waitForCopy());

    // New, letting the changes go.
    prompts.expectSaveQuestion(SaveAnswer::No);
    ASSERT_TRUE(window->controller().NewFileClick());
    EXPECT_FALSE(keeper->store().hasCopy());

    // Open, letting the changes go.
    addWorker("김철수", 1);
    ASSERT_TRUE(waitForCopy());
    const QString file = folder.path() + QStringLiteral("other.Lvo");
    Sheet other;
    other.table.Open();
    SaveSheetFile(QFile::encodeName(file).toStdString(), other);
    prompts.expectSaveQuestion(SaveAnswer::No);
    prompts.expectOpenFile(file);
    ASSERT_TRUE(window->controller().HFileOpenClick());
    EXPECT_FALSE(keeper->store().hasCopy());

    // A normal close: the question is answered No.
    addWorker("박영희", 1);
    ASSERT_TRUE(waitForCopy());
    prompts.expectSaveQuestion(SaveAnswer::No);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(keeper->store().hasCopy());
    crash();
    startProgram();   // and nothing is asked at the next start
}

TEST_F(RecoveryTest, ACopyIsWrittenWhileChangesGoOnAndFollowsTheLatest)
{
    startProgram();
    addWorker("가", 1);
    // Changes every few hundred milliseconds for longer than the delay: a copy still comes.
    for (int i = 0; i < 8; ++i) {
        QTest::qWait(300);
        addWorker("나", 2);
    }
    keeper->waitForWrite();
    EXPECT_TRUE(keeper->store().hasCopy()) << "typing on postponed the copy";
    // Once the changes stop, the copy catches up with the last of them.
    ASSERT_TRUE(waitForCopy());
    Sheet copy;
    copy.table.Open();
    OpenSheetFile(QFile::encodeName(keeper->store().copyPath()).toStdString(), copy);
    EXPECT_EQ(copy.table.RecordCount(), window->sheet().table.RecordCount());
}

TEST_F(RecoveryTest, ASecondCopyOfTheProgramLeavesTheFirstOnesCopyAlone)
{
    startProgram();
    addWorker("홍길동", 1);
    ASSERT_TRUE(waitForCopy());
    const QByteArray before = [&] {
        QFile f(keeper->store().copyPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    // Another copy on the same folder, while the first runs: no question, no copy of its own.
    Tmainf second(prompts, folder.path());
    second.show();
    RecoveryKeeper secondKeeper(second.controller(), prompts, temp());
    secondKeeper.start();
    EXPECT_FALSE(secondKeeper.store().claimed());
    secondKeeper.discard();
    second.controller().SetSheetModified(true);
    EXPECT_FALSE(secondKeeper.pending());
    QFile f(keeper->store().copyPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(RecoveryTest, ACopyWithoutItsCompanionIsOfferedAsUntitledWithTheCopysOwnTime)
{
    startProgram();
    addWorker("홍길동", 1);
    ASSERT_TRUE(waitForCopy());
    crash();
    ASSERT_TRUE(QFile::remove(temp() + QStringLiteral("Recovery.ini")));
    QFile copy(temp() + QStringLiteral("Recovery.Lvo"));
    ASSERT_TRUE(copy.open(QIODevice::ReadWrite));
    ASSERT_TRUE(copy.setFileTime(QDateTime(QDate(2026, 11, 3), QTime(9, 5, 7)), QFileDevice::FileModificationTime));
    copy.close();

    prompts.expectConfirm(false);
    startProgram();
    ASSERT_FALSE(prompts.texts.empty());
    EXPECT_EQ(prompts.texts.front(),
              QStringLiteral("저장하지 않은 작업이 있습니다. 복구하시겠습니까?\n\n파일: 이름없음\n자동 저장 시각: 2026.11.03 09:05:07"));
}

TEST_F(RecoveryTest, AnUnreadableCopyIsReportedAndRemoved)
{
    ASSERT_TRUE(QDir().mkpath(temp()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(temp() + QStringLiteral("Recovery.Lvo")).constData(), 0600), 0);
    prompts.expectConfirm(true);
    prompts.expectError();
    startProgram();
    EXPECT_FALSE(keeper->store().hasCopy());
}

} // namespace
} // namespace lavodc
