#include "app/sibling_library.h"

#include "core/cp949.h"
#include "scripted_prompts.h"

#include <QLibrary>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace lavodc {
namespace {

const QString kBinDir = QStringLiteral(LAVODC_BIN_DIR "/");

TEST(AboutBoxTest, MissingLibraryBeepsAndSaysSo)
{
    testing::ScriptedPrompts prompts;
    prompts.expectInfo();
    ShowAboutBox(prompts, QStringLiteral("/nonexistent/libinfovane.so"));
    EXPECT_EQ(prompts.beeps, 1);
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_EQ(prompts.texts[0], QStringLiteral("InfoVane.dll 파일에 문제가 있거나 Dll 파일을 찾을 수 없습니다"));
}

TEST(AboutBoxTest, LibraryWithoutTheEntryShowsTheErrorText)
{
    testing::ScriptedPrompts prompts;
    prompts.expectMessage();
    ShowAboutBox(prompts, AboutLibraryPath(kBinDir), "NoSuchEntry");
    EXPECT_EQ(prompts.beeps, 1);
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_TRUE(prompts.texts[0].contains(QStringLiteral("NoSuchEntry"))) << prompts.texts[0].toStdString();
}

TEST(AboutBoxTest, TheEntryGetsTheTwoTextsInCp949)
{
    // Held open by the loader itself (QLibrary shares one handle per file and would unmap
    // it) so that what the library recorded outlives ShowAboutBox's unload.
    void* keeper = dlopen(LAVODC_FAKE_VANE, RTLD_NOW);
    ASSERT_NE(keeper, nullptr) << dlerror();
    using Recorded = int (*)(const char**, const char**);
    auto recorded = reinterpret_cast<Recorded>(dlsym(keeper, "FakeVaneCalls"));
    ASSERT_NE(recorded, nullptr);

    testing::ScriptedPrompts prompts;
    ShowAboutBox(prompts, QStringLiteral(LAVODC_FAKE_VANE));
    EXPECT_EQ(prompts.beeps, 1);
    const char* change = nullptr;
    const char* version = nullptr;
    EXPECT_EQ(recorded(&change, &version), 1);
    EXPECT_EQ(std::string(change), K("변경: 2010년01월08일 "));
    EXPECT_EQ(std::string(version), K("PROJECT: 근로내역확인신고서 LavoDc Ver2.3"));
    dlclose(keeper);
}

TEST(AboutBoxTest, OurLibraryExportsTheEntry)
{
    // Calling it would open the modal about box; that it resolves is what the window needs.
    QLibrary library(AboutLibraryPath(kBinDir));
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    EXPECT_NE(library.resolve("ShowVane"), nullptr);
}

} // namespace
} // namespace lavodc
