#include "core/sheet.h"

#include <gtest/gtest.h>

#include <ctime>

namespace lavodc {
namespace {

TEST(SheetTest, CurrentPeriodIsTodaysYearAndMonth)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char expected[16];
    std::strftime(expected, sizeof expected, "%Y.%m", &local);
    EXPECT_EQ(CurrentPeriod(), expected);
}

TEST(SheetTest, PeriodIsBuiltFromTheYearAndMonthBoxesAsTheyStand)
{
    SheetHeader header;
    header.gsyear = "2024";
    header.gmonth = "05";
    EXPECT_EQ(PeriodFromHeader(header), "2024.05");
    header.gmonth = "5 ";
    EXPECT_EQ(PeriodFromHeader(header), "2024.5 ");
}

TEST(SheetTest, ResetHeaderEmptiesEveryValueAndTakesYearAndMonthFromThePeriod)
{
    SheetHeader header;
    header.gsName = "site";
    header.cmpTel = "02-123-4567";
    header.MgrJmnNo = "900101-1234567";
    header.indNo = "7";
    ResetHeader(header, "2023.11");
    SheetHeader expected;
    expected.gsyear = "2023";
    expected.gmonth = "11";
    EXPECT_EQ(header.gsyear, expected.gsyear);
    EXPECT_EQ(header.gmonth, expected.gmonth);
    for (const std::string* value : {&header.gsName, &header.cmpNo, &header.indNo, &header.indName,
                                     &header.MgrName, &header.MgrJmnNo, &header.cmpAddr, &header.cmpTel,
                                     &header.cmpName})
        EXPECT_EQ(*value, "");
}

TEST(SheetTest, MaskedValuesReadAsTheirBoxesGiveThemBack)
{
    struct Case {
        std::string year, month, number;
        std::string wantYear, wantMonth, wantNumber;
    };
    const Case cases[] = {
        {"", "", "", "    ", "  ", "      -       "},
        {"2024", "05", "900101-1234567", "2024", "05", "900101-1234567"},
        {"20", "5", "900101", "20  ", "5 ", "900101-       "},
        {"abcd", "x1", "9001011234567", "    ", " 1", "900101-234567 "},
    };
    for (const Case& c : cases) {
        SheetHeader header;
        header.gsyear = c.year;
        header.gmonth = c.month;
        header.MgrJmnNo = c.number;
        header.gsName = "  untouched ";
        NormalizeMaskedValues(header);
        EXPECT_EQ(header.gsyear, c.wantYear) << c.year;
        EXPECT_EQ(header.gmonth, c.wantMonth) << c.month;
        EXPECT_EQ(header.MgrJmnNo, c.wantNumber) << c.number;
        EXPECT_EQ(header.gsName, "  untouched ");
    }
}

} // namespace
} // namespace lavodc
