#include "services/desktop_export.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

namespace lavodc {

bool DesktopOpener::OpenWorkbook(const QString& path, QString& reason)
{
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
    reason = QStringLiteral("No application on this desktop opens the workbook.");
    return false;
}

void SystemClipboard::SetText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace lavodc
