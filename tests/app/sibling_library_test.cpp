#include "app/sibling_library.h"

#include "scripted_prompts.h"

#include <QLibrary>
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

TEST(AboutBoxTest, OurLibraryExportsTheEntry)
{
    // Calling it would open the modal about box; that it resolves is what the window needs.
    QLibrary library(AboutLibraryPath(kBinDir));
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    EXPECT_NE(library.resolve("ShowVane"), nullptr);
}

} // namespace
} // namespace lavodc
