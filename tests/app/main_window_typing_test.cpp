// Typing into the header as clerks type: hyphens in numbers, telephones in every style,
// pastes, Alt with a letter; and what a saved sheet gives back.
#include "app/main_window.h"

#include "app/working_copy.h"
#include "app_test_folder.h"
#include "core/cp949.h"
#include "editing/masked_line_edit.h"
#include "editing/worker_list_view.h"
#include "scripted_prompts.h"
#include "tests/editing/editing_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace lavodc {
namespace {

using testing::ScriptedPrompts;
using testing::ScratchProgramFolder;

class HeaderTypingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorkerTable::WriteStructure(TemplatePath(folder.path()).toStdString());
        window = std::make_unique<Tmainf>(prompts, folder.path());
        window->show();
        window->activateWindow();
        // Leave checks run on focus changes, which an inactive window does not get.
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    Tmainf& w() { return *window; }

    void typeInto(QLineEdit* box, const QString& keys)
    {
        box->setFocus();
        box->selectAll();
        box->del();
        box->home(false);
        QTest::keyClicks(box, keys);
    }

    void paste(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }

    ScratchProgramFolder folder;
    ScriptedPrompts prompts;
    std::unique_ptr<Tmainf> window;
};

TEST_F(HeaderTypingTest, TheManagersNumberTypedWithItsHyphenIsTheNumber)
{
    typeInto(w().MgrJmnNo, QStringLiteral("881130-2123458"));
    EXPECT_EQ(w().MgrJmnNo->maskedBytes(), "881130-2123458");
    // A correct number leaves the box without a question.
    QTest::keyClick(w().MgrJmnNo, Qt::Key_Return);
    EXPECT_TRUE(w().cmpAddr->hasFocus());
    EXPECT_TRUE(prompts.texts.empty());

    w().MgrJmnNo->setMaskedBytes("");
    w().MgrJmnNo->home(false);
    paste(w().MgrJmnNo, QStringLiteral("8811302123458"));
    EXPECT_EQ(w().MgrJmnNo->maskedBytes(), "881130-2123458");
}

TEST_F(HeaderTypingTest, AltWithALetterTypesNothingInTheHeader)
{
    const auto pressAltLetters = [](QLineEdit* box) {
        box->setFocus();
        for (Qt::Key letter : {Qt::Key_E, Qt::Key_R, Qt::Key_X})
            QTest::keyClick(box, letter, Qt::AltModifier);
    };
    for (QLineEdit* box : {w().gsName, w().cmpAddr, w().cmpTel, w().cmpName}) {
        pressAltLetters(box);
        EXPECT_EQ(box->text(), QString()) << box->objectName().toStdString();
    }
    pressAltLetters(w().MgrJmnNo);
    EXPECT_EQ(w().MgrJmnNo->maskedBytes(), "      -       ");
}

TEST_F(HeaderTypingTest, TheSiteTelephoneTakesOnlyDigitsAndHyphensFromAPaste)
{
    paste(w().cmpTel, QStringLiteral("tel. 02-555-1234"));
    EXPECT_EQ(w().cmpTel->text(), QStringLiteral("02-555-1234"));
    // A paste too long for the stored form keeps what fits.
    w().cmpTel->clear();
    paste(w().cmpTel, QStringLiteral("0212345678901234567"));
    EXPECT_FALSE(w().cmpTel->text().isEmpty());
    EXPECT_TRUE(QStringLiteral("0212345678901234567").startsWith(w().cmpTel->text()));
}

struct SiteTelephoneCase {
    const char* typed;
    const char* shown;   // after leaving the box, and after saving and opening again
};

void PrintTo(const SiteTelephoneCase& c, std::ostream* os) { *os << '"' << c.typed << '"'; }

class SiteTelephoneTest : public HeaderTypingTest, public ::testing::WithParamInterface<SiteTelephoneCase> {};

TEST_P(SiteTelephoneTest, ComesBackFromTheFileAsItWasTypedOrSplit)
{
    typeInto(w().cmpTel, QString::fromUtf8(GetParam().typed));
    QTest::keyClick(w().cmpTel, Qt::Key_Return);
    EXPECT_EQ(w().cmpTel->text().toStdString(), GetParam().shown);

    testing::AddThreeWorkers(w().sheet().table);
    const QString path = folder.path() + QStringLiteral("site.Lvo");
    prompts.expectSaveFile(path);
    w().saveSheet();
    w().cmpTel->clear();
    w().controller().SetSheetModified(false);
    prompts.expectOpenFile(path);
    w().openSheet();
    EXPECT_EQ(w().cmpTel->text().toStdString(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Typed, SiteTelephoneTest, ::testing::Values(
    SiteTelephoneCase{"02-555-1234", "02-555-1234"},
    SiteTelephoneCase{"042-123-4567", "042-123-4567"},
    SiteTelephoneCase{"0255512345", "02-5551-2345"},
    SiteTelephoneCase{"01098765432", "010-9876-5432"},
    SiteTelephoneCase{"1588-1234", "1588-1234"}));

TEST_F(HeaderTypingTest, TheWorkerListShowsItsWidestValuesWhole)
{
    WorkerTable& table = w().sheet().table;
    for (int i = 0; i < 12; ++i) {
        table.Append();
        table.SetFieldText("pName", i % 2 ? K("남궁민수철") : std::string("WWWWWWWWWW"));
        table.SetFieldText("JmnNo", "881130-2123458");
        table.SetFieldText("nTel", "(010)9876-5432");
        table.SetFieldFloat("nNal", 31);
        table.SetFieldFloat("nDay", 7.25);
        table.SetFieldFloat("SmMny", 999999999999.0);
        table.Post();
    }
    WorkerListView* list = w().WorkerList;
    QApplication::processEvents();
    for (int column : {0, 1, 3, 5, 6, 7}) {
        SCOPED_TRACE(column);
        EXPECT_LE(static_cast<QAbstractItemView*>(list)->sizeHintForColumn(column), list->columnWidth(column));
        EXPECT_LE(list->horizontalHeader()->sectionSizeHint(column), list->columnWidth(column));
    }
    // The address and the reason keep their widths.
    EXPECT_EQ(list->columnWidth(2), 310);
    EXPECT_EQ(list->columnWidth(8), 170);
    // Row numbers up to 12 show whole.
    const QFontMetrics numbers(list->verticalHeader()->font());
    EXPECT_GE(list->verticalHeader()->width(), numbers.horizontalAdvance(QStringLiteral("12")) + 4);
}

} // namespace
} // namespace lavodc
