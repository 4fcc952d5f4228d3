#include "app/working_copy.h"

#include <QDir>
#include <QFile>

namespace lavodc {

QString TemplatePath(const QString& programFolder)
{
    return programFolder + QStringLiteral("TmLdoc.str");
}

QString WorkingCopyPath(const QString& programFolder)
{
    return programFolder + QStringLiteral("Temp/TmpLdoc.cds");
}

void PrepareWorkingCopy(const QString& programFolder)
{
    QDir().mkpath(programFolder + QStringLiteral("Temp"));
    const QString workingCopy = WorkingCopyPath(programFolder);
    if (!QFile::exists(workingCopy))
        QFile::copy(TemplatePath(programFolder), workingCopy);   // QFile::copy never overwrites
}

} // namespace lavodc
