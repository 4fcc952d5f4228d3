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

// The one decision: a program folder the user can write (a build folder, a copied folder)
// keeps everything, with "Work/" as the first work folder; otherwise (an installed program)
// the data go to $XDG_DATA_HOME/lavodc/, created here, and the first work folder is
// "근로내역" in the user's documents folder.
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
