#include "services/desktop_apps.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>

namespace lavodc {

namespace {

// The "key=value" lines of one group of a desktop or mimeapps file; values as written.
QHash<QString, QString> readGroup(const QString& path, const QString& group)
{
    QHash<QString, QString> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    QTextStream in(&file);
    bool inGroup = false;
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == header;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inGroup && equals > 0 && !line.startsWith(QLatin1Char('#')))
            values.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return values;
}

QStringList listValue(const QString& value)
{
    return value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

struct DesktopEntry {
    QStringList mimeTypes;
    bool usable = false;   // an application that is neither hidden nor missing its program
};

// Every entry of the applications folders by its id; the first folder that holds an id
// (the user's before the system's) decides it.
QHash<QString, DesktopEntry> desktopEntries()
{
    QHash<QString, DesktopEntry> entries;
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        const QDir base(folder);
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString id = base.relativeFilePath(path).replace(QLatin1Char('/'), QLatin1Char('-'));
            if (entries.contains(id))
                continue;
            const QHash<QString, QString> group = readGroup(path, QStringLiteral("Desktop Entry"));
            DesktopEntry entry;
            entry.mimeTypes = listValue(group.value(QStringLiteral("MimeType")));
            const QString tryExec = group.value(QStringLiteral("TryExec"));
            entry.usable = group.value(QStringLiteral("Type")) == QLatin1String("Application") &&
                           group.value(QStringLiteral("Hidden")) != QLatin1String("true") &&
                           (tryExec.isEmpty() || !QStandardPaths::findExecutable(tryExec).isEmpty() ||
                            (QDir::isAbsolutePath(tryExec) && QFile::exists(tryExec)));
            entries.insert(id, entry);
        }
    }
    return entries;
}

// The mimeapps.list files, the most important first.
QStringList mimeappsFiles()
{
    QStringList names;
    for (const QString& desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        names << desktop.toLower() + QStringLiteral("-mimeapps.list");
    names << QStringLiteral("mimeapps.list");
    QStringList files;
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        for (const QString& name : names)
            files << QDir(folder).filePath(name);
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
        for (const QString& name : names)
            files << QDir(folder).filePath(name);
    return files;
}

} // namespace

QStringList DesktopApplicationsFor(const QString& mimeType)
{
    const QHash<QString, DesktopEntry> entries = desktopEntries();
    QStringList associated;
    QSet<QString> removed;
    for (const QString& file : mimeappsFiles()) {
        // A removal holds for the associations of this file and of the files after it.
        const QStringList removedHere =
            listValue(readGroup(file, QStringLiteral("Removed Associations")).value(mimeType));
        for (const QString& group : {QStringLiteral("Default Applications"), QStringLiteral("Added Associations")})
            for (const QString& id : listValue(readGroup(file, group).value(mimeType)))
                if (!removed.contains(id) && !removedHere.contains(id))
                    associated << id;
        for (const QString& id : removedHere)
            removed.insert(id);
    }
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it)
        if (it.value().mimeTypes.contains(mimeType) && !removed.contains(it.key()))
            associated << it.key();

    QStringList usable;
    for (const QString& id : associated) {
        const auto entry = entries.constFind(id);
        if (entry != entries.constEnd() && entry.value().usable && !usable.contains(id))
            usable << id;
    }
    return usable;
}

} // namespace lavodc
