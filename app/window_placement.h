#pragma once
// Where the main window goes at start-up: defaults that depend on the screen, each one
// overridden by its key in section "근로내역" of the settings file when present.

#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace lavodc {

struct WindowPlacement {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
    bool operator==(const WindowPlacement&) const = default;
};

// The defaults for a screen of the given size; a screen exactly 1024 pixels wide
// counts as narrow.
WindowPlacement DefaultPlacement(int screenWidth, int screenHeight);

// The defaults, then "fTop", "fLft", "fHgt" and "fWid" from `iniName` in the program's
// folder; a key that is missing or not a whole number keeps its default.
WindowPlacement ReadPlacement(int screenWidth, int screenHeight, const QString& iniName);

// Whether the settings file places the window: any of the four keys with a whole number.
bool PlacedBySettings(const QString& iniName);

// `placement` made usable on the screens whose available areas are `areas` (the primary first):
// on the area it overlaps most (the first when it overlaps none), whole, and no smaller than
// `designed` where the area has room for it.
WindowPlacement FitOnScreen(const WindowPlacement& placement, const std::vector<QRect>& areas, QSize designed);

// Left edges of the controls that keep their distance from the right edge of a
// window `windowWidth` pixels wide.
struct RightAnchors {
    int closeButton;
    int quitButton;
    int aboutButton;
    int homePageButton;
    int downloadButton;
    int helpButton;
};
RightAnchors RightAnchorsFor(int windowWidth);

} // namespace lavodc
