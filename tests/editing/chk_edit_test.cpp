// The registration-number box: its masks per kind and its verdicts, through the widget.
#include "editing/chk_edit.h"

#include <QTest>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace lavodc {
namespace {

void typeInto(TChkEdit& box, const QString& keys)
{
    box.setFocus();
    box.home(false);
    QTest::keyClicks(&box, keys);
}

TEST(TChkEdit, StartsAsAnEmptyResidentNumberBox)
{
    TChkEdit box;
    EXPECT_EQ(box.Kind(), TChkKind::ceCitizen);
    EXPECT_EQ(box.editMask(), QStringLiteral("999999\\-9999999;0;_"));
    EXPECT_EQ(box.MaxLength(), 14);
    EXPECT_EQ(box.displayText(), QStringLiteral("______-_______"));
    EXPECT_EQ(box.maskedText(), QString());
    EXPECT_TRUE(box.CheckMsg().empty());
}

TEST(TChkEdit, KindSetsMaskAndLength)
{
    TChkEdit box;
    box.SetKind(TChkKind::ceBussiness);
    EXPECT_EQ(box.Kind(), TChkKind::ceBussiness);
    EXPECT_EQ(box.editMask(), QStringLiteral("999\\-99\\-99999;0;_"));
    EXPECT_EQ(box.MaxLength(), 12);
    EXPECT_EQ(box.displayText(), QStringLiteral("___-__-_____"));

    box.SetKind(static_cast<TChkKind>(7));   // not a kind: nothing changes
    EXPECT_EQ(box.Kind(), TChkKind::ceBussiness);
    EXPECT_EQ(box.editMask(), QStringLiteral("999\\-99\\-99999;0;_"));

    box.SetKind(TChkKind::ceCitizen);
    EXPECT_EQ(box.displayText(), QStringLiteral("______-_______"));
    EXPECT_EQ(box.MaxLength(), 14);
}

struct TypedVerdict {
    TChkKind kind;
    const char* typed;
    bool valid;
    const char* message;   // UTF-8
};

void PrintTo(const TypedVerdict& c, std::ostream* os) { *os << "typed '" << c.typed << "'"; }

class TypedNumbers : public ::testing::TestWithParam<TypedVerdict> {};

TEST_P(TypedNumbers, CheckNumberJudgesWhatWasTyped)
{
    const TypedVerdict& c = GetParam();
    TChkEdit box;
    box.SetKind(c.kind);
    typeInto(box, QString::fromLatin1(c.typed));
    EXPECT_EQ(box.CheckNumber(), c.valid) << "typed " << c.typed;
    EXPECT_EQ(box.CheckMsgText(), QString::fromUtf8(c.message)) << "typed " << c.typed;
}

INSTANTIATE_TEST_SUITE_P(Verdicts, TypedNumbers, ::testing::Values(
    TypedVerdict{TChkKind::ceCitizen, "8501011234566", true, "맞아요 <맞음>"},
    TypedVerdict{TChkKind::ceCitizen, "8501011234567", false, "틀려요 <가짜!!>"},
    TypedVerdict{TChkKind::ceCitizen, "0002293123454", true, "맞아요 <맞음>"},
    TypedVerdict{TChkKind::ceCitizen, "0002291123459", false, "틀려요 ! 가짜 <날짜>"},
    TypedVerdict{TChkKind::ceCitizen, "", false, "부정확한 수"},
    // Trailing empty positions are left out of the text: too short.
    TypedVerdict{TChkKind::ceCitizen, "850101123", false, "부정확한 수"},
    TypedVerdict{TChkKind::ceBussiness, "1234567891", true, "맞아요 !"},
    TypedVerdict{TChkKind::ceBussiness, "1234567890", false, "틀려요 !  가짜!!"},
    TypedVerdict{TChkKind::ceBussiness, "2208123455", true, "맞아요 !"}));

TEST(TChkEdit, HoleInsideTheNumberIsNotADigit)
{
    TChkEdit box;
    typeInto(box, QStringLiteral("8501011234566"));
    box.setCursorPosition(3);
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_FALSE(box.CheckNumber());
    EXPECT_EQ(box.CheckMsgText(), QStringLiteral("숫자만 됩니다"));
}

struct GivenVerdict {
    const char* given;
    bool valid;
    const char* message;
};

void PrintTo(const GivenVerdict& c, std::ostream* os) { *os << "given '" << c.given << "'"; }

class GivenTexts : public ::testing::TestWithParam<GivenVerdict> {};

// The hidden "ChkJumin" box checks the text of another box as that box gives it.
TEST_P(GivenTexts, CheckTextJudgesTheTextAsGiven)
{
    const GivenVerdict& c = GetParam();
    TChkEdit chkJumin;
    chkJumin.setObjectName(QStringLiteral("ChkJumin"));
    EXPECT_EQ(chkJumin.CheckText(QString::fromLatin1(c.given)), c.valid) << "given '" << c.given << "'";
    EXPECT_EQ(chkJumin.CheckMsgText(), QString::fromUtf8(c.message)) << "given '" << c.given << "'";
}

INSTANTIATE_TEST_SUITE_P(Verdicts, GivenTexts, ::testing::Values(
    // A manager's number box keeps its "-".
    GivenVerdict{"850101-1234566", true, "맞아요 <맞음>"},
    GivenVerdict{"8501011234566", true, "맞아요 <맞음>"},
    GivenVerdict{"850101-1234567", false, "틀려요 <가짜!!>"},
    // An empty manager's number box reads six blanks, "-", seven blanks.
    GivenVerdict{"      -       ", false, "부정확한 수"},
    GivenVerdict{"85 101-1234566", false, "숫자만 됩니다"},
    GivenVerdict{"851301-1234566", false, "틀려요 ! 가짜 <월>"}));

TEST(TChkEdit, CheckTextCopiesTheTextIntoTheBox)
{
    TChkEdit box;
    box.CheckText(QStringLiteral("8501011234566"));
    EXPECT_EQ(box.maskedText(), QStringLiteral("8501011234566"));
    EXPECT_EQ(box.displayText(), QStringLiteral("850101-1234566"));
    // A later check of the box itself sees the same number.
    EXPECT_TRUE(box.CheckNumber());

    box.CheckText(QStringLiteral("850101-1234566"));
    EXPECT_EQ(box.displayText(), QStringLiteral("850101-1234566"));
    EXPECT_TRUE(box.CheckNumber());
}

} // namespace
} // namespace lavodc
