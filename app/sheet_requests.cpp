#include "app/sheet_requests.h"

#include "app/main_window.h"
#include "app/single_instance.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace lavodc {

namespace {
constexpr int kRetryMs = 100;
}

QString SheetPathArgument(const QStringList& arguments)
{
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument.isEmpty() || (!optionsEnded && argument.startsWith(QLatin1Char('-'))))
            continue;
        return QDir::cleanPath(QFileInfo(argument).absoluteFilePath());
    }
    return QString();
}

SheetRequests::SheetRequests(SingleInstance& instance, Tmainf& window) : window_(window)
{
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &SheetRequests::tryOpen);
    connect(&instance, &SingleInstance::comeForwardRequested, this, [this] { window_.comeForward(); });
    connect(&instance, &SingleInstance::openRequested, this, [this](const QString& path) {
        window_.comeForward();
        openWhenIdle(path);
    });
}

void SheetRequests::openWhenIdle(const QString& path)
{
    pending_ = path;
    retry_.start(0);
}

void SheetRequests::tryOpen()
{
    if (pending_.isEmpty())
        return;
    if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr ||
        window_.controller().Busy()) {
        retry_.start(kRetryMs);
        return;
    }
    window_.controller().OpenSheetPath(std::exchange(pending_, QString()));
}

} // namespace lavodc
