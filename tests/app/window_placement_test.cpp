#include "app/window_placement.h"

#include "app_test_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace lavodc {
namespace {

struct ScreenCase {
    int width;
    int height;
    WindowPlacement expected;   // top, left, height, width
};

// Names the case by its screen size instead of dumping its bytes.
void PrintTo(const ScreenCase& c, std::ostream* os) { *os << c.width << "x" << c.height; }

class DefaultPlacementTest : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(DefaultPlacementTest, FollowsTheScreen)
{
    const ScreenCase& c = GetParam();
    EXPECT_EQ(DefaultPlacement(c.width, c.height), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Screens, DefaultPlacementTest, ::testing::Values(
    ScreenCase{1280, 1024, {20, 121, 957, 1037}},
    ScreenCase{1024, 768, {1, 1, 740, 1022}},      // exactly 1024 counts as narrow
    ScreenCase{1025, 768, {20, -6, 701, 1037}},     // -12 / 2
    ScreenCase{1030, 800, {20, -3, 733, 1037}},     // -7 / 2 rounds toward zero
    ScreenCase{800, 600, {1, 1, 572, 798}}));

TEST(ReadPlacementTest, WithoutSettingsFileGivesTheDefaults)
{
    testing::ScratchProgramFolder folder;
    EXPECT_EQ(ReadPlacement(1280, 1024, QStringLiteral("lavocfg.ini")), (WindowPlacement{20, 121, 957, 1037}));
}

TEST(ReadPlacementTest, PresentKeysOverrideAndBadOnesKeepTheDefault)
{
    testing::ScratchProgramFolder folder;
    folder.writeFile(QStringLiteral("lavocfg.ini"),
                     "[작업폴더]\r\nwPath=/tmp/\r\n"
                     "[근로내역]\r\nfTop=5\r\nfLft=abc\r\nFHGT=0x20\r\n");
    // fTop from the file, fLft not a number, fHgt hexadecimal (key case ignored), fWid missing.
    EXPECT_EQ(ReadPlacement(1280, 1024, QStringLiteral("lavocfg.ini")), (WindowPlacement{5, 121, 32, 1037}));
    EXPECT_EQ(ReadPlacement(1024, 768, QStringLiteral("lavocfg.ini")), (WindowPlacement{5, 1, 32, 1022}));
}

TEST(ReadPlacementTest, PlacedBySettingsOnlyWithAWholeNumber)
{
    testing::ScratchProgramFolder folder;
    EXPECT_FALSE(PlacedBySettings(QStringLiteral("lavocfg.ini")));
    folder.writeFile(QStringLiteral("lavocfg.ini"), "[근로내역]\r\nfTop=abc\r\nfWid=\r\n");
    EXPECT_FALSE(PlacedBySettings(QStringLiteral("lavocfg.ini")));
    folder.writeFile(QStringLiteral("lavocfg.ini"), "[근로내역]\r\nfTop=abc\r\nfHgt=0x20\r\n");
    EXPECT_TRUE(PlacedBySettings(QStringLiteral("lavocfg.ini")));
}

struct FitCase {
    const char* what;
    WindowPlacement placement;   // top, left, height, width
    std::vector<QRect> areas;
    WindowPlacement expected;
};
void PrintTo(const FitCase& c, std::ostream* os) { *os << c.what; }

class FitOnScreenTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitOnScreenTest, KeepsTheWindowWholeAndUsable)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(FitOnScreen(c.placement, c.areas, QSize(1016, 665)), c.expected);
}

// A wide screen with a second one to its right (the primary first), and a small one.
const QRect kLeft(0, 0, 1920, 1040);
const QRect kRight(1920, 0, 1280, 1000);
const QRect kSmall(0, 0, 800, 600);

INSTANTIATE_TEST_SUITE_P(Screens, FitOnScreenTest, ::testing::Values(
    FitCase{"whole on the second screen: kept", {100, 2000, 700, 1100}, {kLeft, kRight}, {100, 2000, 700, 1100}},
    FitCase{"mostly on the second screen: moved onto it", {-50, 1800, 700, 1100}, {kLeft, kRight}, {0, 1920, 700, 1100}},
    FitCase{"off every screen at 1x1: designed size on the first", {-3000, -3000, 1, 1}, {kLeft, kRight},
            {0, 0, 665, 1016}},
    FitCase{"below the screens: pulled up", {5000, 100, 700, 1037}, {kLeft, kRight}, {340, 100, 700, 1037}},
    FitCase{"larger than its screen: cut to it", {10, 1930, 5000, 5000}, {kLeft, kRight}, {0, 1920, 1000, 1280}},
    FitCase{"a screen smaller than the design: the whole screen", {1, 1, 20, 20}, {kSmall}, {0, 0, 600, 800}},
    FitCase{"no screen known: as it was", {-3000, -3000, 1, 1}, {}, {-3000, -3000, 1, 1}}));

} // namespace
} // namespace lavodc
