#pragma once
// The about box lives in a small sibling library loaded by file name for each showing.

#include "services/prompts.h"

#include <QString>

namespace lavodc {

// The entry of the about library: two zero-terminated CP949 texts, the change line and
// the version line; returns when the box is closed.
using ShowVaneEntry = void (*)(const char* changeLine, const char* versionLine);

QString AboutLibraryPath(const QString& programFolder);   // the library beside the program

// Loads `libraryPath`, beeps, and calls `entryName` with the two texts; a library that
// does not load, or lacks the entry, is reported through `prompts`.
void ShowAboutBox(Prompts& prompts, const QString& libraryPath,
                  const char* entryName = "ShowVane");

} // namespace lavodc
