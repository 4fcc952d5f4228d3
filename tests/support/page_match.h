#pragma once
// How closely two renderings of a page agree, and where the first ink of a page lies.

#include "tests/support/cups_test_server.h"

#include <algorithm>
#include <cmath>

namespace lavodc::testing {

// The mean difference of grey levels (0 to 255) after each page is averaged over squares
// of `block` pixels, which evens out font smoothing.
inline double MeanSquareDifference(const GreyPage& a, const GreyPage& b, int block)
{
    const int width = std::min(a.width, b.width) / block;
    const int height = std::min(a.height, b.height) / block;
    const auto mean = [block](const GreyPage& page, int bx, int by) {
        long sum = 0;
        for (int y = by * block; y < (by + 1) * block; ++y)
            for (int x = bx * block; x < (bx + 1) * block; ++x)
                sum += page.pixels[static_cast<std::size_t>(y) * page.width + x];
        return static_cast<double>(sum) / (block * block);
    };
    double total = 0;
    for (int by = 0; by < height; ++by)
        for (int bx = 0; bx < width; ++bx)
            total += std::abs(mean(a, bx, by) - mean(b, bx, by));
    return width * height == 0 ? 255.0 : total / (width * height);
}

// The first dark pixel along row `y` from the left, -1 when there is none.
inline int FirstDarkInRow(const GreyPage& page, int y)
{
    for (int x = 0; x < page.width; ++x)
        if (page.dark(x, y))
            return x;
    return -1;
}

// The first dark pixel down column `x` from the top, -1 when there is none.
inline int FirstDarkInColumn(const GreyPage& page, int x)
{
    for (int y = 0; y < page.height; ++y)
        if (page.dark(x, y))
            return y;
    return -1;
}

} // namespace lavodc::testing
