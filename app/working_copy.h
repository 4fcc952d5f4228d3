#pragma once
// The working folder "Temp" in the data folder (services/settings) and the table's working
// copy in it, made from the template shipped in the program's folder.

#include <QString>

namespace lavodc {

QString TemplatePath(const QString& programFolder);       // TmLdoc.str
QString WorkingCopyPath(const QString& programFolder);    // Temp/TmpLdoc.cds

// Creates Temp/ and copies the template to the working copy when the copy is missing;
// an existing working copy is kept. Failures are left for New to report.
void PrepareWorkingCopy(const QString& programFolder);

} // namespace lavodc
