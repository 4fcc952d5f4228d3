// The wait window: its shared gauge counter, its look and its one-at-a-time lifecycle.
#include "services/wait_window.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace lavodc {
namespace {

const QColor kFormColor(0, 107, 159);
const QColor kTextColor(255, 255, 255);

class WaitWindowTest : public ::testing::Test {
protected:
    void SetUp() override { GaugeStep() = 0; }
    void TearDown() override { HideWait(); }

    static TSprSfm& show(const QString& message = QStringLiteral("파일을 읽고 있습니다. 잠시만..."))
    {
        ShowWait(30, kFormColor, kTextColor, message);
        EXPECT_NE(WaitWindow(), nullptr);
        return *WaitWindow();
    }
};

TEST_F(WaitWindowTest, FirstShowingStartsAtZeroAndTicksOnePerStep)
{
    TSprSfm& window = show();
    EXPECT_EQ(window.GaugeBar->value(), 0);
    EXPECT_EQ(GaugeStep(), 0);   // showing alone does not tick
    window.GaugeTimerTimer();
    EXPECT_EQ(window.GaugeBar->value(), 1);
    window.GaugeTimerTimer();
    EXPECT_EQ(window.GaugeBar->value(), 2);
    EXPECT_EQ(GaugeStep(), 2);
}

TEST_F(WaitWindowTest, TheTickThatWouldReachHundredGivesZero)
{
    GaugeStep() = 98;
    TSprSfm& window = show();
    window.GaugeTimerTimer();
    EXPECT_EQ(window.GaugeBar->value(), 99);
    window.GaugeTimerTimer();
    EXPECT_EQ(window.GaugeBar->value(), 0);
    EXPECT_EQ(GaugeStep(), 0);
    window.GaugeTimerTimer();
    EXPECT_EQ(window.GaugeBar->value(), 1);
}

TEST_F(WaitWindowTest, NewShowingContinuesFromTheLastStep)
{
    TSprSfm& first = show();
    for (int i = 0; i < 3; ++i)
        first.GaugeTimerTimer();
    HideWait();

    TSprSfm& second = show();
    EXPECT_EQ(second.GaugeBar->value(), 0);   // a new bar starts at 0
    second.GaugeTimerTimer();
    EXPECT_EQ(second.GaugeBar->value(), 4);

    GaugeStep() = 99;
    HideWait();
    TSprSfm& third = show();
    third.GaugeTimerTimer();
    EXPECT_EQ(third.GaugeBar->value(), 0);
}

TEST_F(WaitWindowTest, CallerSetPositionLeavesTheCounterAlone)
{
    TSprSfm& window = show();
    window.GaugeTimerTimer();
    window.GaugeTimerTimer();
    SetWaitGauge(50);
    EXPECT_EQ(window.GaugeBar->value(), 50);
    window.GaugeBar->setValue(70);
    EXPECT_EQ(GaugeStep(), 2);
    window.GaugeTimerTimer();
    EXPECT_EQ(window.GaugeBar->value(), 3);
}

// The given interval, but no more than 20 ticks a second.
TEST_F(WaitWindowTest, TimerRunsAtTheGivenIntervalWhileEventsAreDispatched)
{
    ShowWait(80, kFormColor, kTextColor, QStringLiteral("x"));
    EXPECT_EQ(WaitWindow()->GaugeTimer->interval(), 80);
    ShowWait(15, kFormColor, kTextColor, QStringLiteral("x"));
    TSprSfm& window = *WaitWindow();
    EXPECT_EQ(window.GaugeTimer->interval(), 50);
    EXPECT_TRUE(window.GaugeTimer->isActive());
    QElapsedTimer waited;
    waited.start();
    while (GaugeStep() < 3 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(GaugeStep(), 3);
    EXPECT_EQ(window.GaugeBar->value(), GaugeStep());
}

// However often the caller moves the gauge, it is drawn at most 20 times a second; the first
// position shows at once and the caller's positions stop the timer.
TEST_F(WaitWindowTest, CallerPositionsAreDrawnAtMostTwentyTimesASecond)
{
    TSprSfm& window = show();
    int changes = 0;
    QObject::connect(window.GaugeBar, &QProgressBar::valueChanged, [&changes] { ++changes; });
    SetWaitGauge(37);
    EXPECT_EQ(window.GaugeBar->value(), 37);
    EXPECT_FALSE(window.GaugeTimer->isActive());
    QElapsedTimer took;
    took.start();
    for (int i = 0; took.elapsed() < 300; ++i)
        SetWaitGauge(i % 100);
    EXPECT_GE(changes, 3);
    EXPECT_LE(changes, 1 + 300 / 50 + 1);
}

TEST_F(WaitWindowTest, CancelIsOfferedOnRequestAndHeldUntilTheWindowGoes)
{
    TSprSfm& plain = show();
    EXPECT_EQ(plain.CancelButton(), nullptr);
    EXPECT_FALSE(plain.isModal());

    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Esc" : "click");
        ShowWait(30, kFormColor, kTextColor, QStringLiteral("파일을 읽고 있습니다. 잠시만..."), true);
        TSprSfm& window = *WaitWindow();
        QPushButton* cancel = window.CancelButton();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), QStringLiteral("취소"));
        EXPECT_TRUE(cancel->isVisible());
        EXPECT_TRUE(window.isModal());
        EXPECT_TRUE(window.rect().contains(cancel->geometry()));
        EXPECT_FALSE(cancel->geometry().intersects(window.MessageLabel->geometry()));
        EXPECT_FALSE(WaitCancelRequested());
        if (byKey) {
            QTest::keyClick(cancel, Qt::Key_Escape);
        } else {
            QTest::mouseClick(cancel, Qt::LeftButton);
        }
        EXPECT_TRUE(WaitCancelRequested());
        HideWait();
        EXPECT_FALSE(WaitCancelRequested());
    }
}

TEST_F(WaitWindowTest, LooksAsDesigned)
{
    TSprSfm& window = show(QStringLiteral("파일을 읽고 있습니다. 잠시만..."));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isWindow());
    EXPECT_FALSE(window.isModal());
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.size(), QSize(371, 56));
    EXPECT_EQ(window.palette().color(QPalette::Window), kFormColor);

    EXPECT_EQ(window.GaugeBar->geometry(), QRect(8, 11, 352, 11));
    EXPECT_EQ(window.GaugeBar->minimum(), 0);
    EXPECT_EQ(window.GaugeBar->maximum(), 100);
    EXPECT_FALSE(window.GaugeBar->isTextVisible());
    EXPECT_TRUE(window.GaugeBar->isVisible());

    const QLabel& label = *window.MessageLabel;
    EXPECT_EQ(label.text(), QStringLiteral("파일을 읽고 있습니다. 잠시만..."));
    EXPECT_EQ(label.geometry(), QRect(8, 30, 352, 12));
    EXPECT_EQ(label.alignment(), Qt::AlignCenter);
    EXPECT_TRUE(label.font().bold());
    EXPECT_EQ(label.font().family(), QStringLiteral("NanumGothic"));
    EXPECT_EQ(label.font().pointSize(), 9);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), kTextColor);

    const QRect area = window.screen()->availableGeometry();
    EXPECT_LE((window.frameGeometry().center() - area.center()).manhattanLength(), 2);
}

TEST_F(WaitWindowTest, PaintsTheFormColourAndTheMessageInTheTextColour)
{
    TSprSfm& window = show(QStringLiteral("파일을 읽고 있습니다. 잠시만..."));
    const QImage image = window.grab().toImage();
    // Between the bar and the message, inside the frame.
    EXPECT_EQ(QColor(image.pixel(20, 26)), kFormColor);
    int textPixels = 0;
    for (int y = 30; y < 42; ++y)
        for (int x = 8; x < 360; ++x)
            textPixels += QColor(image.pixel(x, y)) == kTextColor;
    EXPECT_GT(textPixels, 20);
}

TEST_F(WaitWindowTest, LongMessageIsCutNotWrapped)
{
    const QString longMessage = QStringLiteral("파일을 읽고 있습니다. ").repeated(10);
    TSprSfm& window = show(longMessage);
    EXPECT_FALSE(window.MessageLabel->wordWrap());
    EXPECT_EQ(window.MessageLabel->size(), QSize(352, 12));
    EXPECT_EQ(window.size(), QSize(371, 56));
    // Centred and cut: the text runs to both edges of the label.
    const QImage image = window.grab().toImage();
    auto columnHasText = [&](int x) {
        for (int y = 30; y < 42; ++y)
            if (QColor(image.pixel(x, y)) != kFormColor)
                return true;
        return false;
    };
    int leftmost = -1, rightmost = -1;
    for (int x = 8; x < 360; ++x)
        if (columnHasText(x)) {
            if (leftmost < 0)
                leftmost = x;
            rightmost = x;
        }
    EXPECT_LE(leftmost, 12);
    EXPECT_GE(rightmost, 355);
    // Nothing is drawn outside the label.
    for (int x = 0; x < 8 - 2; ++x)
        EXPECT_FALSE(columnHasText(x + 2)) << "column " << x + 2;
}

TEST_F(WaitWindowTest, HideWaitDestroysTheWindow)
{
    QPointer<TSprSfm> window = &show();
    HideWait();
    EXPECT_EQ(WaitWindow(), nullptr);
    EXPECT_TRUE(window.isNull());
    HideWait();   // nothing left to hide
    SetWaitGauge(10);
}

TEST_F(WaitWindowTest, UnpairedShowReplacesTheEarlierWindow)
{
    QPointer<TSprSfm> first = &show();
    QPointer<TSprSfm> second = &show();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(WaitWindow(), second.data());
}

} // namespace
} // namespace lavodc
