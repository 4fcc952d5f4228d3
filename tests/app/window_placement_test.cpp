#include "app/window_placement.h"

#include "app_test_folder.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace lavodc
