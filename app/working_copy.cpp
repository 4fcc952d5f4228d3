#include "app/working_copy.h"

#include "services/settings.h"

#include <QDir>
#include <QFile>

namespace lavodc {

QString TemplatePath(const QString& programFolder)
{
    return programFolder + QStringLiteral("TmLdoc.str");
}

QString WorkingCopyPath(const QString& programFolder)
{
    return DataFoldersFor(programFolder).data + QStringLiteral("Temp/TmpLdoc.cds");
}

void PrepareWorkingCopy(const QString& programFolder)
{
    QDir().mkpath(DataFoldersFor(programFolder).data + QStringLiteral("Temp"));
    const QString workingCopy = WorkingCopyPath(programFolder);
    if (!QFile::exists(workingCopy))
        QFile::copy(TemplatePath(programFolder), workingCopy);   // QFile::copy never overwrites
}

} // namespace lavodc
