#include "app/sibling_library.h"

#include "core/cp949.h"

#include <QLibrary>

namespace lavodc {

QString AboutLibraryPath(const QString& programFolder)
{
    // Loaded by full path, so that no same-named library elsewhere on the search path
    // is picked up instead of ours.
    return programFolder + QStringLiteral("libinfovane.so");
}

void ShowAboutBox(Prompts& prompts, const QString& libraryPath, const char* entryName)
{
    static const std::string changeLine = K("변경: 2010년01월08일 ");
    static const std::string versionLine = K("PROJECT: 근로내역확인신고서 LavoDc Ver2.3");

    QLibrary library(libraryPath);
    const bool loaded = library.load();
    prompts.Beep();
    if (!loaded) {
        prompts.InfoBox(QStringLiteral("InfoVane.dll 파일에 문제가 있거나 Dll 파일을 찾을 수 없습니다"));
        return;
    }
    auto entry = reinterpret_cast<ShowVaneEntry>(library.resolve(entryName));
    if (!entry) {
        // QLibrary keeps no error text for a failed look-up, so the text is made here.
        prompts.MessageBox(QString(), QStringLiteral("Cannot resolve symbol \"%1\" in %2")
                                          .arg(QString::fromLatin1(entryName), libraryPath));
    } else {
        entry(changeLine.c_str(), versionLine.c_str());
    }
    library.unload();
}

} // namespace lavodc
