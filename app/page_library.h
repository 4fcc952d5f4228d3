#pragma once
// The help and download pages live in a small sibling library loaded by file name for each
// use and unloaded after it. Its entry shows a page in a modal window of a given place and
// size and returns when that window is closed.

#include "services/prompts.h"

#include <QRect>
#include <QString>

namespace lavodc {

// top, left, height, width in screen pixels, then the page's address (CP949).
using PeekShowEntry = void (*)(int top, int left, int height, int width, const char* address);

QString PageLibraryPath(const QString& programFolder);   // the library beside the program
QString HelpPageAddress(const QString& programFolder);
QString DownloadPageAddress(const QString& programFolder);

// The page windows: help along the right edge of the screen, download over the window.
QRect HelpPagePlace(const QSize& screen);
QRect DownloadPagePlace(const QRect& mainWindow);

// Loads `libraryPath`, calls `entryName` with the place and address, unloads it; a library
// that does not load, or lacks the entry, is reported through `prompts`.
void ShowPeekPage(Prompts& prompts, const QString& libraryPath, const QRect& place,
                  const QString& address, const char* entryName = "peekshow");

} // namespace lavodc
