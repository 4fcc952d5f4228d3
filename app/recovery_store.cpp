#include "app/recovery_store.h"

#include "core/ini_file.h"
#include "core/sheet_file.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace lavodc {

namespace {

constexpr const char* kSection = "Recovery";
constexpr const char* kHeaderSection = "Header";

struct HeaderKey {
    const char* key;
    std::string SheetHeader::*value;
};
constexpr HeaderKey kHeaderKeys[] = {
    {"gsName", &SheetHeader::gsName},   {"gsyear", &SheetHeader::gsyear},   {"gmonth", &SheetHeader::gmonth},
    {"cmpNo", &SheetHeader::cmpNo},     {"indNo", &SheetHeader::indNo},     {"indName", &SheetHeader::indName},
    {"MgrName", &SheetHeader::MgrName}, {"MgrJmnNo", &SheetHeader::MgrJmnNo}, {"cmpAddr", &SheetHeader::cmpAddr},
    {"cmpTel", &SheetHeader::cmpTel},   {"cmpName", &SheetHeader::cmpName},
};

// Quoted, so that blanks at either end stay; a value that would not stay on one line is left out.
bool fitsOneLine(const std::string& value)
{
    return value.find_first_of("\r\n") == std::string::npos && value.size() + 2 <= kIniMaxValueBytes;
}
std::string nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

} // namespace

RecoveryStore::RecoveryStore(QString tempFolder) : folder_(std::move(tempFolder)) {}

RecoveryStore::~RecoveryStore()
{
    if (lockFd_ >= 0)
        ::close(lockFd_);   // the lock goes with it, as it does when the process dies
}

bool RecoveryStore::claim()
{
    if (lockFd_ >= 0)
        return true;
    QDir().mkpath(folder_);
    const std::string lockPath = nativePath(QDir(folder_).filePath(QStringLiteral("Recovery.lock")));
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    lockFd_ = fd;
    return true;
}

QString RecoveryStore::copyPath() const { return QDir(folder_).filePath(QStringLiteral("Recovery.Lvo")); }
QString RecoveryStore::companionPath() const { return QDir(folder_).filePath(QStringLiteral("Recovery.ini")); }

bool RecoveryStore::hasCopy() const { return QFile::exists(copyPath()); }

std::string RecoveryStore::companionBytes(const Companion& companion)
{
    // The file name as the file system spells it: a path need not fit the code page.
    std::string text = IniUpdate({}, kSection, "FileName", companion.fileName.toStdString());
    text = IniUpdate(text, kSection, "Time", companion.time.toStdString());
    if (companion.header) {
        for (const HeaderKey& key : kHeaderKeys) {
            const std::string& value = (*companion.header).*key.value;
            if (fitsOneLine(value))
                text = IniUpdate(text, kHeaderSection, key.key, "\"" + value + "\"");
        }
    }
    return text;
}

std::optional<RecoveryStore::Companion> RecoveryStore::readCompanion() const
{
    QFile file(companionPath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::string contents = file.readAll().toStdString();
    const std::optional<std::string> fileName = IniLookup(contents, kSection, "FileName");
    if (!fileName || fileName->empty())
        return std::nullopt;
    Companion companion;
    companion.fileName = QString::fromStdString(*fileName);
    companion.time = QString::fromStdString(IniLookup(contents, kSection, "Time").value_or(std::string()));
    SheetHeader header;
    bool complete = true;
    for (const HeaderKey& key : kHeaderKeys) {
        const std::optional<std::string> value = IniLookup(contents, kHeaderSection, key.key);
        complete = complete && value.has_value();
        if (value)
            header.*key.value = *value;
    }
    if (complete)
        companion.header = header;
    return companion;
}

void RecoveryStore::write(const std::string& sheetBytes, const std::string& companionBytes) const
{
    if (!claimed())
        return;
    WriteWholeFile(nativePath(copyPath()), sheetBytes);
    WriteWholeFile(nativePath(companionPath()), companionBytes);
}

void RecoveryStore::remove() const
{
    if (!claimed())
        return;
    QFile::remove(copyPath());
    QFile::remove(companionPath());
}

} // namespace lavodc
