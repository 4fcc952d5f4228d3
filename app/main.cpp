// Program entry: one running copy only, then the main window until it closes. A sheet file
// named on the command line is opened after start, or handed to the copy already running.
#include "app/application_setup.h"
#include "app/main_window.h"
#include "app/recovery_keeper.h"
#include "app/sheet_requests.h"
#include "app/single_instance.h"
#include "services/qt_prompts.h"
#include "services/settings.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    lavodc::SetUpApplication(app);
    // Dates are shown in the core's one format ("yyyy.mm.dd", TodayText) rather than a
    // locale's: no Qt locale has that short format.

    const QString sheetPath = lavodc::SheetPathArgument(QApplication::arguments());
    lavodc::SingleInstance instance(lavodc::SingleInstance::defaultKey());
    const bool mayRun = lavodc::StartOrHandOver(
        instance,
        [] {
            QMessageBox::information(nullptr, QStringLiteral(" 확인!!"),
                                     QStringLiteral(" 프로그램이 이미 실행중입니다."));
        },
        sheetPath);
    if (!mayRun)
        return 0;

    lavodc::QtPrompts prompts(nullptr);
    lavodc::Tmainf mainf(prompts, lavodc::ProgramFolder());
    lavodc::SheetRequests requests(instance, mainf);
    mainf.show();
    if (!sheetPath.isEmpty())
        requests.openWhenIdle(sheetPath);
    // After the first sheet is shown: offers back the work of a run that ended without closing,
    // then keeps a copy of unsaved changes.
    lavodc::RecoveryKeeper recovery(mainf.controller(), prompts, lavodc::DataFolder() + QStringLiteral("Temp/"));
    recovery.start();
    QObject::connect(&mainf, &lavodc::Tmainf::sheetEdited, &recovery, &lavodc::RecoveryKeeper::noteChange);
    // A normal end leaves no copy behind; a crash or a kill never gets here.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &recovery, &lavodc::RecoveryKeeper::discard);
    return app.exec();
}
