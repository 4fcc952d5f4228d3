// Shows one of the program's pages (help, download) in a modal window of the given place
// and size. Links open in the desktop's application for them.
#include "core/cp949.h"

#include <QDesktopServices>
#include <QDialog>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

extern "C" Q_DECL_EXPORT void peekshow(int top, int left, int height, int width, const char* address)
{
    const QString page = QString::fromStdString(lavodc::fromCp949(address ? address : ""));
    QDialog window;
    window.setWindowTitle(QStringLiteral("근로내역확인서"));
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browser = new QTextBrowser(&window);
    // Pages are followed in the window; the form and the sample sheet open in the desktop's
    // application for them.
    browser->setOpenLinks(false);
    QObject::connect(browser, &QTextBrowser::anchorClicked, browser, [browser](const QUrl& link) {
        const QUrl target = browser->source().resolved(link);
        if (target.path().endsWith(QStringLiteral(".html")))
            browser->setSource(target);
        else
            QDesktopServices::openUrl(target);
    });
    browser->setFont(QFont(QStringLiteral("NanumGothic"), 10));
    browser->setSource(QUrl(page));
    layout->addWidget(browser);
    window.setGeometry(left, top, width, height);
    window.exec();
}
