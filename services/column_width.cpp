#include "services/column_width.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lavodc {

namespace {

// Tenths of a pixel at 12 pixels an em, for the printable ASCII characters " " to "~":
// the wider advance of DejaVu Sans and NanumGothic, rounded up.
constexpr std::array<int, 95> kAsciiTenths = {
     39,  51,  56, 101,  77, 131,  94,  37,  47,  47,  73, 101,  39,  44,  39,  45,
     77,  77,  77,  77,  77,  77,  77,  77,  77,  77,  41,  41, 101, 101, 101,  66,
    120,  88,  83,  84,  93,  76,  69,  96,  91,  36,  44,  79,  67, 117,  90,  95,
     73,  95,  84,  77,  74,  88,  82, 124,  83,  80,  83,  47, 116,  47, 101,  66,
     60,  74,  77,  66,  77,  74,  44,  77,  76,  34,  34,  70,  34, 117,  76,  74,
     77,  77,  50,  63,  47,  76,  71, 102,  71,  71,  63,  77,  41,  77, 101,
};
constexpr int kEmTenths = 120;
constexpr int kDigitPixels = 7;     // of the workbook's default font
constexpr int kExtraPixels = 4;     // room for the cell's inner margins and its border

bool isLeadByte(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}

int asciiTenths(unsigned char b)
{
    if (b >= 0x20 && b < 0x7F)
        return kAsciiTenths[b - 0x20];
    if (b < 0x20)
        return kAsciiTenths[0];   // a tab or other control character: at most a space
    return kEmTenths;
}

} // namespace

int TextPixels(std::string_view cp949)
{
    int tenths = 0;
    for (std::size_t i = 0; i < cp949.size();) {
        const auto b = static_cast<unsigned char>(cp949[i]);
        if (isLeadByte(b) && i + 1 < cp949.size()) {
            tenths += kEmTenths;
            i += 2;
        } else {
            tenths += asciiTenths(b);
            ++i;
        }
    }
    return (tenths + 9) / 10;
}

double ColumnWidthForPixels(int pixels)
{
    // Quarter characters, rounded up, so that the spreadsheet's own rounding never cuts a pixel.
    const double characters = std::ceil((pixels + kExtraPixels) * 4.0 / kDigitPixels) / 4.0;
    return std::max(characters, 1.0);
}

} // namespace lavodc
