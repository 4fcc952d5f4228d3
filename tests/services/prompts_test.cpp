// The error box's text, and how the Qt prompts set up their dialogs (never run here).
#include "services/qt_prompts.h"
#include "services/qt_translation.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QRegularExpression>
#include <QLabel>
#include <QLibraryInfo>
#include <QTranslator>
#include <QPushButton>
#include <QLineEdit>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace lavodc {
namespace {

TEST(ErrorBoxText, AddsAFullStopOnlyWhenMissing)
{
    const struct {
        const char* given;
        const char* shown;
    } cases[] = {
        {"Cannot open file", "Cannot open file."},
        {"Cannot open file.", "Cannot open file."},
        {"파일을 열 수 없습니다", "파일을 열 수 없습니다."},
        {"Unable to write to /a/b.ini", "Unable to write to /a/b.ini."},
        {"Disk full!", "Disk full!."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorBoxText(QString::fromUtf8(c.given)), QString::fromUtf8(c.shown)) << c.given;
}

TEST(QtPrompts, InfoBox)
{
    auto box = QtPrompts::makeInfoBox(nullptr, QStringLiteral("인쇄할 자료가 없습니다."));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Information"));
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(box->text(), QStringLiteral("인쇄할 자료가 없습니다."));
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
}

TEST(QtPrompts, ConfirmBoxDefaultsToYesAndEscapesToNo)
{
    auto box = QtPrompts::makeConfirmBox(nullptr, QStringLiteral("삭제하시겠습니까?"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Confirm"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
    EXPECT_FALSE(QtPrompts::confirmAnswer(*box));   // closed without a click

    // Clicking a button records it without closing a box that is not running.
    box->button(QMessageBox::Yes)->click();
    EXPECT_TRUE(QtPrompts::confirmAnswer(*box));
    box->button(QMessageBox::No)->click();
    EXPECT_FALSE(QtPrompts::confirmAnswer(*box));
}

TEST(QtPrompts, SaveQuestionOffersYesNoCancelAndClosingCancels)
{
    const QString text = QStringLiteral("자료내용이 변경되었습니다.\r저장하시겠습니까?");
    auto box = QtPrompts::makeSaveChangesBox(nullptr, text);
    EXPECT_EQ(box->text(), text);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::Cancel));
    EXPECT_EQ(QtPrompts::saveChangesAnswer(*box), SaveAnswer::Cancel);

    const struct {
        QMessageBox::StandardButton button;
        SaveAnswer answer;
    } clicks[] = {{QMessageBox::Yes, SaveAnswer::Yes}, {QMessageBox::No, SaveAnswer::No},
                  {QMessageBox::Cancel, SaveAnswer::Cancel}};
    for (const auto& c : clicks) {
        box->button(c.button)->click();
        EXPECT_EQ(QtPrompts::saveChangesAnswer(*box), c.answer);
    }
}

TEST(QtPrompts, ErrorBoxHasTheProgramCaptionAndAStopIcon)
{
    auto box = QtPrompts::makeErrorBox(nullptr, QStringLiteral("Cannot open file \"<a>.Lvo\""));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("근로내역확인서"));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->text(), QStringLiteral("Cannot open file \"<a>.Lvo\"."));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);   // a name with '<' is shown as it is
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
}

TEST(QtPrompts, PlainBoxHasNoIcon)
{
    auto box = QtPrompts::makePlainBox(nullptr, QStringLiteral("근로내역확인서"), QStringLiteral("실행 중입니다."));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("근로내역확인서"));
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
}

class FileDialogs : public ::testing::Test {
protected:
    FileDialogRequest request() const
    {
        return {QStringLiteral("파일명을 확인하세요."), QStringLiteral("근로내역확인신고서 (*.Lvo)"),
                QStringLiteral("Lvo"), QStringLiteral("이름없음.Lvo"), QDir::tempPath()};
    }
};

TEST_F(FileDialogs, OpenDialogTakesNamesOfMissingFiles)
{
    auto dialog = QtPrompts::makeFileDialog(nullptr, request(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("파일명을 확인하세요."));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("근로내역확인신고서 (*.Lvo)")});
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("Lvo"));
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
}

TEST_F(FileDialogs, SaveDialogAsksBeforeReplacing)
{
    auto dialog = QtPrompts::makeFileDialog(nullptr, request(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("Lvo"));
    // The proposed name stands in the name field.
    const auto fields = dialog->findChildren<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_EQ(fields.size(), 1);
    EXPECT_EQ(fields.front()->text(), QStringLiteral("이름없음.Lvo"));
}

TEST_F(FileDialogs, ProposedPathChoosesItsOwnFolder)
{
    QDir folder(QDir::tempPath());
    folder.mkpath(QStringLiteral("h4-prompts-test"));
    FileDialogRequest r = request();
    r.proposedName = folder.filePath(QStringLiteral("h4-prompts-test/현장.Lvo"));
    auto dialog = QtPrompts::makeFileDialog(nullptr, r, QFileDialog::AcceptSave);
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(),
              QDir(folder.filePath(QStringLiteral("h4-prompts-test"))).canonicalPath());
    folder.rmdir(QStringLiteral("h4-prompts-test"));
}

// Qt's Korean translation as the program loads it at start, removed again afterwards.
class UnderKoreanQt : public ::testing::Test {
protected:
    void SetUp() override
    {
        translator = InstallQtKoreanTranslation(*QCoreApplication::instance());
        ASSERT_NE(translator, nullptr) << "qtbase_ko.qm is missing from "
                                       << QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString();
    }
    void TearDown() override
    {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

    static QString buttonText(QMessageBox& box, QMessageBox::StandardButton button)
    {
        QAbstractButton* b = box.button(button);
        return b ? b->text() : QStringLiteral("<none>");
    }

    QTranslator* translator = nullptr;
};

TEST_F(UnderKoreanQt, TheSaveQuestionSpeaksKoreanWhileTheProgramsOwnBoxesKeepTheirTexts)
{
    auto question = QtPrompts::makeSaveChangesBox(nullptr, QStringLiteral("자료내용이 변경되었습니다."));
    EXPECT_EQ(buttonText(*question, QMessageBox::Cancel), QStringLiteral("취소"));
    EXPECT_NE(buttonText(*question, QMessageBox::Yes), QStringLiteral("&Yes"));

    auto confirm = QtPrompts::makeConfirmBox(nullptr, QStringLiteral("삭제하시겠습니까?"));
    EXPECT_EQ(confirm->windowTitle(), QStringLiteral("Confirm"));
    EXPECT_EQ(buttonText(*confirm, QMessageBox::Yes), QStringLiteral("&Yes"));
    EXPECT_EQ(buttonText(*confirm, QMessageBox::No), QStringLiteral("&No"));

    auto info = QtPrompts::makeInfoBox(nullptr, QStringLiteral("인쇄할 자료가 없습니다."));
    EXPECT_EQ(info->windowTitle(), QStringLiteral("Information"));
    EXPECT_EQ(buttonText(*info, QMessageBox::Ok), QStringLiteral("OK"));

    auto error = QtPrompts::makeErrorBox(nullptr, QStringLiteral("Cannot open file"));
    EXPECT_EQ(error->windowTitle(), QStringLiteral("근로내역확인서"));
    EXPECT_EQ(buttonText(*error, QMessageBox::Ok), QStringLiteral("OK"));
}

TEST_F(UnderKoreanQt, TheFileDialogsSpeakKorean)
{
    const FileDialogRequest request{QStringLiteral("파일명을 확인하세요."), QStringLiteral("근로내역확인신고서 (*.Lvo)"),
                                    QStringLiteral("Lvo"), QStringLiteral("이름없음.Lvo"), QDir::tempPath()};
    auto dialog = QtPrompts::makeFileDialog(nullptr, request, QFileDialog::AcceptOpen);
    const auto boxes = dialog->findChildren<QDialogButtonBox*>();
    ASSERT_EQ(boxes.size(), 1);
    QPushButton* cancel = boxes.front()->button(QDialogButtonBox::Cancel);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("취소"));
    const auto lookIn = dialog->findChildren<QLabel*>(QStringLiteral("lookInLabel"));
    ASSERT_EQ(lookIn.size(), 1);
    EXPECT_NE(lookIn.front()->text(), QStringLiteral("Look in:"));
    // The title is the program's own.
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("파일명을 확인하세요."));
}

TEST_F(UnderKoreanQt, TheQuestionBeforeReplacingAFileIsKorean)
{
    const QString asked = QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?");
    EXPECT_NE(asked, QStringLiteral("%1 already exists.\nDo you want to replace it?"));
    EXPECT_TRUE(asked.contains(QStringLiteral("%1")));
    EXPECT_TRUE(asked.contains(QRegularExpression(QStringLiteral("[가-힣]"))));
}

} // namespace
} // namespace lavodc
