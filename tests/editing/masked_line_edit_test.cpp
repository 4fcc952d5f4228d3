// Masked boxes are read the way the program expects: typed into with real key events.
#include "editing/masked_line_edit.h"

#include "core/cp949.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

// Readable failure messages for QString comparisons.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace lavodc {
namespace {

struct TypedCase {
    const char* mask;
    const char* typed;      // key clicks, after the cursor is put at the start
    const char* expected;   // maskedText()
};

void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.mask << " typed '" << c.typed << "'"; }

class MaskedTyping : public ::testing::TestWithParam<TypedCase> {};

TEST_P(MaskedTyping, ReadsTheTextTheMaskPrescribes)
{
    const TypedCase& c = GetParam();
    MaskedLineEdit box(QString::fromLatin1(c.mask));
    box.setFocus();
    box.home(false);
    QTest::keyClicks(&box, QString::fromUtf8(c.typed));
    EXPECT_EQ(box.maskedText().toStdString(), std::string(c.expected)) << "mask " << c.mask << " typed '" << c.typed << "'";
    EXPECT_EQ(box.maskedBytes(), std::string(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Masks, MaskedTyping, ::testing::Values(
    // Literals kept, every unfilled position a blank.
    TypedCase{"####;1;_", "", "    "},
    TypedCase{"####;1;_", "2024", "2024"},
    TypedCase{"####;1;_", "20", "20  "},
    TypedCase{"##;1;_", "", "  "},
    TypedCase{"##;1;_", "7", "7 "},
    TypedCase{"######-#######;1;_", "", "      -       "},
    TypedCase{"######-#######;1;_", "8501011234567", "850101-1234567"},
    TypedCase{"######-#######;1;_", "850101", "850101-       "},
    // Literals dropped, trailing unfilled positions dropped.
    TypedCase{"999999\\-9999999;0;_", "", ""},
    TypedCase{"999999\\-9999999;0;_", "85010", "85010"},
    TypedCase{"999999\\-9999999;0;_", "85010112", "85010112"},
    TypedCase{"999999\\-9999999;0;_", "8501011234567", "8501011234567"},
    // Letters never fill a digit position.
    TypedCase{"####;1;_", "ab12", "12  "},
    // A literal typed where the box shows it moves past it; it never fills a position.
    TypedCase{"######-#######;1;_", "881130-2123458", "881130-2123458"},
    TypedCase{"######-#######;1;_", "881130--2123458", "881130-2123458"},
    TypedCase{"######-#######;1;_", "88-1130", "881130-       "},
    TypedCase{"999999\\-9999999;0;_", "881130-2123458", "8811302123458"},
    TypedCase{"####.##.##;1;_", "2026.12.10", "2026.12.10"},
    TypedCase{"####.##.##;1;_", "20261210", "2026.12.10"},
    // Signs are no part of a year, a month or a number.
    TypedCase{"####;1;_", "-2026", "2026"},
    TypedCase{"##;1;_", "+1", "1 "}));

struct PasteCase {
    const char* mask;
    const char* before;     // the box's text before the paste (masked bytes)
    const char* pasted;
    const char* expected;
};

void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.mask << " pasted '" << c.pasted << "'"; }

class MaskedPasting : public ::testing::TestWithParam<PasteCase> {};

TEST_P(MaskedPasting, FillsTheBoxAsTypingWould)
{
    const PasteCase& c = GetParam();
    MaskedLineEdit box(QString::fromLatin1(c.mask));
    box.setMaskedBytes(c.before);
    box.setFocus();
    box.home(false);
    QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.maskedBytes(), std::string(c.expected));
    // Shift+Insert, the other paste key, does the same.
    box.setMaskedBytes(c.before);
    box.home(false);
    QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(box.maskedBytes(), std::string(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Masks, MaskedPasting, ::testing::Values(
    PasteCase{"######-#######;1;_", "", "8811302123458", "881130-2123458"},
    PasteCase{"######-#######;1;_", "", "881130-2123458", "881130-2123458"},
    PasteCase{"######-#######;1;_", "", " 881130-2123458 ", "881130-2123458"},
    PasteCase{"######-#######;1;_", "750505-1234567", "881130-2123458", "881130-2123458"},
    PasteCase{"######-#######;1;_", "", "8811", "8811  -       "},
    PasteCase{"999999\\-9999999;0;_", "", "881130-2123458", "8811302123458"},
    PasteCase{"####.##.##;1;_", "", "2026.11.30", "2026.11.30"},
    PasteCase{"####.##.##;1;_", "", "20261130", "2026.11.30"},
    PasteCase{"####;1;_", "", "2026", "2026"}));

TEST(MaskedLineEdit, ShowsLiteralsAndBlankCharacters)
{
    MaskedLineEdit box(QStringLiteral("######-#######;1;_"));
    EXPECT_EQ(box.displayText(), QStringLiteral("______-_______"));
    box.setFocus();
    box.home(false);
    QTest::keyClicks(&box, QStringLiteral("12"));
    EXPECT_EQ(box.displayText(), QStringLiteral("12____-_______"));
}

TEST(MaskedLineEdit, InnerEmptyPositionReadsAsBlank)
{
    MaskedLineEdit box(QStringLiteral("999999\\-9999999;0;_"));
    box.setFocus();
    box.home(false);
    QTest::keyClicks(&box, QStringLiteral("8501011234567"));
    // Clear the third digit with Delete, leaving a hole inside the number.
    box.setCursorPosition(2);
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.maskedText(), QStringLiteral("85 1011234567"));
}

TEST(MaskedLineEdit, BackspaceEmptiesTheLastPosition)
{
    MaskedLineEdit box(QStringLiteral("999999\\-9999999;0;_"));
    box.setFocus();
    box.home(false);
    QTest::keyClicks(&box, QStringLiteral("8501011"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.maskedText(), QStringLiteral("850101"));
}

TEST(MaskedLineEdit, RefusesHangulEvenWhereAnyCharacterGoes)
{
    // One byte a position: a syllable would need two.
    MaskedLineEdit box(QStringLiteral("CCCC;1;_"));
    box.setFocus();
    box.home(false);
    QKeyEvent hangul(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("가"));
    QApplication::sendEvent(&box, &hangul);
    QTest::keyClicks(&box, QStringLiteral("a"));
    EXPECT_EQ(box.maskedText(), QStringLiteral("a   "));
}

struct SetCase {
    const char* mask;
    const char* set;
    const char* expected;
};

void PrintTo(const SetCase& c, std::ostream* os) { *os << c.mask << " set '" << c.set << "'"; }

class MaskedSetting : public ::testing::TestWithParam<SetCase> {};

TEST_P(MaskedSetting, ReadsBackWhatWasSet)
{
    const SetCase& c = GetParam();
    MaskedLineEdit box(QString::fromLatin1(c.mask));
    box.setMaskedText(QString::fromLatin1(c.set));
    EXPECT_EQ(box.maskedText().toStdString(), std::string(c.expected)) << "mask " << c.mask << " set '" << c.set << "'";
}

INSTANTIATE_TEST_SUITE_P(Masks, MaskedSetting, ::testing::Values(
    SetCase{"####;1;_", "2024", "2024"},
    SetCase{"####;1;_", "", "    "},
    SetCase{"##;1;_", "05", "05"},
    SetCase{"######-#######;1;_", "850101-1234567", "850101-1234567"},
    SetCase{"######-#######;1;_", "", "      -       "},
    // A blank inside the number stays where it was.
    SetCase{"######-#######;1;_", "85 101-1234567", "85 101-1234567"},
    SetCase{"######-#######;1;_", "850101-12", "850101-12     "},
    SetCase{"999999\\-9999999;0;_", "8501011234567", "8501011234567"},
    SetCase{"999999\\-9999999;0;_", "85 1011", "85 1011"},
    SetCase{"999999\\-9999999;0;_", "", ""},
    // A number copied from a box that keeps its "-" lands in the right places.
    SetCase{"999999\\-9999999;0;_", "850101-1234566", "8501011234566"},
    SetCase{"999999\\-9999999;0;_", "85 101-12345  ", "85 10112345"}));

TEST(MaskedLineEdit, WithoutMaskIsAPlainBoxInCp949)
{
    MaskedLineEdit box;
    box.setMaskedText(QStringLiteral("홍길동 A"));
    EXPECT_EQ(box.text(), QStringLiteral("홍길동 A"));
    EXPECT_EQ(box.maskedBytes(), toCp949("홍길동 A"));
    EXPECT_EQ(box.maskedBytes().size(), 8u);   // two bytes a syllable
}

TEST(MaskedLineEdit, ChangingTheMaskRereadsTheBox)
{
    MaskedLineEdit box(QStringLiteral("####;1;_"));
    box.setMaskedText(QStringLiteral("2024"));
    box.setEditMask(QString());
    EXPECT_EQ(box.editMask(), QString());
    box.setText(QStringLiteral("abc"));
    EXPECT_EQ(box.maskedText(), QStringLiteral("abc"));
    box.setEditMask(QStringLiteral("##;1;_"));
    EXPECT_EQ(box.maskedText(), QStringLiteral("  "));
}

} // namespace
} // namespace lavodc
