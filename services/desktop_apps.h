#pragma once
// Which applications the desktop has for a type of file, found as the desktop itself finds
// them: desktop entries in the applications folders of $XDG_DATA_HOME and $XDG_DATA_DIRS that
// name the type, and the associations of the mimeapps.list files. Asked before a file is
// handed to the desktop, whose launcher reports success even when nothing then opens it.

#include <QString>
#include <QStringList>

namespace lavodc {

// The desktop ids (as "libreoffice-calc.desktop") that would open a file of `mimeType`: the
// entries naming the type or associated with it, less the associations removed and the
// entries hidden. Empty when nothing on this desktop opens such a file.
QStringList DesktopApplicationsFor(const QString& mimeType);

} // namespace lavodc
