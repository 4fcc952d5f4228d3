// Which applications the desktop has for the exported workbooks, in scratch XDG folders.
#include "services/desktop_apps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace lavodc;

namespace {

const QString kSheetType = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

struct AppsCase {
    const char* label;
    // Files below the scratch folder: "data-home/", "data-dir/", "config-home/", "config-dir/".
    std::vector<std::pair<const char*, const char*>> files;
    QStringList expected;
};

void PrintTo(const AppsCase& c, std::ostream* out) { *out << c.label; }

const char* const kCalc = "[Desktop Entry]\nType=Application\nName=Calc\nExec=calc %U\n"
                          "MimeType=text/csv;application/vnd.openxmlformats-officedocument.spreadsheetml.sheet;\n";
const char* const kViewer = "[Desktop Entry]\nType=Application\nName=Viewer\nExec=viewer %f\n";

class DesktopAppsTest : public ::testing::TestWithParam<AppsCase> {};

TEST_P(DesktopAppsTest, FindsWhatWouldOpenAWorkbook)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString root = scratch.path() + QLatin1Char('/');
    for (const auto& [name, contents] : GetParam().files) {
        const QString path = root + QString::fromUtf8(name);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    ScopedEnv dataHome("XDG_DATA_HOME", QFile::encodeName(root + QStringLiteral("data-home")));
    ScopedEnv dataDirs("XDG_DATA_DIRS", QFile::encodeName(root + QStringLiteral("data-dir")));
    ScopedEnv configHome("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("config-home")));
    ScopedEnv configDirs("XDG_CONFIG_DIRS", QFile::encodeName(root + QStringLiteral("config-dir")));
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "GNOME");

    EXPECT_EQ(DesktopApplicationsFor(kSheetType), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, DesktopAppsTest,
    ::testing::Values(
        AppsCase{"NothingInstalled", {}, {}},
        AppsCase{"AnEntryNamingTheType", {{"data-dir/applications/calc.desktop", kCalc}}, {"calc.desktop"}},
        AppsCase{"AnEntryInASubfolder", {{"data-dir/applications/office/calc.desktop", kCalc}}, {"office-calc.desktop"}},
        AppsCase{"OnlyEntriesForOtherTypes",
                 {{"data-dir/applications/viewer.desktop", "[Desktop Entry]\nType=Application\nExec=v\nMimeType=text/plain;\n"}},
                 {}},
        AppsCase{"HiddenByTheUser",
                 {{"data-dir/applications/calc.desktop", kCalc},
                  {"data-home/applications/calc.desktop", "[Desktop Entry]\nType=Application\nHidden=true\n"}},
                 {}},
        AppsCase{"ItsProgramIsMissing",
                 {{"data-dir/applications/calc.desktop",
                   "[Desktop Entry]\nType=Application\nTryExec=/nonexistent/calc\nExec=calc\n"
                   "MimeType=application/vnd.openxmlformats-officedocument.spreadsheetml.sheet;\n"}},
                 {}},
        AppsCase{"AssociatedByTheUser",
                 {{"data-dir/applications/viewer.desktop", kViewer},
                  {"config-home/mimeapps.list",
                   "[Added Associations]\napplication/vnd.openxmlformats-officedocument.spreadsheetml.sheet=viewer.desktop;\n"}},
                 {"viewer.desktop"}},
        AppsCase{"ADefaultThatIsNotInstalled",
                 {{"config-home/mimeapps.list",
                   "[Default Applications]\napplication/vnd.openxmlformats-officedocument.spreadsheetml.sheet=gone.desktop\n"}},
                 {}},
        AppsCase{"AssociationRemovedByTheUser",
                 {{"data-dir/applications/calc.desktop", kCalc},
                  {"config-home/mimeapps.list",
                   "[Removed Associations]\napplication/vnd.openxmlformats-officedocument.spreadsheetml.sheet=calc.desktop;\n"}},
                 {}},
        AppsCase{"TheDesktopsOwnList",
                 {{"data-dir/applications/viewer.desktop", kViewer},
                  {"config-dir/gnome-mimeapps.list",
                   "[Default Applications]\napplication/vnd.openxmlformats-officedocument.spreadsheetml.sheet=viewer.desktop\n"}},
                 {"viewer.desktop"}}),
    [](const ::testing::TestParamInfo<AppsCase>& info) { return std::string(info.param.label); });

} // namespace
