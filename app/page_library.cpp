#include "app/page_library.h"

#include "core/cp949.h"

#include <QLibrary>
#include <QUrl>

namespace lavodc {

QString PageLibraryPath(const QString& programFolder)
{
    return programFolder + QStringLiteral("libsitepeek.so");
}

QString HelpPageAddress(const QString& programFolder)
{
    return QUrl::fromLocalFile(programFolder + QStringLiteral("help/help.html")).toString();
}

QString DownloadPageAddress(const QString& programFolder)
{
    return QUrl::fromLocalFile(programFolder + QStringLiteral("help/download.html")).toString();
}

// QRect(left, top, width, height).
QRect HelpPagePlace(const QSize& screen)
{
    return QRect(screen.width() - 660, 0, 657, screen.height() - 10);
}

QRect DownloadPagePlace(const QRect& mainWindow)
{
    return QRect(mainWindow.left() + mainWindow.width() - 580, mainWindow.top() + 85, 560, 580);
}

void ShowPeekPage(Prompts& prompts, const QString& libraryPath, const QRect& place,
                  const QString& address, const char* entryName)
{
    QLibrary library(libraryPath);
    if (!library.load()) {
        prompts.Beep();
        prompts.InfoBox(QStringLiteral("sitepeek.dll 파일에 문제가 있거나 Dll 파일을 찾을 수 없습니다"));
        return;
    }
    auto entry = reinterpret_cast<PeekShowEntry>(library.resolve(entryName));
    if (!entry) {
        prompts.MessageBox(QString(), QStringLiteral("Cannot resolve symbol \"%1\" in %2")
                                          .arg(QString::fromLatin1(entryName), libraryPath));
    } else {
        const std::string cp949 = toCp949(address.toStdString());
        entry(place.top(), place.left(), place.height(), place.width(), cp949.c_str());
    }
    library.unload();
}

} // namespace lavodc
