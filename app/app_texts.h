#pragma once
// Fixed texts of the program's shell: its title, home page and the contact line.

#include <QString>

namespace lavodc {

inline QString ApplicationTitle() { return QStringLiteral("근로내역확인서"); }
// The desktop's name of the program: its desktop entry, icon and AppStream id.
inline QString DesktopId() { return QStringLiteral("org.example.lavodc"); }
inline QString HomePageAddress() { return QStringLiteral("https://lavodc.example.org"); }
// Shown by the hints of the window and the band container, and in the status bar at start.
inline QString ContactLine() { return QStringLiteral("LavoDc 근로내역확인신고서 - 문의: lavodc.example.org"); }

} // namespace lavodc
