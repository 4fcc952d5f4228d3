#include "app/window_placement.h"

#include "services/settings.h"

namespace lavodc {

namespace {
constexpr int kWideWindowWidth = 1037;
constexpr int kNarrowScreenLimit = 1024;
}

WindowPlacement DefaultPlacement(int screenWidth, int screenHeight)
{
    if (screenWidth > kNarrowScreenLimit) {
        // C++ division rounds toward zero, as the old placement rule did (-3 on 1030 px).
        return {20, (screenWidth - kWideWindowWidth) / 2, screenHeight - 67, kWideWindowWidth};
    }
    return {1, 1, screenHeight - 28, screenWidth - 2};
}

WindowPlacement ReadPlacement(int screenWidth, int screenHeight, const QString& iniName)
{
    static const QString section = QStringLiteral("근로내역");
    const WindowPlacement defaults = DefaultPlacement(screenWidth, screenHeight);
    WindowPlacement placement;
    placement.top = ReadIniInteger(iniName, section, QStringLiteral("fTop"), defaults.top);
    placement.left = ReadIniInteger(iniName, section, QStringLiteral("fLft"), defaults.left);
    placement.height = ReadIniInteger(iniName, section, QStringLiteral("fHgt"), defaults.height);
    placement.width = ReadIniInteger(iniName, section, QStringLiteral("fWid"), defaults.width);
    return placement;
}

RightAnchors RightAnchorsFor(int windowWidth)
{
    return {windowWidth - 27, windowWidth - 57, windowWidth - 85,
            windowWidth - 111, windowWidth - 137, windowWidth - 164};
}

} // namespace lavodc
