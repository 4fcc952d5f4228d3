// Program entry: one running copy only, then the main window until it closes.
#include "app/app_texts.h"
#include "app/main_window.h"
#include "app/recovery_keeper.h"
#include "app/single_instance.h"
#include "editing/masked_line_edit.h"
#include "services/qt_prompts.h"
#include "services/settings.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(lavodc::ApplicationTitle());
    QApplication::setApplicationDisplayName(lavodc::ApplicationTitle());
    QApplication::setFont(QFont(QStringLiteral("NanumGothic"), 9));
    // Dates are shown in the core's one format ("yyyy.mm.dd", TodayText) rather than a
    // locale's: no Qt locale has that short format.

    lavodc::SingleInstance instance(lavodc::SingleInstance::defaultKey());
    const bool mayRun = lavodc::StartOrHandOver(instance, [] {
        QMessageBox::information(nullptr, QStringLiteral(" 확인!!"),
                                 QStringLiteral(" 프로그램이 이미 실행중입니다."));
    });
    if (!mayRun)
        return 0;

    lavodc::QtPrompts prompts(nullptr);
    lavodc::Tmainf mainf(prompts, lavodc::ProgramFolder());
    QObject::connect(&instance, &lavodc::SingleInstance::comeForwardRequested, &mainf,
                     &lavodc::Tmainf::comeForward);
    mainf.show();
    // After the first sheet is shown: offers back the work of a run that ended without closing,
    // then keeps a copy of unsaved changes.
    lavodc::RecoveryKeeper recovery(mainf.controller(), prompts, lavodc::ProgramFolder() + QStringLiteral("Temp/"));
    recovery.start();
    // Until the window tells of every edit itself: typing in the header boxes counts as a change.
    for (QLineEdit* box : {static_cast<QLineEdit*>(mainf.gsName), static_cast<QLineEdit*>(mainf.gsyear),
                           static_cast<QLineEdit*>(mainf.gmonth), mainf.cmpNo, mainf.indNo, mainf.indName,
                           mainf.MgrName, static_cast<QLineEdit*>(mainf.MgrJmnNo), mainf.cmpAddr, mainf.cmpTel,
                           mainf.cmpName})
        QObject::connect(box, &QLineEdit::textEdited, &recovery, &lavodc::RecoveryKeeper::noteChange);
    // A normal end leaves no copy behind; a crash or a kill never gets here.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &recovery, &lavodc::RecoveryKeeper::discard);
    return app.exec();
}
