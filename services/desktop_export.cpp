#include "services/desktop_export.h"

#include "services/desktop_apps.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

namespace lavodc {

namespace {
const QString& workbookType()
{
    static const QString type = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
    return type;
}
} // namespace

bool DesktopOpener::OpenWorkbook(const QString& path, QString& reason)
{
    // The desktop's launcher starts and says yes whether or not anything then opens the file.
    if (DesktopApplicationsFor(workbookType()).isEmpty()) {
        reason = QStringLiteral("이 컴퓨터에는 통합 문서(.xlsx)를 여는 프로그램이 없습니다.");
        return false;
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
    reason = QStringLiteral("통합 문서를 여는 프로그램을 시작하지 못했습니다.");
    return false;
}

void SystemClipboard::SetText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace lavodc
