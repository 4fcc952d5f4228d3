#include "app/window_placement.h"

#include "core/ini_file.h"
#include "services/settings.h"

#include <algorithm>

namespace lavodc {

namespace {
constexpr int kWideWindowWidth = 1037;
constexpr int kNarrowScreenLimit = 1024;
const QString kSection = QStringLiteral("근로내역");
const char* const kKeys[] = {"fTop", "fLft", "fHgt", "fWid"};
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
    const WindowPlacement defaults = DefaultPlacement(screenWidth, screenHeight);
    WindowPlacement placement;
    placement.top = ReadIniInteger(iniName, kSection, QString::fromLatin1(kKeys[0]), defaults.top);
    placement.left = ReadIniInteger(iniName, kSection, QString::fromLatin1(kKeys[1]), defaults.left);
    placement.height = ReadIniInteger(iniName, kSection, QString::fromLatin1(kKeys[2]), defaults.height);
    placement.width = ReadIniInteger(iniName, kSection, QString::fromLatin1(kKeys[3]), defaults.width);
    return placement;
}

bool PlacedBySettings(const QString& iniName)
{
    return std::any_of(std::begin(kKeys), std::end(kKeys), [&iniName](const char* key) {
        const QString value = ReadIniText(iniName, kSection, QString::fromLatin1(key), QString());
        return ParseIniInteger(value.toStdString()).has_value();
    });
}

WindowPlacement FitOnScreen(const WindowPlacement& placement, const std::vector<QRect>& areas, QSize designed)
{
    if (areas.empty())
        return placement;
    const QRect wanted(placement.left, placement.top, std::max(1, placement.width), std::max(1, placement.height));
    QRect area = areas.front();
    long long most = 0;
    for (const QRect& candidate : areas) {
        const QRect common = candidate.intersected(wanted);
        const long long overlap = common.isEmpty() ? 0 : 1LL * common.width() * common.height();
        if (overlap > most) {
            most = overlap;
            area = candidate;
        }
    }
    WindowPlacement fitted;
    fitted.width = std::clamp(placement.width, std::min(designed.width(), area.width()), area.width());
    fitted.height = std::clamp(placement.height, std::min(designed.height(), area.height()), area.height());
    fitted.left = std::clamp(placement.left, area.left(), area.left() + area.width() - fitted.width);
    fitted.top = std::clamp(placement.top, area.top(), area.top() + area.height() - fitted.height);
    return fitted;
}

RightAnchors RightAnchorsFor(int windowWidth)
{
    return {windowWidth - 27, windowWidth - 57, windowWidth - 85,
            windowWidth - 111, windowWidth - 137, windowWidth - 164};
}

} // namespace lavodc
