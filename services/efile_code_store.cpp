#include "services/efile_code_store.h"

#include "core/safe_save.h"
#include "core/worker_entry_lists.h"
#include "services/settings.h"

#include <QFile>

#include <cerrno>

namespace lavodc {

namespace {

// Far more foreigners than a site employs; a larger file is not this program's.
constexpr std::size_t kMostPeopleFileBytes = 16 << 20;

const QString& jobSection()
{
    static const QString section = QStringLiteral("전자신고직종");
    return section;
}

std::string native(const QString& path) { return QFile::encodeName(path).toStdString(); }

} // namespace

QString PeopleFilePath()
{
    return DataFolder() + QLatin1String(kPeopleFileName);
}

JobCodes ReadJobTable(const QString& iniName)
{
    JobCodes codes;
    for (const std::string& entry : JobEntries()) {
        const std::string key = entry.substr(0, 1);
        const QString value = ReadIniText(iniName, jobSection(), QString::fromLatin1(key), QString());
        const std::string code = JobCodeOf(value.toStdString());
        if (!code.empty() && code == value.trimmed().toStdString())
            codes[key] = code;
    }
    return codes;
}

void WriteJobTable(const QString& iniName, const JobCodes& changes)
{
    for (const auto& [key, code] : changes)
        WriteIniText(iniName, jobSection(), QString::fromLatin1(key), QString::fromLatin1(code));
}

PeopleCodeFile ReadPeopleFile()
{
    std::string bytes;
    try {
        bytes = ReadSmallRegularFile(native(PeopleFilePath()), kMostPeopleFileBytes);
    } catch (const FileError& error) {
        if (error.code() == ENOENT)
            return {};
        throw;
    }
    return ParsePeopleCodes(bytes);
}

void SavePeopleCodes(const PeopleCodes& updates)
{
    const std::string path = native(PeopleFilePath());
    std::string existing;
    try {
        existing = ReadSmallRegularFile(path, kMostPeopleFileBytes);
    } catch (const FileError& error) {
        if (error.code() != ENOENT)
            throw;
    }
    const std::string text = PeopleFileText(existing, updates);
    SafeSave save(path);
    save.makePrivate();
    save.write(text.data(), text.size());
    save.commit();
}

} // namespace lavodc
