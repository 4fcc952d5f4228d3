#include "app/application_setup.h"

#include "app/app_texts.h"
#include "services/qt_translation.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

namespace lavodc {

QTranslator* SetUpApplication(QApplication& app)
{
    QApplication::setApplicationName(ApplicationTitle());
    // No display name of its own: the platform would append it to every caption
    // (" 확인!! — 근로내역확인서"). The taskbar shows the main window's title and the
    // desktop entry's name instead.
    QGuiApplication::setDesktopFileName(DesktopId());
    QApplication::setWindowIcon(QIcon::fromTheme(DesktopId()));
    QApplication::setFont(QFont(QStringLiteral("NanumGothic"), 9));
    return InstallQtKoreanTranslation(app);
}

} // namespace lavodc
