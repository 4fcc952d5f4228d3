#include "app/document_controller.h"

#include "core/cp949.h"
#include "core/sheet_file.h"
#include "services/settings.h"
#include "tests/app/fake_document_view.h"
#include "tests/app/scripted_prompts.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace lavodc {
namespace {

using testing::FakeDocumentView;
using testing::ScriptedPrompts;

std::string native(const QString& path) { return QFile::encodeName(path).toStdString(); }

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString labelFor(const QString& name) { return QStringLiteral("파일명: ") + name; }
const QString kUntitledLabel = labelFor(QStringLiteral("이름없음.Lvo"));
// Open's wait window offers 취소; Save's does not.
const QString kOpenWait = QStringLiteral("showWait: 파일을 읽고 있습니다. 잠시만... [취소]");

class DocumentControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        folder = scratch.path() + QLatin1Char('/');
        SetProgramFolder(folder);
        ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("Temp")));
        WorkerTable::WriteStructure(native(workingCopy()));
        controller = std::make_unique<DocumentController>(sheet, view, prompts, folder);
        // The window runs New when it is first shown.
        ASSERT_TRUE(controller->NewFileClick());
        view.calls.clear();
        view.gauge.clear();
    }
    void TearDown() override
    {
        QDir::setCurrent(startFolder);
        SetProgramFolder(startProgramFolder);
    }

    QString workingCopy() const { return folder + QStringLiteral("Temp/TmpLdoc.cds"); }
    QString path(const QString& relative) const { return folder + relative; }

    void addWorker(const char* name)
    {
        sheet.table.Append();
        sheet.table.SetFieldText("pName", K(name));
        sheet.table.SetFieldText("d01", std::string(kDayMark));
        sheet.table.Post();
        controller->SetSheetModified(true);
    }

    // Makes the sheet titled with `file` through Save As; the sheet needs a worker.
    void saveAs(const QString& file)
    {
        prompts.expectSaveFile(file);
        ASSERT_TRUE(controller->RnameBtnClick());
    }

    // A sheet file written by the core alone, so Open has something of its own to read.
    void makeFile(const QString& file, const std::string& period, int workers)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        Sheet source;
        source.table.LoadStructure(native(workingCopy()));
        source.table.Open();
        ResetHeader(source.header, period);
        source.header.gsName = K("옛 현장");
        for (int i = 0; i < workers; ++i) {
            source.table.Append();
            source.table.SetFieldText("pName", K("근로자") + std::to_string(i));
            source.table.SetFieldText("d02", std::string(kDayMark));
            source.table.SetFieldText("d03", std::string(kDayMark));
            source.table.Post();   // nNal left at 0: Open recounts it
        }
        SaveSheetFile(native(file), source);
    }

    std::string iniWorkFolder() const
    {
        return QDir::cleanPath(ReadIniText(QString::fromLatin1(kIniFileName), QStringLiteral("작업폴더"),
                                           QStringLiteral("wPath"), QString()))
            .toStdString();
    }

    // After any command, failed or not, the wait window is gone and the grids are live again.
    void expectWaitClosedAndViewsLive() const
    {
        EXPECT_FALSE(view.waitShown);
        EXPECT_FALSE(sheet.table.Frozen());
    }

    QString startFolder = QDir::currentPath();
    QString startProgramFolder = ProgramFolder();
    QTemporaryDir scratch;
    QString folder;
    Sheet sheet;
    FakeDocumentView view;
    ScriptedPrompts prompts;
    std::unique_ptr<DocumentController> controller;
};

TEST_F(DocumentControllerTest, NewOnChangedSheetAsksAndCancelKeepsItAsItWas)
{
    addWorker("홍길동");
    saveAs(path("site.Lvo"));
    addWorker("김철수");
    view.boxes.gsName = K("본사 현장");

    prompts.expectSaveQuestion(SaveAnswer::Cancel);
    EXPECT_FALSE(controller->NewFileClick());

    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_EQ(prompts.texts.back(), QStringLiteral("자료내용이 변경되었습니다.\n저장하시겠습니까?"));
    EXPECT_EQ(sheet.table.RecordCount(), 2);
    EXPECT_EQ(controller->SheetFileName(), path("site.Lvo"));
    EXPECT_EQ(view.fileLabel, labelFor(path("site.Lvo")));
    EXPECT_EQ(view.boxes.gsName, K("본사 현장"));
    EXPECT_TRUE(controller->SheetModified());
}

TEST_F(DocumentControllerTest, NewAfterNoGivesAnEmptyUntitledSheetInNameOrder)
{
    addWorker("홍길동");
    saveAs(path("site.Lvo"));
    addWorker("김철수");
    sheet.table.SetIndexFieldNames(kByJobIndex);
    view.boxes.gsName = K("본사 현장");
    view.boxes.cmpTel = "042-123-4567";

    prompts.expectSaveQuestion(SaveAnswer::No);
    EXPECT_TRUE(controller->NewFileClick());

    EXPECT_TRUE(sheet.table.Active());
    EXPECT_TRUE(sheet.table.IsEmpty());
    EXPECT_EQ(sheet.table.IndexFieldNames(), kByNameIndex);
    EXPECT_TRUE(controller->IsUntitled());
    EXPECT_EQ(view.fileLabel, kUntitledLabel);
    EXPECT_FALSE(controller->SheetModified());
    const std::string period = CurrentPeriod();
    EXPECT_EQ(sheet.period, period);
    EXPECT_EQ(view.boxes.gsyear, period.substr(0, 4));
    EXPECT_EQ(view.boxes.gmonth, period.substr(5, 2));
    EXPECT_EQ(view.boxes.gsName, "");
    EXPECT_EQ(view.boxes.cmpTel, "");
    EXPECT_TRUE(view.called(QStringLiteral("showByNameOrder")));
    EXPECT_EQ(view.calls.back(), QStringLiteral("focusSiteName"));
    // The file the user declined to update is left alone.
    EXPECT_EQ(fileBytes(path("site.Lvo")).size(), 4 * 344);
}

TEST_F(DocumentControllerTest, YesOnUntitledSheetWithWorkersSavesAsBeforeNewGoesOn)
{
    addWorker("홍길동");
    prompts.expectSaveQuestion(SaveAnswer::Yes);
    prompts.expectSaveFile(path("first.Lvo"));
    EXPECT_TRUE(controller->NewFileClick());

    EXPECT_EQ(fileBytes(path("first.Lvo")).size(), 4 * 344);
    EXPECT_TRUE(sheet.table.IsEmpty());
    EXPECT_TRUE(controller->IsUntitled());
    EXPECT_FALSE(controller->SheetModified());

    ASSERT_EQ(prompts.dialogs.size(), 1u);
    const FileDialogRequest& dialog = prompts.dialogs.front();
    EXPECT_EQ(dialog.title, QStringLiteral("파일명을 확인하세요."));
    EXPECT_TRUE(dialog.filter.contains(QStringLiteral("*.Lvo")));
    EXPECT_EQ(dialog.defaultSuffix, QStringLiteral("Lvo"));
    EXPECT_EQ(dialog.proposedName, QStringLiteral("이름없음.Lvo"));
    EXPECT_EQ(QDir::cleanPath(dialog.initialFolder), QDir::cleanPath(path("Work")));
}

TEST_F(DocumentControllerTest, YesThatSavesNothingStopsTheCommandAndKeepsTheChanges)
{
    ASSERT_TRUE(QFile(path("plain.txt")).open(QIODevice::WriteOnly));
    struct Case {
        const char* what;
        std::optional<QString> saveDialogAnswer;
        bool saveFails;
    };
    const Case cases[] = {
        {"save dialog cancelled", std::nullopt, false},
        {"save fails", path("plain.txt/sheet.Lvo"), true},
    };
    addWorker("홍길동");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.expectSaveQuestion(SaveAnswer::Yes);
        prompts.expectSaveFile(c.saveDialogAnswer);
        if (c.saveFails)
            prompts.expectError();
        EXPECT_FALSE(controller->NewFileClick());

        EXPECT_TRUE(prompts.allAnswered());
        EXPECT_EQ(sheet.table.RecordCount(), 1);
        EXPECT_TRUE(controller->IsUntitled());
        EXPECT_EQ(view.fileLabel, kUntitledLabel);
        EXPECT_TRUE(controller->SheetModified());
        expectWaitClosedAndViewsLive();
    }
}

TEST_F(DocumentControllerTest, MayCloseAsksOnlyAboutUnsavedChanges)
{
    struct Case {
        const char* what;
        bool modified;
        std::optional<SaveAnswer> answer;
        std::optional<QString> saveDialogAnswer;
        bool mayClose;
        bool modifiedAfter;
    };
    const Case cases[] = {
        {"nothing changed", false, std::nullopt, std::nullopt, true, false},
        {"Cancel", true, SaveAnswer::Cancel, std::nullopt, false, true},
        {"Yes, save dialog cancelled", true, SaveAnswer::Yes, std::nullopt, false, true},
        {"No", true, SaveAnswer::No, std::nullopt, true, false},
        {"Yes, saved", true, SaveAnswer::Yes, path("closing.Lvo"), true, false},
    };
    addWorker("홍길동");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controller->SetSheetModified(c.modified);
        if (c.answer) {
            prompts.expectSaveQuestion(*c.answer);
            if (*c.answer == SaveAnswer::Yes)
                prompts.expectSaveFile(c.saveDialogAnswer);
        }
        EXPECT_EQ(controller->MayClose(), c.mayClose);
        EXPECT_TRUE(prompts.allAnswered());
        EXPECT_EQ(controller->SheetModified(), c.modifiedAfter);
        EXPECT_EQ(sheet.table.RecordCount(), 1);
    }
    EXPECT_EQ(fileBytes(path("closing.Lvo")).size(), 4 * 344);
}

TEST_F(DocumentControllerTest, OpenOfUntitledSheetWithoutWorkersNeverAsks)
{
    makeFile(path("old/march.Lvo"), "2019.03", 2);
    view.boxes.gsName = K("입력만 한 현장");
    controller->SetSheetModified(true);

    prompts.expectOpenFile(path("old/march.Lvo"));
    EXPECT_TRUE(controller->HFileOpenClick());

    ASSERT_EQ(sheet.table.RecordCount(), 2);
    sheet.table.First();
    EXPECT_EQ(sheet.table.FieldFloat("nNal"), 2.0);   // recounted from the day marks
    EXPECT_EQ(sheet.table.IndexFieldNames(), kByNameIndex);
    EXPECT_EQ(view.boxes.gsName, K("옛 현장"));
    EXPECT_EQ(view.boxes.gsyear, "2019");
    EXPECT_EQ(sheet.period, CurrentPeriod());          // until the boxes are left or saved
    EXPECT_EQ(controller->SheetFileName(), path("old/march.Lvo"));
    EXPECT_EQ(view.fileLabel, labelFor(path("old/march.Lvo")));
    EXPECT_TRUE(controller->SheetModified());          // Open leaves the flag alone
    EXPECT_EQ(view.calls.front(), kOpenWait);
    ASSERT_FALSE(view.gauge.empty());
    EXPECT_EQ(view.gauge.back(), 100);
    EXPECT_EQ(view.calls.back(), QStringLiteral("focusWorkerList"));
    EXPECT_TRUE(view.called(QStringLiteral("showByNameOrder")));
    expectWaitClosedAndViewsLive();
}

TEST_F(DocumentControllerTest, OpenStopsWhenTheQuestionOrTheDialogIsCancelled)
{
    addWorker("홍길동");
    saveAs(path("site.Lvo"));
    makeFile(path("other.Lvo"), "2019.03", 3);
    addWorker("김철수");
    view.calls.clear();

    prompts.expectSaveQuestion(SaveAnswer::Cancel);
    EXPECT_FALSE(controller->HFileOpenClick());
    EXPECT_EQ(prompts.dialogs.size(), 1u);   // only the Save As of the set-up

    // No gives the changes up only for a file that then actually comes.
    prompts.expectSaveQuestion(SaveAnswer::No);
    prompts.expectOpenFile(std::nullopt);
    EXPECT_FALSE(controller->HFileOpenClick());

    EXPECT_EQ(sheet.table.RecordCount(), 2);
    EXPECT_EQ(controller->SheetFileName(), path("site.Lvo"));
    EXPECT_TRUE(controller->SheetModified());
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(DocumentControllerTest, FailedOpenLeavesTheSheetAsItWas)
{
    ASSERT_TRUE(QDir().mkpath(path("a folder.Lvo")));
    addWorker("홍길동");
    addWorker("김철수");
    saveAs(path("Site.Lvo"));
    view.boxes.gsName = K("본사 현장");
    const SheetHeader headerBefore = view.boxes;

    for (const QString& target : {path("missing.Lvo"), path("a folder.Lvo")}) {
        SCOPED_TRACE(target.toStdString());
        controller->SetSheetModified(true);
        view.calls.clear();
        prompts.expectSaveQuestion(SaveAnswer::No);
        prompts.expectOpenFile(target);
        prompts.expectError();
        EXPECT_FALSE(controller->HFileOpenClick());
        // The file could not be opened: the wait window never came up.
        EXPECT_FALSE(view.called(kOpenWait));

        EXPECT_FALSE(prompts.errors.back().isEmpty());
        EXPECT_EQ(sheet.table.RecordCount(), 2);
        EXPECT_EQ(controller->SheetFileName(), path("Site.Lvo"));
        EXPECT_EQ(view.fileLabel, labelFor(path("Site.Lvo")));
        EXPECT_TRUE(controller->SheetModified());
        EXPECT_EQ(view.boxes.gsName, headerBefore.gsName);
        EXPECT_EQ(view.boxes.gsyear, headerBefore.gsyear);
        expectWaitClosedAndViewsLive();
    }
}

TEST_F(DocumentControllerTest, OpenSheetPathReadsTheFileWithoutTheDialog)
{
    makeFile(path("desk/april.Lvo"), "2020.04", 3);
    EXPECT_TRUE(controller->OpenSheetPath(path("desk/april.Lvo")));

    EXPECT_TRUE(prompts.dialogs.empty());
    EXPECT_EQ(prompts.beeps, 0);   // an untitled sheet without workers is replaced unasked
    EXPECT_EQ(sheet.table.RecordCount(), 3);
    EXPECT_EQ(view.boxes.gsyear, "2020");
    EXPECT_EQ(controller->SheetFileName(), path("desk/april.Lvo"));
    EXPECT_EQ(view.fileLabel, labelFor(path("desk/april.Lvo")));
    EXPECT_EQ(view.calls.front(), kOpenWait);
    expectWaitClosedAndViewsLive();
}

TEST_F(DocumentControllerTest, OpenSheetPathAsksTheSaveQuestionWhenDue)
{
    addWorker("홍길동");
    saveAs(path("site.Lvo"));
    makeFile(path("desk/april.Lvo"), "2020.04", 3);
    addWorker("김철수");

    prompts.expectSaveQuestion(SaveAnswer::Cancel);
    EXPECT_FALSE(controller->OpenSheetPath(path("desk/april.Lvo")));
    EXPECT_EQ(sheet.table.RecordCount(), 2);
    EXPECT_EQ(controller->SheetFileName(), path("site.Lvo"));

    prompts.expectSaveQuestion(SaveAnswer::No);
    EXPECT_TRUE(controller->OpenSheetPath(path("desk/april.Lvo")));
    EXPECT_EQ(sheet.table.RecordCount(), 3);
    EXPECT_EQ(controller->SheetFileName(), path("desk/april.Lvo"));
    EXPECT_EQ(prompts.dialogs.size(), 1u);   // only the Save As of the set-up
}

TEST_F(DocumentControllerTest, CancelOnTheWaitWindowStopsOpenAndKeepsTheSheet)
{
    makeFile(path("big.Lvo"), "2020.04", 300);
    addWorker("홍길동");
    saveAs(path("site.Lvo"));
    addWorker("김철수");
    view.calls.clear();
    view.gauge.clear();
    view.cancelAfterGauges = 2;

    prompts.expectSaveQuestion(SaveAnswer::No);
    prompts.expectOpenFile(path("big.Lvo"));
    EXPECT_FALSE(controller->HFileOpenClick());

    EXPECT_EQ(view.gauge.size(), 2u) << "the read went on after 취소";
    EXPECT_EQ(view.calls.front(), kOpenWait);
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_EQ(sheet.table.RecordCount(), 2);
    EXPECT_EQ(controller->SheetFileName(), path("site.Lvo"));
    EXPECT_TRUE(controller->SheetModified());   // No was given for a file that did not come
    expectWaitClosedAndViewsLive();
}

TEST_F(DocumentControllerTest, OpenSheetPathOfAMissingFileShowsTheErrorWithoutTheWaitWindow)
{
    prompts.expectError();
    EXPECT_FALSE(controller->OpenSheetPath(path("gone.Lvo")));
    EXPECT_FALSE(prompts.errors.back().isEmpty());
    EXPECT_EQ(controller->SheetFileName(), DocumentController::untitledName());
    EXPECT_FALSE(view.called(kOpenWait));
    expectWaitClosedAndViewsLive();
}

TEST_F(DocumentControllerTest, SaveWritesWithProgressAndClearsTheFlag)
{
    addWorker("홍길동");
    saveAs(path("site.Lvo"));
    addWorker("김철수");
    view.calls.clear();
    view.gauge.clear();

    EXPECT_TRUE(controller->SaveBtnClick());

    EXPECT_EQ(fileBytes(path("site.Lvo")).size(), 5 * 344);
    EXPECT_FALSE(controller->SheetModified());
    EXPECT_EQ(view.gauge, (std::vector<int>{0, 50, 100}));
    const std::vector<QString> calls{QStringLiteral("showWait: 파일을 읽고 있습니다. 잠시만..."),
                                     QStringLiteral("hideWait"), QStringLiteral("focusWorkerList")};
    EXPECT_EQ(view.calls, calls);   // the label is not touched
    expectWaitClosedAndViewsLive();
}

TEST_F(DocumentControllerTest, SaveOfTitledSheetWithoutWorkersWritesThreeRecords)
{
    makeFile(path("two.Lvo"), "2019.03", 2);
    prompts.expectOpenFile(path("two.Lvo"));
    ASSERT_TRUE(controller->HFileOpenClick());
    sheet.table.DeleteAllRows();
    controller->SetSheetModified(true);

    EXPECT_TRUE(controller->SaveBtnClick());
    EXPECT_EQ(fileBytes(path("two.Lvo")).size(), 3 * 344);
    EXPECT_FALSE(controller->SheetModified());
}

TEST_F(DocumentControllerTest, SaveAndSaveAsOfUntitledEmptySheetDoNothing)
{
    view.boxes.gsName = K("입력만 한 현장");
    controller->SetSheetModified(true);

    EXPECT_FALSE(controller->SaveBtnClick());
    EXPECT_FALSE(controller->RnameBtnClick());

    EXPECT_TRUE(prompts.dialogs.empty());
    EXPECT_FALSE(view.called(QStringLiteral("showWait: 파일을 읽고 있습니다. 잠시만...")));
    EXPECT_TRUE(controller->IsUntitled());
    EXPECT_TRUE(controller->SheetModified());
}

TEST_F(DocumentControllerTest, SaveAsShowsTheFileAsItIsNamedAndSaveWritesThere)
{
    const QString chosen = path("Data/현장A.Lvo");
    ASSERT_TRUE(QDir().mkpath(path("Data")));
    addWorker("홍길동");
    saveAs(chosen);

    EXPECT_EQ(controller->SheetFileName(), chosen);
    // The label names the file that is there, capitals and all, not a lower-cased path.
    EXPECT_EQ(view.fileLabel, labelFor(chosen));
    EXPECT_TRUE(QFile::exists(view.fileLabel.mid(labelFor(QString()).size())));
    EXPECT_FALSE(controller->SheetModified());

    addWorker("김철수");
    EXPECT_TRUE(controller->SaveBtnClick());
    EXPECT_EQ(fileBytes(chosen).size(), 5 * 344);
    EXPECT_FALSE(QFile::exists(chosen.toLower()));
    EXPECT_EQ(view.fileLabel, labelFor(chosen));
}

TEST_F(DocumentControllerTest, WorkFolderFollowsSaveButNotOpen)
{
    const std::string defaultFolder = QDir::cleanPath(GetWorkFolder(QString::fromLatin1(kIniFileName))).toStdString();
    EXPECT_EQ(defaultFolder, QDir::cleanPath(path("Work")).toStdString());
    makeFile(path("Elsewhere/old.Lvo"), "2019.03", 1);

    prompts.expectOpenFile(path("Elsewhere/old.Lvo"));
    ASSERT_TRUE(controller->HFileOpenClick());
    EXPECT_EQ(iniWorkFolder(), defaultFolder);

    EXPECT_TRUE(controller->SaveBtnClick());
    EXPECT_EQ(iniWorkFolder(), QDir::cleanPath(path("Elsewhere")).toStdString());
    EXPECT_EQ(QDir::currentPath(), QDir(path("Elsewhere")).canonicalPath());
}

TEST_F(DocumentControllerTest, FileOfAnEarlierMonthIsSavedWithThatMonth)
{
    makeFile(path("march.Lvo"), "2019.03", 2);
    prompts.expectOpenFile(path("march.Lvo"));
    ASSERT_TRUE(controller->HFileOpenClick());
    ASSERT_NE(sheet.period, "2019.03");
    view.boxes.gsName = K("새 현장");   // typed after opening: Save takes the boxes as they are

    saveAs(path("copy.Lvo"));

    const QByteArray bytes = fileBytes(path("copy.Lvo"));
    ASSERT_EQ(bytes.size(), 5 * 344);
    for (int record = 0; record < 5; ++record) {
        SCOPED_TRACE(record);
        EXPECT_EQ(bytes.mid(record * 344 + 12, 8), QByteArray("\x07" "2019.03"));
    }
    const std::string siteName = K("새 현장");
    EXPECT_EQ(bytes.mid(67, 1 + int(siteName.size())),
              QByteArray(1, char(siteName.size())) + QByteArray::fromStdString(siteName));
    EXPECT_EQ(sheet.period, "2019.03");
}

TEST_F(DocumentControllerTest, FailedSaveAsKeepsTheOldFileTheNameAndTheFlag)
{
    ASSERT_TRUE(QFile(path("plain.txt")).open(QIODevice::WriteOnly));
    addWorker("홍길동");
    saveAs(path("Good.Lvo"));
    const QByteArray oldFile = fileBytes(path("Good.Lvo"));
    addWorker("김철수");

    prompts.expectSaveFile(path("plain.txt/new.Lvo"));
    prompts.expectError();
    EXPECT_FALSE(controller->RnameBtnClick());

    EXPECT_EQ(fileBytes(path("Good.Lvo")), oldFile);
    EXPECT_EQ(controller->SheetFileName(), path("Good.Lvo"));
    EXPECT_EQ(view.fileLabel, labelFor(path("Good.Lvo")));
    EXPECT_TRUE(controller->SheetModified());
    expectWaitClosedAndViewsLive();
}

TEST_F(DocumentControllerTest, FailedSaveKeepsTheFlag)
{
    ASSERT_TRUE(QDir().mkpath(path("gone")));
    addWorker("홍길동");
    saveAs(path("gone/site.Lvo"));
    // The folder is replaced by a plain file, so nothing can be written there any more.
    ASSERT_TRUE(QDir(path("gone")).removeRecursively());
    ASSERT_TRUE(QFile(path("gone")).open(QIODevice::WriteOnly));
    addWorker("김철수");

    prompts.expectError();
    EXPECT_FALSE(controller->SaveBtnClick());

    EXPECT_EQ(controller->SheetFileName(), path("gone/site.Lvo"));
    EXPECT_TRUE(controller->SheetModified());
    EXPECT_EQ(sheet.table.RecordCount(), 2);
    EXPECT_TRUE(view.called(QStringLiteral("hideWait")));
    expectWaitClosedAndViewsLive();
}

// Another program (or lavodc-cli import) changed the file after it was opened or saved here:
// Save asks before it replaces that work. No leaves the file and the unsaved sheet as they are.
TEST_F(DocumentControllerTest, SaveAsksBeforeReplacingAFileAnotherProgramChanged)
{
    const QString question = QStringLiteral("다른 프로그램이 이 파일을 바꾸었습니다.\n덮어쓰시겠습니까?");
    makeFile(path("site.Lvo"), "2024.05", 2);
    prompts.expectOpenFile(path("site.Lvo"));
    ASSERT_TRUE(controller->HFileOpenClick());
    addWorker("홍길동");
    makeFile(path("site.Lvo"), "2024.06", 5);   // the other program's work
    const QByteArray theirs = fileBytes(path("site.Lvo"));

    prompts.expectConfirm(false);
    EXPECT_FALSE(controller->SaveBtnClick());
    EXPECT_EQ(prompts.texts, std::vector<QString>{question});
    EXPECT_EQ(fileBytes(path("site.Lvo")), theirs);
    EXPECT_TRUE(controller->SheetModified());
    EXPECT_EQ(sheet.table.RecordCount(), 3);

    // Yes replaces it; the file is then this sheet's again and the next Save asks nothing.
    prompts.expectConfirm(true);
    EXPECT_TRUE(controller->SaveBtnClick());
    EXPECT_EQ(fileBytes(path("site.Lvo")).size(), 344 * (3 + 3));
    EXPECT_FALSE(controller->SheetModified());
    addWorker("김철수");
    EXPECT_TRUE(controller->SaveBtnClick());

    // Only touched, or put back as it was: the same bytes, no question.
    const QByteArray ours = fileBytes(path("site.Lvo"));
    QFile touched(path("site.Lvo"));
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime));
    touched.close();
    addWorker("이영희");
    EXPECT_TRUE(controller->SaveBtnClick());
    EXPECT_NE(fileBytes(path("site.Lvo")), ours);
    EXPECT_TRUE(prompts.allAnswered());
}

// The question comes also when the save is the Yes of the save question: No there keeps the sheet.
TEST_F(DocumentControllerTest, NoToTheChangedFileQuestionStopsNewToo)
{
    addWorker("홍길동");
    saveAs(path("site.Lvo"));
    addWorker("김철수");
    makeFile(path("site.Lvo"), "2024.06", 1);
    const QByteArray theirs = fileBytes(path("site.Lvo"));

    prompts.expectSaveQuestion(SaveAnswer::Yes);
    prompts.expectConfirm(false);
    EXPECT_FALSE(controller->NewFileClick());
    EXPECT_EQ(prompts.texts.size(), 2u);
    EXPECT_EQ(fileBytes(path("site.Lvo")), theirs);
    EXPECT_EQ(sheet.table.RecordCount(), 2);
    EXPECT_EQ(controller->SheetFileName(), path("site.Lvo"));
    EXPECT_TRUE(controller->SheetModified());
}

TEST_F(DocumentControllerTest, NewWithoutTheWorkingCopyShowsTheTableError)
{
    ASSERT_TRUE(QFile::remove(workingCopy()));
    prompts.expectError();
    EXPECT_FALSE(controller->NewFileClick());
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors.front().contains(QStringLiteral("TmpLdoc.cds")));
    EXPECT_TRUE(controller->IsUntitled());
}

} // namespace
} // namespace lavodc
