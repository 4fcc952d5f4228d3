#include "app/main_window.h"

#include "app/title_strip.h"
#include "app/window_placement.h"
#include "app/working_copy.h"
#include "app_test_folder.h"
#include "core/cp949.h"
#include "editing/masked_line_edit.h"
#include "editing/worker_list_view.h"
#include "scripted_prompts.h"

#include <QEnterEvent>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace lavodc {
namespace {

using testing::ScriptedPrompts;
using testing::ScratchProgramFolder;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorkerTable::WriteStructure(TemplatePath(folder.path()).toStdString());
    }

    // The window as the program shows it: placement, Temp/, first New.
    Tmainf& showWindow()
    {
        window = std::make_unique<Tmainf>(prompts, folder.path());
        window->show();
        return *window;
    }

    // The pointer moves onto `widget`: a move, then the Enter.
    void hover(QWidget* widget)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), widget->mapToGlobal(QPointF(1, 1)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), widget->mapToGlobal(QPointF(1, 1)));
        QCoreApplication::sendEvent(widget, &enter);
    }

    ScratchProgramFolder folder;
    ScriptedPrompts prompts;
    std::unique_ptr<Tmainf> window;
};

TEST_F(MainWindowTest, ShowPlacesTheWindowAndStartsAnUntitledSheet)
{
    Tmainf& w = showWindow();
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const WindowPlacement expected = DefaultPlacement(screen.width(), screen.height());
    EXPECT_EQ(w.geometry(), QRect(expected.left, expected.top, expected.width, expected.height));
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);

    EXPECT_TRUE(w.sheet().table.Active());
    EXPECT_FALSE(w.controller().SheetModified());
    EXPECT_EQ(w.FileLabel->text(), QStringLiteral("파일명: 이름없음.Lvo"));
    EXPECT_EQ(w.FileUnderline->width(), w.FileLabel->width() + 2);
    EXPECT_EQ(w.FileUnderline->height(), 2);
    EXPECT_EQ(w.gsyear->maskedBytes(), CurrentPeriod().substr(0, 4));
    EXPECT_EQ(w.gmonth->maskedBytes(), CurrentPeriod().substr(5, 2));
}

// A placement from the settings file that would leave the window off every screen, or too small
// to use, is corrected: whole on a screen's available area, at least the designed size (the area,
// where the screen is smaller).
TEST_F(MainWindowTest, APlacementFromTheSettingsIsKeptWholeOnTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize least(std::min(1016, area.width()), std::min(665, area.height()));
    const char* placements[] = {
        "fTop=-3000\r\nfLft=-3000\r\nfHgt=1\r\nfWid=1\r\n",
        "fTop=5000\r\nfLft=9000\r\n",
        "fHgt=0\r\nfWid=-40\r\n",
        "fTop=100\r\nfLft=100\r\nfHgt=90000\r\nfWid=90000\r\n",
    };
    for (const char* keys : placements) {
        SCOPED_TRACE(keys);
        folder.writeFile(QStringLiteral("lavocfg.ini"), std::string("[근로내역]\r\n") + keys);
        Tmainf& w = showWindow();
        EXPECT_TRUE(area.contains(w.frameGeometry())) << w.frameGeometry().x() << "," << w.frameGeometry().y() << " "
                                                      << w.width() << "x" << w.height();
        EXPECT_GE(w.width(), least.width());
        EXPECT_GE(w.height(), least.height());
        window.reset();
    }
}

TEST_F(MainWindowTest, RightHandButtonsKeepTheirDistanceFromTheRightEdge)
{
    Tmainf& w = showWindow();
    const int width = w.width();
    EXPECT_EQ(w.mExit0->x(), width - 27);
    EXPECT_EQ(w.QuitBtn->x(), width - 57);
    EXPECT_EQ(w.Hinfo->x(), width - 85);
    EXPECT_EQ(w.DgaBtn->x(), width - 111);
    EXPECT_EQ(w.dDTZIP->x(), width - 137);
    EXPECT_EQ(w.HelpBtn->x(), width - 164);
    EXPECT_EQ(w.mExit0->size(), QSize(15, 15));
    EXPECT_EQ(w.TopTitle->height(), 22);
}

TEST_F(MainWindowTest, ShowMakesTheWorkingCopyFromTheTemplate)
{
    showWindow();
    const QByteArray shipped = folder.readFile(QStringLiteral("TmLdoc.str"));
    ASSERT_FALSE(shipped.isEmpty());
    EXPECT_EQ(folder.readFile(QStringLiteral("Temp/TmpLdoc.cds")), shipped);
}

TEST_F(MainWindowTest, ShowNeverReplacesAnExistingWorkingCopy)
{
    ASSERT_TRUE(QDir().mkpath(folder.path() + QStringLiteral("Temp")));
    ASSERT_TRUE(QFile::rename(TemplatePath(folder.path()), WorkingCopyPath(folder.path())));
    const QByteArray working = folder.readFile(QStringLiteral("Temp/TmpLdoc.cds"));
    // A template that New could not load: had it replaced the copy, New would fail.
    folder.writeFile(QStringLiteral("TmLdoc.str"), "not a table structure\n");

    Tmainf& w = showWindow();
    EXPECT_EQ(folder.readFile(QStringLiteral("Temp/TmpLdoc.cds")), working);
    EXPECT_TRUE(w.sheet().table.Active());
}

TEST_F(MainWindowTest, TheStartTextStaysUntilThePointerMoves)
{
    Tmainf& w = showWindow();
    const QString start = QStringLiteral(" LavoDc 근로내역확인신고서 - 문의: lavodc.example.org   도움말[F1]");
    EXPECT_EQ(w.MsgPanel1->text(), start);
    // A window shown under the pointer gets an Enter that nobody caused.
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), w.WorkerList->mapToGlobal(QPointF(1, 1)));
    QCoreApplication::sendEvent(w.WorkerList, &enter);
    EXPECT_EQ(w.MsgPanel1->text(), start);
    hover(w.WorkerList);
    EXPECT_EQ(w.MsgPanel1->text(),
              QStringLiteral(" 명단등록 F2 /수정 F3 /삭제 Delete /신규 Alt+N /열기 Alt+O /저장 Alt+S /엑셀변환 Alt+E "));
}

TEST_F(MainWindowTest, HintsGoToTheTooltipAndStatusPanel)
{
    Tmainf& w = showWindow();
    EXPECT_EQ(w.MsgPanel0->text(), QStringLiteral("근로내역확인서"));
    EXPECT_EQ(w.MsgPanel0->width(), 95);
    EXPECT_EQ(w.HFileOpen->toolTip(), QStringLiteral("파일열기"));

    hover(w.HFileOpen);
    EXPECT_EQ(w.MsgPanel1->text(),
              QStringLiteral(" 기존 저장되어 있는 근로내역서 파일을 불러옵니다. Alt+O키와 동일합니다."));

    // A hint without a bar is both parts.
    EXPECT_EQ(w.PrtBtn->toolTip(), QStringLiteral("근로내역확인신고서를 출력합니다."));
    hover(w.iconBtn);
    EXPECT_EQ(w.MsgPanel1->text(), QStringLiteral(" lavocfg.ini"));

    // A caption has no hint of its own and shows that of the band container.
    QLabel* caption = w.findChild<QFrame*>(QStringLiteral("Band3"))->findChild<QLabel*>();
    ASSERT_NE(caption, nullptr);
    ASSERT_TRUE(caption->statusTip().isEmpty());
    hover(caption);
    const QString containerHint = QLatin1Char(' ') + w.findChild<QWidget*>(QStringLiteral("Bands"))->statusTip();
    EXPECT_EQ(w.MsgPanel1->text(), containerHint);

    // Leaving a button back into its band shows the band's hint again.
    hover(w.gsName);
    EXPECT_EQ(w.MsgPanel1->text(), QStringLiteral(" 명단등록 F2 /신규 Alt+N /열기 Alt+O /저장 Alt+S "));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(w.gsName, &leave);
    EXPECT_EQ(w.MsgPanel1->text(), containerHint);
}

TEST_F(MainWindowTest, TheEfileCommandSitsBesideTheMonthCommands)
{
    Tmainf& w = showWindow();
    EXPECT_EQ(w.EfileBtn->text(), QStringLiteral("전자신고 파일"));
    EXPECT_EQ(w.EfileBtn->parentWidget(), w.ImportBtn->parentWidget());
    EXPECT_EQ(w.EfileBtn->x(), w.MonthGridBtn->geometry().right() + 1);
    EXPECT_GT(w.FileLabel->x(), w.EfileBtn->geometry().right());
    // An empty sheet has nothing to file; the sheet stays unchanged.
    prompts.expectInfo();
    QTest::mouseClick(w.EfileBtn, Qt::LeftButton);
    EXPECT_FALSE(w.controller().SheetModified());
}

TEST_F(MainWindowTest, QuitAsksAndNoKeepsTheWindow)
{
    Tmainf& w = showWindow();
    prompts.expectConfirm(false);
    QTest::mouseClick(w.QuitBtn, Qt::LeftButton);
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_EQ(prompts.texts[0], QStringLiteral("프로그램을 종료하겠습니까 ??"));

    prompts.expectConfirm(true);
    QTest::mouseClick(w.mExit0, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.sheet().table.Active());
}

TEST_F(MainWindowTest, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindow)
{
    Tmainf& w = showWindow();
    w.controller().SetSheetModified(true);
    prompts.expectSaveQuestion(SaveAnswer::Cancel);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.sheet().table.Active());

    w.controller().SetSheetModified(true);
    prompts.expectSaveQuestion(SaveAnswer::No);
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowTest, ClosingACleanSheetAsksNothing)
{
    Tmainf& w = showWindow();
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(MainWindowTest, AltKeysInAHeaderBoxRunTheDocumentCommands)
{
    Tmainf& w = showWindow();
    w.controller().SetSheetModified(true);
    prompts.expectSaveQuestion(SaveAnswer::Cancel);   // Alt+N: New asks first
    QTest::keyClick(w.cmpTel, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(prompts.texts.size(), 1u);

    w.controller().SetSheetModified(false);
    prompts.expectOpenFile(std::nullopt);             // Alt+O: the open dialog
    QTest::keyClick(w.gsName, Qt::Key_O, Qt::AltModifier | Qt::ControlModifier);
    EXPECT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_EQ(w.gsName->text(), QString());           // the key did not reach the box
}

TEST_F(MainWindowTest, TelephoneBoxTakesDigitsAndHyphenOnly)
{
    Tmainf& w = showWindow();
    QTest::keyClicks(w.cmpTel, QStringLiteral("02a-12 3x4"));
    EXPECT_EQ(w.cmpTel->text(), QStringLiteral("02-1234"));

    // A telephone read back from a file holds a blank; the box must stay editable.
    SheetHeader header;
    header.cmpTel = "042- 123-4567";
    w.pushHeader(header);
    w.cmpTel->end(false);
    QTest::keyClick(w.cmpTel, Qt::Key_Backspace);
    QTest::keyClicks(w.cmpTel, QStringLiteral("8"));
    EXPECT_EQ(w.cmpTel->text(), QStringLiteral("042- 123-4568"));
}

TEST_F(MainWindowTest, ComeForwardRestoresAMinimisedWindow)
{
    Tmainf& w = showWindow();
    w.showMinimized();
    ASSERT_TRUE(w.isMinimized());
    w.comeForward();
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.isVisible());
}

SheetHeader sampleHeader()
{
    SheetHeader h;
    h.gsName = K("한빛 아파트 신축공사");
    h.gsyear = "2010";
    h.gmonth = "01";
    h.cmpNo = "123-45-67890-0";
    h.indNo = "9876543210";
    h.indName = K("(주)한빛건설");
    h.MgrName = K("김관리");
    h.MgrJmnNo = "800101-1234567";
    h.cmpAddr = K("대전광역시 유성구 과학로 1");
    h.cmpTel = "042-123-4567";
    h.cmpName = K("박대표");
    return h;
}

TEST_F(MainWindowTest, HeaderBoxesGiveBackWhatWasShown)
{
    Tmainf& w = showWindow();
    const SheetHeader shown = sampleHeader();
    w.pushHeader(shown);
    EXPECT_EQ(w.gsName->text(), QStringLiteral("한빛 아파트 신축공사"));
    SheetHeader read;
    w.pullHeader(read);
    EXPECT_EQ(read.gsName, shown.gsName);
    EXPECT_EQ(read.gsyear, shown.gsyear);
    EXPECT_EQ(read.gmonth, shown.gmonth);
    EXPECT_EQ(read.cmpNo, shown.cmpNo);
    EXPECT_EQ(read.indNo, shown.indNo);
    EXPECT_EQ(read.indName, shown.indName);
    EXPECT_EQ(read.MgrName, shown.MgrName);
    EXPECT_EQ(read.MgrJmnNo, shown.MgrJmnNo);
    EXPECT_EQ(read.cmpAddr, shown.cmpAddr);
    EXPECT_EQ(read.cmpTel, shown.cmpTel);
    EXPECT_EQ(read.cmpName, shown.cmpName);

    // Empty masked boxes read as blanks around their literals.
    w.pushHeader(SheetHeader{});
    w.pullHeader(read);
    EXPECT_EQ(read.gsyear, "    ");
    EXPECT_EQ(read.MgrJmnNo, "      -       ");
}

TEST_F(MainWindowTest, ASavedSheetOpensAgainWithEveryHeaderValue)
{
    Tmainf& w = showWindow();
    const SheetHeader typed = sampleHeader();
    w.pushHeader(typed);
    WorkerTable& table = w.sheet().table;
    table.Append();
    table.SetFieldText("pName", K("홍길동"));
    table.SetFieldText("JmnNo", "750505-1234567");
    table.Post();

    const QString path = folder.path() + QStringLiteral("site.Lvo");
    prompts.expectSaveFile(path);
    QTest::mouseClick(w.RnameBtn, Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_FALSE(w.controller().SheetModified());

    QTest::mouseClick(w.NewFile, Qt::LeftButton);
    SheetHeader cleared;
    w.pullHeader(cleared);
    EXPECT_TRUE(cleared.gsName.empty());

    prompts.expectOpenFile(path);
    QTest::mouseClick(w.HFileOpen, Qt::LeftButton);
    SheetHeader reopened;
    w.pullHeader(reopened);
    EXPECT_EQ(reopened.gsName, typed.gsName);
    EXPECT_EQ(reopened.gsyear, typed.gsyear);
    EXPECT_EQ(reopened.gmonth, typed.gmonth);
    EXPECT_EQ(reopened.cmpNo, typed.cmpNo);
    EXPECT_EQ(reopened.indNo, typed.indNo);
    EXPECT_EQ(reopened.indName, typed.indName);
    EXPECT_EQ(reopened.MgrName, typed.MgrName);
    EXPECT_EQ(reopened.MgrJmnNo, typed.MgrJmnNo);
    EXPECT_EQ(reopened.cmpAddr, typed.cmpAddr);
    // The file keeps the telephone bracketed; it comes back in edit form with a blank
    // after the area code's dash, every digit and dash in place.
    EXPECT_EQ(reopened.cmpTel, "042-123-4567");
    EXPECT_EQ(reopened.cmpName, typed.cmpName);
    EXPECT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(w.FileLabel->text(), QStringLiteral("파일명: ") + path);
}

TEST_F(MainWindowTest, ASheetBuiltByTheToolOpensWithItsHeaderAndWorkers)
{
    const QString json = folder.path() + QStringLiteral("sheet.json");
    const QString built = folder.path() + QStringLiteral("built.Lvo");
    QFile out(json);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(R"({"header": {"gsName": "대전 둔산 현장", "gsyear": "2009", "gmonth": "12",
                  "cmpNo": "123-45", "indNo": "987", "indName": "한빛건설", "MgrName": "홍길동",
                  "MgrJmnNo": "750505-1234567", "cmpAddr": "대전 서구", "cmpTel": "042-123-4567",
                  "cmpName": "김대표"},
                  "workers": [{"pName": "이영희", "nName": "A.철근원", "d01": "√", "d02": "√"},
                              {"pName": "김철수", "nName": "B.철골공", "d31": "√", "nNal": 9}]})");
    out.close();
    QProcess tool;
    tool.start(QStringLiteral(LAVODC_BIN_DIR "/lavodc-cli"), {QStringLiteral("build"), json, built});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();

    Tmainf& w = showWindow();
    prompts.expectOpenFile(built);
    QTest::mouseClick(w.HFileOpen, Qt::LeftButton);

    SheetHeader opened;
    w.pullHeader(opened);
    EXPECT_EQ(opened.gsName, K("대전 둔산 현장"));
    EXPECT_EQ(opened.gsyear, "2009");
    EXPECT_EQ(opened.gmonth, "12");
    EXPECT_EQ(opened.cmpNo, "123-45");
    EXPECT_EQ(opened.indNo, "987");
    EXPECT_EQ(opened.indName, K("한빛건설"));
    EXPECT_EQ(opened.MgrName, K("홍길동"));
    EXPECT_EQ(opened.MgrJmnNo, "750505-1234567");
    EXPECT_EQ(opened.cmpAddr, K("대전 서구"));
    EXPECT_EQ(opened.cmpTel, "042-123-4567");
    EXPECT_EQ(opened.cmpName, K("김대표"));

    // By name, with every day count recounted from the marks.
    const WorkerTable& table = w.sheet().table;
    ASSERT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.RowAt(0).pName, K("김철수"));
    EXPECT_EQ(table.RowAt(0).nNal, 1);
    EXPECT_EQ(table.RowAt(1).pName, K("이영희"));
    EXPECT_EQ(table.RowAt(1).nNal, 2);
    EXPECT_FALSE(w.controller().SheetModified());
}

} // namespace
} // namespace lavodc
