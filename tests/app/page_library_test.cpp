#include "app/page_library.h"

#include "scripted_prompts.h"

#include <QFile>
#include <QLibrary>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace lavodc {
namespace {

TEST(PageLibraryTest, MissingLibraryBeepsAndSaysSo)
{
    testing::ScriptedPrompts prompts;
    prompts.expectInfo();
    ShowPeekPage(prompts, QStringLiteral("/nonexistent/libsitepeek.so"), QRect(1, 2, 3, 4), QStringLiteral("x"));
    EXPECT_EQ(prompts.beeps, 1);
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_EQ(prompts.texts[0], QStringLiteral("sitepeek.dll 파일에 문제가 있거나 Dll 파일을 찾을 수 없습니다"));
}

TEST(PageLibraryTest, LibraryWithoutTheEntrySaysWhichEntry)
{
    testing::ScriptedPrompts prompts;
    prompts.expectMessage();
    ShowPeekPage(prompts, QStringLiteral(LAVODC_FAKE_PEEK), QRect(), QString(), "noSuchEntry");
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_TRUE(prompts.texts[0].contains(QStringLiteral("noSuchEntry")));
    EXPECT_EQ(prompts.beeps, 0);
}

TEST(PageLibraryTest, TheEntryGetsTopLeftHeightWidthAndTheAddress)
{
    void* keeper = dlopen(LAVODC_FAKE_PEEK, RTLD_NOW);
    ASSERT_NE(keeper, nullptr) << dlerror();
    using Recorded = int (*)(int*, const char**);
    auto recorded = reinterpret_cast<Recorded>(dlsym(keeper, "FakePeekCalls"));
    ASSERT_NE(recorded, nullptr);
    int place[4] = {};
    const char* address = nullptr;
    const int before = recorded(place, &address);

    testing::ScriptedPrompts prompts;
    // Help on a 1280 x 1024 screen: top 0, left 1280 - 660, height 1024 - 10, width 657.
    ShowPeekPage(prompts, QStringLiteral(LAVODC_FAKE_PEEK), HelpPagePlace(QSize(1280, 1024)),
                 HelpPageAddress(QStringLiteral("/opt/lavodc/")));
    EXPECT_EQ(recorded(place, &address), before + 1);
    EXPECT_EQ(place[0], 0);
    EXPECT_EQ(place[1], 620);
    EXPECT_EQ(place[2], 1014);
    EXPECT_EQ(place[3], 657);
    EXPECT_EQ(std::string(address), "file:///opt/lavodc/help/help.html");

    // Download over a window at 121,20 of 1037 x 957: top 20 + 85, left 121 + 1037 - 580.
    ShowPeekPage(prompts, QStringLiteral(LAVODC_FAKE_PEEK), DownloadPagePlace(QRect(121, 20, 1037, 957)),
                 DownloadPageAddress(QStringLiteral("/opt/lavodc/")));
    recorded(place, &address);
    EXPECT_EQ(place[0], 105);
    EXPECT_EQ(place[1], 578);
    EXPECT_EQ(place[2], 580);
    EXPECT_EQ(place[3], 560);
    EXPECT_EQ(prompts.beeps, 0);
    dlclose(keeper);
}

TEST(PageLibraryTest, OurLibraryExportsTheEntryAndItsPagesShip)
{
    QLibrary library(PageLibraryPath(QStringLiteral(LAVODC_BIN_DIR "/")));
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    EXPECT_NE(library.resolve("peekshow"), nullptr);
    for (const char* page : {"help.html", "download.html", "sample.Lvo", "blank-form.pdf"})
        EXPECT_TRUE(QFile::exists(QStringLiteral(LAVODC_BIN_DIR "/help/") + QLatin1String(page))) << page;
}

} // namespace
} // namespace lavodc
