#pragma once
// The settings file "lavocfg.ini" beside the program (CP949, Windows profile rules),
// read and written one value at a time, and the work folder kept in it.

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

inline const char* const kIniFileName = "lavocfg.ini";

// `fileName` is taken in the program's folder. Reading never fails: a missing file,
// section or key gives `defaultValue`. Section and key names ignore Latin case.
QString ReadIniText(const QString& fileName, const QString& section, const QString& key,
                    const QString& defaultValue);
void WriteIniText(const QString& fileName, const QString& section, const QString& key,
                  const QString& value);
// Whole numbers, "0x"/"0X" as hexadecimal; anything else gives `defaultValue`.
int ReadIniInteger(const QString& fileName, const QString& section, const QString& key,
                   int defaultValue);

// The folder the file dialogs start in, ending in "/"; the program's folder + "Work/" by default.
QString GetWorkFolder(const QString& iniName);
// Remembers the folder of a saved sheet file and makes it the current folder.
void SaveWorkFolder(const QString& filePath, const QString& iniName);

// True when `width` is less than the primary screen's width in pixels.
bool ScreenWiderThan(int width);

} // namespace lavodc
