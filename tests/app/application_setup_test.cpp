// The program's identity on the desktop and the Korean texts of Qt, as the entry sets them.
#include "app/application_setup.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace lavodc {
namespace {

class ApplicationSetupTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QCoreApplication::setApplicationName(previousName);
        QGuiApplication::setDesktopFileName(previousDesktopName);
    }

    QString previousName = QCoreApplication::applicationName();
    QString previousDesktopName = QGuiApplication::desktopFileName();
    QTranslator* translator = nullptr;
};

TEST_F(ApplicationSetupTest, NamesTheProgramWithoutACaptionSuffixAndLoadsQtsKorean)
{
    translator = SetUpApplication(*qApp);
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("근로내역확인서"));
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("org.example.lavodc"));

    // The platform appends a display name to every caption only when one was set: without
    // one, the display name simply follows the application's name.
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));

    ASSERT_NE(translator, nullptr);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("취소"));
}

} // namespace
} // namespace lavodc
