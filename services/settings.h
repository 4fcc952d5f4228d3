#pragma once
// The settings file "lavocfg.ini" beside the program (CP949, Windows profile rules),
// read and written one value at a time, and the work folder kept in it. "Beside the
// program" is the data folder that DataFoldersFor decides.

#include <QString>
#include <stdexcept>

namespace lavodc {

// Raised when the platform refuses a write: "Unable to write to <full path of the file>",
// or by SaveWorkFolder with the platform's I/O error text.
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The folder of the program file, ending in "/". Tests point it at a scratch folder.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

// Where the files kept beside the program live: the settings file, Temp/ with the working
// copy, and the first work folder.
struct DataFolders {
    QString data;        // ends in "/"
    QString firstWork;   // ends in "/"
};

// Written by the install beside the installed program.
inline const char* const kInstalledMarkerName = "lavodc.installed";

// The one decision. An installed program never writes beside itself, whoever runs it: a
// program folder holding the install's marker, lying under /usr or /opt, not owned by the user
// or not writable by the user keeps the data in $XDG_DATA_HOME/lavodc/ (created here), with
// "근로내역" in the user's documents folder as the first work folder. Any other folder (a build
// folder, a copied folder of the user's own) keeps everything, with "Work/" as the first work
// folder.
DataFolders DataFoldersFor(const QString& programFolder);
// DataFoldersFor(ProgramFolder()).data
QString DataFolder();

inline const char* const kIniFileName = "lavocfg.ini";

// `fileName` is taken in the data folder. Reading never fails: a missing file,
// section or key gives `defaultValue`. Section and key names ignore Latin case.
QString ReadIniText(const QString& fileName, const QString& section, const QString& key,
                    const QString& defaultValue);
void WriteIniText(const QString& fileName, const QString& section, const QString& key,
                  const QString& value);
// Whole numbers, "0x"/"0X" as hexadecimal; anything else gives `defaultValue`.
int ReadIniInteger(const QString& fileName, const QString& section, const QString& key,
                   int defaultValue);

// The folder the file dialogs start in, ending in "/"; the first work folder by default.
QString GetWorkFolder(const QString& iniName);
// Remembers the folder of a saved sheet file and makes it the current folder.
void SaveWorkFolder(const QString& filePath, const QString& iniName);

// True when `width` is less than the primary screen's width in pixels.
bool ScreenWiderThan(int width);

} // namespace lavodc
