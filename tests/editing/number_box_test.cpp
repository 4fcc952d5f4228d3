// Number boxes: what they show, and that a value clicked into is replaced, not appended to.
#include "editing/number_box.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace lavodc {
namespace {

struct ShownCase {
    double value;
    const char* shown;
};

void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.value; }

class NumberBoxShows : public ::testing::TestWithParam<ShownCase> {};

TEST_P(NumberBoxShows, GroupedWithDecimalsOnlyWhenItHasAny)
{
    NumberBox box;
    box.setValue(GetParam().value);
    EXPECT_EQ(box.text().toStdString(), GetParam().shown);
    EXPECT_EQ(box.value(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Values, NumberBoxShows, ::testing::Values(
    ShownCase{0, "0"},
    ShownCase{8, "8"},
    ShownCase{7.5, "7.5"},
    ShownCase{7.25, "7.25"},
    ShownCase{2400000, "2,400,000"},
    ShownCase{1234.5, "1,234.5"},
    ShownCase{-5000, "-5,000"},
    ShownCase{999, "999"}));

// A window with the box and a neighbour that holds the focus first.
class NumberBoxInWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* column = new QVBoxLayout(&window);
        column->addWidget(neighbour = new QLineEdit);
        column->addWidget(box = new NumberBox);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        neighbour->setFocus();
    }

    double valueAfterLeaving()
    {
        neighbour->setFocus();
        return box->value();
    }

    QWidget window;
    QLineEdit* neighbour = nullptr;
    NumberBox* box = nullptr;
};

TEST_F(NumberBoxInWindow, AValueClickedIntoIsReplacedByWhatIsTyped)
{
    box->setValue(2400000);
    // The click lands at the end of the text, where the caret would go.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 4, box->height() / 2));
    ASSERT_TRUE(box->hasFocus());
    EXPECT_EQ(box->selectedText(), box->text());
    QTest::keyClicks(box, QStringLiteral("2600000"));
    EXPECT_EQ(valueAfterLeaving(), 2600000);
    EXPECT_EQ(box->text(), QStringLiteral("2,600,000"));
}

TEST_F(NumberBoxInWindow, AValueTabbedIntoIsReplacedToo)
{
    box->setValue(8);
    QTest::keyClick(neighbour, Qt::Key_Tab);
    ASSERT_TRUE(box->hasFocus());
    QTest::keyClicks(box, QStringLiteral("7.5"));
    EXPECT_EQ(valueAfterLeaving(), 7.5);
    EXPECT_EQ(box->text(), QStringLiteral("7.5"));
}

TEST_F(NumberBoxInWindow, ASecondClickPlacesTheCaret)
{
    box->setValue(1234);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 4, box->height() / 2));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 4, box->height() / 2));
    EXPECT_FALSE(box->hasSelectedText());
    QTest::keyClicks(box, QStringLiteral("5"));
    EXPECT_EQ(valueAfterLeaving(), 12345);
}

TEST_F(NumberBoxInWindow, HoldsOnlyWhatASheetFileStores)
{
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("12345678901234567890"));
    EXPECT_EQ(valueAfterLeaving(), 12345678901234.0);   // 14 whole digits
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("1.234567"));
    EXPECT_EQ(valueAfterLeaving(), 1.2345);             // 4 decimals
}

TEST_F(NumberBoxInWindow, APasteBringsItsNumber)
{
    box->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("2,400,000원"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(valueAfterLeaving(), 2400000);
}

} // namespace
} // namespace lavodc
