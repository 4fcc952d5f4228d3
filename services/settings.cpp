// The settings file "lavocfg.ini" beside the program and the work folder kept in it.
// The file itself is read and written by core/ini_file (Windows profile rules, CP949); this
// layer turns Qt's Unicode text into CP949 and back and finds the program's and the data folder.

#include "services/settings.h"

#include "core/cp949.h"
#include "core/ini_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <filesystem>
#include <optional>
#include <system_error>

#include <unistd.h>

namespace lavodc {

namespace {

QString& programFolderOverride()
{
    static QString folder;
    return folder;
}

QString withTrailingSlash(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// The settings file's full path: `fileName` in the data folder (an absolute name as it is).
QString iniPath(const QString& fileName)
{
    if (QDir::isAbsolutePath(fileName))
        return fileName;
    return DataFolder() + fileName;
}

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

std::string cp949(const QString& text)
{
    return toCp949(text.toStdString());
}

QString unicode(const std::string& cp949Text)
{
    return QString::fromStdString(fromCp949(cp949Text));
}

const QString& workSection()
{
    static const QString section = QStringLiteral("작업폴더");
    return section;
}

const QString& workKey()
{
    static const QString key = QStringLiteral("wPath");
    return key;
}

// The CP949 bytes of a value; nothing when the file, section or key is missing. A section or
// key name that CP949 cannot hold cannot be in the file either.
std::optional<std::string> readRaw(const QString& fileName, const QString& section, const QString& key)
{
    std::string section949, key949;
    try {
        section949 = cp949(section);
        key949 = cp949(key);
    } catch (const EncodingError&) {
        return std::nullopt;
    }
    return IniFile(nativePath(iniPath(fileName))).read(section949, key949);
}

QString defaultWorkFolder()
{
    return DataFoldersFor(ProgramFolder()).firstWork;
}

// Whether the user can create files in `folder`, found by creating one: the permission bits
// alone call any folder writable for root.
bool userCanWrite(const QString& folder)
{
    QTemporaryFile probe(folder + QStringLiteral(".lavodc-write-test-XXXXXX"));
    return probe.open();   // removed again when `probe` goes
}

bool underSystemPrefix(const QString& folder)
{
    static const char* const prefixes[] = {"/usr/", "/opt/"};
    for (const char* prefix : prefixes)
        if (folder.startsWith(QLatin1String(prefix)))
            return true;
    return false;
}

// Root may write anywhere, so writability alone would let an installed copy run by root fill
// its own folder with files no package owns.
bool installedFolder(const QString& program)
{
    const QFileInfo info(program);
    const QString real = info.exists() ? withTrailingSlash(info.canonicalFilePath()) : program;
    if (QFileInfo::exists(real + QLatin1String(kInstalledMarkerName)))
        return true;
    if (underSystemPrefix(program) || underSystemPrefix(real))
        return true;
    if (info.exists() && info.ownerId() != static_cast<uint>(::geteuid()))
        return true;
    return !userCanWrite(program);
}

// Decided once a folder for the run: every settings value read or written asks for the data
// folder, and a file made and removed for each would be work for nothing.
bool installedFolderOnce(const QString& program)
{
    static QHash<QString, bool> known;
    const auto found = known.constFind(program);
    if (found != known.constEnd())
        return found.value();
    const bool installed = installedFolder(program);
    known.insert(program, installed);
    return installed;
}

} // namespace

DataFolders DataFoldersFor(const QString& programFolder)
{
    const QString program = withTrailingSlash(programFolder);
    if (!installedFolderOnce(program))
        return {program, program + QStringLiteral("Work/")};
    DataFolders folders;
    folders.data = withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
                   QStringLiteral("lavodc/");
    QDir().mkpath(folders.data);   // a failure shows at the first write
    folders.firstWork = withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)) +
                        QStringLiteral("근로내역/");
    return folders;
}

QString DataFolder()
{
    return DataFoldersFor(ProgramFolder()).data;
}

QString ProgramFolder()
{
    const QString& folder = programFolderOverride();
    if (!folder.isEmpty())
        return folder;
    return withTrailingSlash(QCoreApplication::applicationDirPath());
}

void SetProgramFolder(const QString& folder)
{
    programFolderOverride() = withTrailingSlash(folder);
}

QString ReadIniText(const QString& fileName, const QString& section, const QString& key,
                    const QString& defaultValue)
{
    const auto value = readRaw(fileName, section, key);
    return value ? unicode(*value) : defaultValue;
}

void WriteIniText(const QString& fileName, const QString& section, const QString& key,
                  const QString& value)
{
    const QString path = iniPath(fileName);
    std::string section949, key949, value949;
    try {
        section949 = cp949(section);
        key949 = cp949(key);
        value949 = cp949(value);
    } catch (const EncodingError& e) {
        throw SettingsError("Unable to write to " + path.toStdString() + ": " + e.what());
    }
    try {
        IniFile(nativePath(path)).writeText(section949, key949, value949);
    } catch (const IniWriteError&) {
        throw SettingsError("Unable to write to " + path.toStdString());
    }
}

int ReadIniInteger(const QString& fileName, const QString& section, const QString& key, int defaultValue)
{
    const auto value = readRaw(fileName, section, key);
    if (!value)
        return defaultValue;
    return ParseIniInteger(*value).value_or(defaultValue);
}

QString GetWorkFolder(const QString& iniName)
{
    QString folder = ReadIniText(iniName, workSection(), workKey(), QString());
    if (folder.isEmpty()) {
        folder = defaultWorkFolder();
        WriteIniText(iniName, workSection(), workKey(), folder);
    }
    folder = withTrailingSlash(folder);
    QDir dir(folder);
    if (!dir.exists())
        QDir().mkpath(folder);
    if (!QDir(folder).exists())
        return defaultWorkFolder(); // neither created nor written into the file
    return folder;
}

void SaveWorkFolder(const QString& filePath, const QString& iniName)
{
    const QString full = QDir::cleanPath(QFileInfo(filePath).absoluteFilePath());
    const QString folder = withTrailingSlash(QFileInfo(full).path());
    if (!QDir(folder).exists())
        QDir().mkpath(folder);
    std::error_code ec;
    std::filesystem::current_path(nativePath(folder), ec);
    if (ec)
        throw SettingsError("Cannot make " + folder.toStdString() + " the current folder: " + ec.message());
    WriteIniText(iniName, workSection(), workKey(), folder);
}

bool ScreenWiderThan(int width)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr && width < screen->geometry().width();
}

} // namespace lavodc
