// The worker entry page: defaults, preselection, refusals and the stored row.
#include "editing/entry_page.h"

#include "core/quorva_lib.h"
#include "core/worker_entry_lists.h"
#include "editing/input_dialog.h"
#include "editing/masked_line_edit.h"
#include "editing/number_box.h"
#include "editing/worker_commands.h"
#include "editing_fixture.h"
#include "tests/app/scripted_prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace lavodc {
namespace {

class EntryPageTest : public ::testing::Test {
protected:
    void SetUp() override { testing::AddThreeWorkers(table); }

    WorkerEntryPage& open(bool modify)
    {
        page = new WorkerEntryPage(frame, table, prompts, "2026.11", [this] { ++modifiedCalls; });
        if (modify)
            page->prepareModify();
        else
            page->prepareAdd();
        frame.show();
        return *page;
    }

    WorkerTable table;
    testing::ScriptedPrompts prompts;
    TInPutf frame{nullptr};
    WorkerEntryPage* page = nullptr;
    int modifiedCalls = 0;
};

TEST_F(EntryPageTest, AddModeStartsWithTheDefaults)
{
    WorkerEntryPage& p = open(false);
    EXPECT_EQ(frame.mode, TInPutf::AddMode);
    EXPECT_EQ(p.CmbnName->currentIndex(), 0);
    EXPECT_EQ(p.CmbnEtc->currentIndex(), 0);
    EXPECT_EQ(p.CmbnName->count(), 30);
    EXPECT_EQ(p.CmbnName->maxVisibleItems(), 30);
    EXPECT_EQ(p.CmbnName->itemText(0), QStringLiteral("1.고위임원&관리자"));
    EXPECT_EQ(p.CmbnEtc->count(), 4);
    EXPECT_TRUE(p.EdtpName->text().isEmpty());
    EXPECT_EQ(p.EdtJmnNo->maskedBytes(), "      -       ");
    EXPECT_EQ(p.EdtnDay->value(), 8);
    EXPECT_EQ(p.EdtSmMny->value(), 0);
}

TEST_F(EntryPageTest, AddStoresTheRowFieldByField)
{
    WorkerEntryPage& p = open(false);
    p.EdtpName->setText(QStringLiteral("최신입"));
    p.EdtJmnNo->setMaskedBytes("800101-1000001");
    p.CmbnName->setCurrentIndex(15);
    p.EdtnDay->setValue(7.5);
    p.EdtSmMny->setValue(1234567);
    p.EdtnTel->setText(QStringLiteral("010-1234-5678-9999   "));   // 21 characters, cut to 15
    p.EdtnAddr->setText(QStringLiteral("대전광역시 서구"));
    p.CmbnEtc->setCurrentIndex(2);
    ASSERT_TRUE(p.mOk0Click());

    EXPECT_EQ(modifiedCalls, 1);
    EXPECT_EQ(frame.result(), QDialog::Accepted);
    ASSERT_EQ(table.RecordCount(), 4);
    ASSERT_EQ(table.FieldText("pName"), K("최신입"));
    const WorkerRow& row = table.CurrentRow();
    EXPECT_EQ(row.HCODE, 1);
    EXPECT_EQ(row.SCODE, 1);
    EXPECT_EQ(row.LCODE, 1);
    EXPECT_EQ(row.cDate, "2026.11");
    EXPECT_EQ(row.JmnNo, "800101-1000001");
    EXPECT_EQ(row.nName, K("G.목공"));
    EXPECT_EQ(row.nAddr, K("대전광역시 서구"));
    EXPECT_EQ(row.nTel, BracketPhone("010-1234-5678-9", 3));
    EXPECT_EQ(row.nEtc, K("2.부득이한 개인사정"));
    EXPECT_EQ(row.nNal, 0);
    EXPECT_EQ(row.nDay, 7.5);
    EXPECT_EQ(row.SmMny, 1234567);
    for (const std::string& day : row.days)
        EXPECT_TRUE(day.empty());
}

TEST_F(EntryPageTest, RefusalsKeepTheDialogOpenWithWhatWasTyped)
{
    WorkerEntryPage& p = open(false);
    prompts.expectInfo();
    EXPECT_FALSE(p.mOk0Click());
    EXPECT_EQ(prompts.texts.back(), QStringLiteral(" 성명이 입력되지 않았습니다."));

    // A name of one blank is a name; the number of another worker is not free.
    p.EdtpName->setText(QStringLiteral(" "));
    p.EdtJmnNo->setMaskedBytes("750505-1234567");
    prompts.expectInfo();
    EXPECT_FALSE(p.mOk0Click());
    EXPECT_EQ(prompts.texts.back(), QStringLiteral("이미 투입되어 있는 주민등록번호입니다."));
    EXPECT_EQ(p.EdtJmnNo->maskedBytes(), "750505-1234567");
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(modifiedCalls, 0);
    EXPECT_NE(frame.result(), QDialog::Accepted);
}

TEST_F(EntryPageTest, ABlankNumberIsStoredAsBlanksAndRefusedTheSecondTime)
{
    for (int round = 0; round < 2; ++round) {
        WorkerEntryPage& p = open(false);
        p.EdtpName->setText(QStringLiteral("무번호"));
        if (round == 1)
            prompts.expectInfo();
        EXPECT_EQ(p.mOk0Click(), round == 0);
        delete page;
    }
    EXPECT_EQ(table.RecordCount(), 4);
    table.First();
    bool found = false;
    for (int i = 0; i < table.RecordCount(); ++i)
        found = found || table.RowAt(i).JmnNo == "      -       ";
    EXPECT_TRUE(found);
}

TEST_F(EntryPageTest, ModifyKeepsTheNumberWithoutTheDuplicateQuestionButRefusesAnother)
{
    table.First();   // 김철수
    WorkerEntryPage& p = open(true);
    EXPECT_EQ(frame.mode, TInPutf::ModifyMode);
    EXPECT_EQ(p.EdtpName->text(), QStringLiteral("김철수"));
    EXPECT_EQ(p.EdtJmnNo->maskedBytes(), "750505-1234567");
    p.EdtJmnNo->setMaskedBytes("850101-1234566");   // 박영희's
    prompts.expectInfo();
    EXPECT_FALSE(p.mOk0Click());
    p.EdtJmnNo->setMaskedBytes("750505-1234567");
    p.EdtSmMny->setValue(50000);
    ASSERT_TRUE(p.mOk0Click());
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(table.FieldText("pName"), K("김철수"));
    EXPECT_EQ(table.FieldFloat("SmMny"), 50000);
}

TEST_F(EntryPageTest, ModifyKeepsTheDaysAndTheirCount)
{
    table.First();
    table.Edit();
    table.SetFieldText("d01", std::string(kDayMark));
    table.Post();
    table.RecountDays();
    WorkerEntryPage& p = open(true);
    ASSERT_TRUE(p.mOk0Click());
    EXPECT_EQ(table.FieldText("d01"), kDayMark);
    EXPECT_EQ(table.FieldFloat("nNal"), 1);
}

struct PreselectCase {
    const char* nName;   // UTF-8
    const char* nEtc;
    int job;
    int reason;
};

class PreselectTest : public EntryPageTest, public ::testing::WithParamInterface<PreselectCase> {};

TEST_P(PreselectTest, ModifyPicksTheListEntriesFromTheStoredTexts)
{
    table.First();
    table.Edit();
    table.SetFieldText("nName", K(GetParam().nName));
    table.SetFieldText("nEtc", K(GetParam().nEtc));
    table.Post();
    WorkerEntryPage& p = open(true);
    EXPECT_EQ(p.CmbnName->currentIndex(), GetParam().job);
    EXPECT_EQ(p.CmbnEtc->currentIndex(), GetParam().reason);
    // Confirming stores the picked entries.
    ASSERT_TRUE(p.mOk0Click());
    EXPECT_EQ(table.FieldText("nName"), JobEntries()[std::size_t(GetParam().job)]);
    EXPECT_EQ(table.FieldText("nEtc"), ReasonEntries()[std::size_t(GetParam().reason)].stored);
}

INSTANTIATE_TEST_SUITE_P(StoredTexts, PreselectTest, ::testing::Values(
    PreselectCase{"9.단순노무직근로자", "", 8, 0},
    PreselectCase{" C.경량철골공", "2.부득이한 개인사정", 11, 2},
    PreselectCase{"목공", "  3", 29, 3},
    PreselectCase{"V", "1.회사사정에 의한 이직", 29, 1},
    PreselectCase{"0", "이직", 29, 0},
    PreselectCase{"", "4", 29, 0}));

TEST_F(EntryPageTest, NameAndAddressBoxesCountBytesAlsoWhileComposing)
{
    WorkerEntryPage& p = open(false);
    p.EdtpName->setFocus();
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("가나다라"));   // 8 bytes
    QCoreApplication::sendEvent(p.EdtpName, &typed);
    // A composed syllable that fits is committed; the next one no longer fits.
    QInputMethodEvent composing(QStringLiteral("마"), {});
    QCoreApplication::sendEvent(p.EdtpName, &composing);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("마"));
    QCoreApplication::sendEvent(p.EdtpName, &commit);
    EXPECT_EQ(p.EdtpName->text(), QStringLiteral("가나다라마"));
    QInputMethodEvent tooMuch;
    tooMuch.setCommitString(QStringLiteral("바"));
    QCoreApplication::sendEvent(p.EdtpName, &tooMuch);
    QTest::keyClicks(p.EdtpName, QStringLiteral("x"));
    EXPECT_EQ(p.EdtpName->text(), QStringLiteral("가나다라마"));

    // Latin letters are one byte each: ten of them fit.
    p.EdtpName->clear();
    QTest::keyClicks(p.EdtpName, QStringLiteral("abcdefghijkl"));
    EXPECT_EQ(p.EdtpName->text(), QStringLiteral("abcdefghij"));

    p.EdtnAddr->setText(QString(34, QChar(u'가')) + QStringLiteral("a"));   // 69 bytes
    QInputMethodEvent addressCommit;
    addressCommit.setCommitString(QStringLiteral("나"));
    QCoreApplication::sendEvent(p.EdtnAddr, &addressCommit);
    EXPECT_EQ(p.EdtnAddr->text().size(), 35);
}

TEST_F(EntryPageTest, AComposedNameIsNotLostWhenEnterMovesOn)
{
    WorkerEntryPage& p = open(false);
    p.EdtpName->setFocus();
    QInputMethodEvent composing(QStringLiteral("홍"), {});
    QCoreApplication::sendEvent(p.EdtpName, &composing);
    QTest::keyClick(p.EdtpName, Qt::Key_Return);
    EXPECT_EQ(p.EdtpName->text(), QStringLiteral("홍"));
}

TEST_F(EntryPageTest, ListsDiscardTypingAndTheTelephoneDropsBrackets)
{
    WorkerEntryPage& p = open(false);
    p.CmbnName->setFocus();
    QTest::keyClicks(p.CmbnName, QStringLiteral("G"));
    EXPECT_EQ(p.CmbnName->currentIndex(), 0);
    QTest::keyClicks(p.EdtnTel, QStringLiteral("(02)123"));
    EXPECT_EQ(p.EdtnTel->text(), QStringLiteral("02123"));
}

TEST_F(EntryPageTest, AFailingNumberAsksOnLeaving)
{
    WorkerEntryPage& p = open(false);
    p.EdtJmnNo->setMaskedBytes("800101-1234567");
    prompts.expectConfirm(false);
    EXPECT_FALSE(p.EdtJmnNoExit());
    EXPECT_EQ(prompts.texts.back(), QStringLiteral("올바르지 못한 주민등록입니다. 허용하시겠습니까?"));
    prompts.expectConfirm(true);
    EXPECT_TRUE(p.EdtJmnNoExit());
    // A valid and a blank number pass without a question.
    p.EdtJmnNo->setMaskedBytes("850101-1234566");
    EXPECT_TRUE(p.EdtJmnNoExit());
    p.EdtJmnNo->setMaskedBytes("");
    EXPECT_TRUE(p.EdtJmnNoExit());
}

TEST_F(EntryPageTest, UnlikelyAmountsAreStoredOnlyWhenTheClerkSaysSo)
{
    WorkerEntryPage& p = open(false);
    p.EdtpName->setText(QStringLiteral("최신입"));
    p.EdtSmMny->setValue(24000002600000.0);   // 2600000 typed after 2,400,000
    prompts.expectConfirm(false);
    EXPECT_FALSE(p.mOk0Click());
    EXPECT_EQ(prompts.texts.back(), QStringLiteral("임금총액이 100,000,000원을 넘습니다. 맞습니까?"));
    EXPECT_EQ(table.RecordCount(), 3);

    p.EdtSmMny->setValue(100000000);   // the limit itself is no question
    p.EdtnDay->setValue(75);
    prompts.expectConfirm(false);
    EXPECT_FALSE(p.mOk0Click());
    EXPECT_EQ(prompts.texts.back(), QStringLiteral("일 평균 근로시간이 24시간을 넘습니다. 맞습니까?"));

    // Asked once each, a yes stores the row.
    p.EdtSmMny->setValue(150000000);
    prompts.expectConfirm(true);
    prompts.expectConfirm(true);
    ASSERT_TRUE(p.mOk0Click());
    EXPECT_EQ(table.FieldFloat("SmMny"), 150000000);
    EXPECT_EQ(table.FieldFloat("nDay"), 75);
}

struct PhoneCase {
    const char* typed;
    const char* stored;
};

class EntryPhoneTest : public EntryPageTest, public ::testing::WithParamInterface<PhoneCase> {};

TEST_P(EntryPhoneTest, TelephonesAreStoredSplitByTheNumberingPlan)
{
    WorkerEntryPage& p = open(false);
    p.EdtpName->setText(QStringLiteral("최신입"));
    p.EdtnTel->setFocus();
    QGuiApplication::clipboard()->setText(QString::fromUtf8(GetParam().typed));
    QTest::keyClick(p.EdtnTel, Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(p.mOk0Click());
    EXPECT_EQ(table.FieldText("nTel"), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Typed, EntryPhoneTest, ::testing::Values(
    PhoneCase{"(010)4444-5555", "(010)4444-5555"},
    PhoneCase{"01098765432", "(010)9876-5432"},
    PhoneCase{"010 9876 5432", "(010)9876-5432"},
    PhoneCase{"02.555.1234", "( 02) 555-1234"},
    PhoneCase{"042-123-4567", "(042) 123-4567"},
    PhoneCase{"15881234", "(1588)    -1234"},
    PhoneCase{"12345", "12345"}));   // not a number of the plan: as typed

TEST_F(EntryPageTest, ModifyShowsTheTelephoneAsItWasTyped)
{
    table.First();
    table.Edit();
    table.SetFieldText("nTel", "( 02) 555-1234");
    table.Post();
    WorkerEntryPage& p = open(true);
    EXPECT_EQ(p.EdtnTel->text(), QStringLiteral("02-555-1234"));
    ASSERT_TRUE(p.mOk0Click());
    EXPECT_EQ(table.FieldText("nTel"), "( 02) 555-1234");
}

TEST_F(EntryPageTest, LeavingTheTelephoneShowsItSplit)
{
    WorkerEntryPage& p = open(false);
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    p.EdtnTel->setFocus();
    QTest::keyClicks(p.EdtnTel, QStringLiteral("01098765432"));
    QTest::keyClick(p.EdtnTel, Qt::Key_Return);
    EXPECT_EQ(p.EdtnTel->text(), QStringLiteral("010-9876-5432"));
}

TEST_F(EntryPageTest, AltLettersTypeNothingAlsoWhileComposing)
{
    WorkerEntryPage& p = open(false);
    p.EdtpName->setFocus();
    QTest::keyClick(p.EdtpName, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(p.EdtpName->text().isEmpty());
    QInputMethodEvent composing(QStringLiteral("홍"), {});
    QCoreApplication::sendEvent(p.EdtpName, &composing);
    QTest::keyClick(p.EdtpName, Qt::Key_S, Qt::AltModifier);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("홍"));
    QCoreApplication::sendEvent(p.EdtpName, &commit);
    EXPECT_EQ(p.EdtpName->text(), QStringLiteral("홍"));
    p.EdtnAddr->setFocus();
    QTest::keyClick(p.EdtnAddr, Qt::Key_X, Qt::AltModifier);
    EXPECT_TRUE(p.EdtnAddr->text().isEmpty());
}

TEST_F(EntryPageTest, APasteKeepsTheWholeCharactersThatFit)
{
    WorkerEntryPage& p = open(false);
    p.EdtpName->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("남궁민수철수"));   // 12 bytes
    QTest::keyClick(p.EdtpName, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(p.EdtpName->text(), QStringLiteral("남궁민수철"));
    p.EdtpName->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("ab가나다라마"));
    QTest::keyClick(p.EdtpName, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(p.EdtpName->text(), QStringLiteral("ab가나다라"));
}

TEST(EntryDialogPlace, CentresOverTheMainWindowTruncatingHalves)
{
    // top = 20 - 30 + (957 - 250) / 2 = 343; left = 121 + (1037 - 425) / 2 = 427.
    const QRect place = WorkerCommands::EntryDialogPlace(QRect(121, 20, 1037, 957));
    EXPECT_EQ(place, QRect(427, 343, 425, 280));
    const QRect small = WorkerCommands::EntryDialogPlace(QRect(0, 0, 100, 101));
    EXPECT_EQ(small.top(), -30 + (101 - 250) / 2);   // -104: toward zero
    EXPECT_EQ(small.left(), (100 - 425) / 2);        // -162
}

} // namespace
} // namespace lavodc
