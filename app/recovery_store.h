#pragma once
// The recovery copy of a sheet with unsaved changes, in the data folder's Temp/: the sheet as a
// sheet file ("Recovery.Lvo") and a companion file ("Recovery.ini") naming the sheet's file
// name and the time, both written through the sheet file's atomic writer. A lock file held for
// the life of the store keeps a second running copy of the program away from the first one's.

#include "core/sheet.h"

#include <QString>

#include <optional>
#include <string>

namespace lavodc {

class RecoveryStore {
public:
    explicit RecoveryStore(QString tempFolder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // Takes the folder's recovery lock. False while another store (another running copy of the
    // program) holds it; such a store never writes, offers or deletes anything.
    bool claim();
    bool claimed() const { return lockFd_ >= 0; }

    QString copyPath() const;
    QString companionPath() const;
    bool hasCopy() const;

    struct Companion {
        QString fileName;   // the sheet's file name, "이름없음.Lvo" while untitled
        QString time;       // "yyyy.MM.dd hh:mm:ss", when the copy was written
        // The header exactly as the boxes held it: the copy's records cut long texts and keep
        // the site telephone in its stored form.
        std::optional<SheetHeader> header;
    };
    static std::string companionBytes(const Companion& companion);
    // Nothing when the companion file is missing or names no file.
    std::optional<Companion> readCompanion() const;

    // Writes the copy, then its companion; safe to call from another thread. Raises SheetFileError.
    void write(const std::string& sheetBytes, const std::string& companionBytes) const;
    // Deletes both files (a claimed store only).
    void remove() const;

private:
    QString folder_;
    int lockFd_ = -1;
};

} // namespace lavodc
