// The print page through a real CUPS queue of the test's own: the job lands as a PDF from
// the CUPS-PDF driver, and its pages are read back as a reader would see them.
#include "app/print_command.h"

#include "core/cp949.h"
#include "editing/masked_line_edit.h"
#include "report/cups_print_target.h"
#include "tests/app/app_test_folder.h"
#include "tests/app/scripted_prompts.h"
#include "tests/support/cups_test_server.h"
#include "tests/support/page_match.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <vector>

namespace lavodc {
namespace {

using testing::CupsTestServer;
using testing::GreyPage;
using testing::RunCommand;
using testing::Quoted;

GreyPage greyOf(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    GreyPage page;
    page.width = grey.width();
    page.height = grey.height();
    page.pixels.resize(static_cast<std::size_t>(page.width) * page.height);
    for (int y = 0; y < page.height; ++y)
        std::copy_n(grey.constScanLine(y), page.width, page.pixels.begin() + static_cast<std::ptrdiff_t>(y) * page.width);
    return page;
}

class PrintCupsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LAVODC_REQUIRE_CUPS(server);
        server.ClearOut();
        ASSERT_TRUE(server.Accept(true));
        table.Open();
        std::vector<WorkerRow> rows(9);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            rows[i].pName = K("작업자") + std::to_string(10 + i);
            rows[i].JmnNo = "800101-12345" + std::to_string(10 + i);
            rows[i].nName = K("A.철근원");
            for (int day = 0; day < 17; ++day)
                rows[i].days[static_cast<std::size_t>(day)] = std::string(kDayMark);
            rows[i].nNal = 17;
            rows[i].nDay = i % 2 == 0 ? 8 : 7.25;
            rows[i].SmMny = 1234567;
        }
        table.AppendRows(std::move(rows));
        header.gsyear = "2010";
        header.gmonth = "01";
        header.gsName = K("한빛 신축공사");
        command = std::make_unique<PrintCommand>(table, [this] { return header; }, prompts, target);
        ASSERT_TRUE(command->Prepare());
        dialog = command->CreateDialog(QRect(0, 0, 1000, 700), nullptr);
        command->Page()->prtday->setMaskedBytes("2010.01.27");
    }

    CupsTestServer& server = CupsTestServer::Shared();
    testing::ScratchProgramFolder folder;
    WorkerTable table;
    SheetHeader header;
    testing::ScriptedPrompts prompts;
    report::CupsPrintTarget target;
    std::unique_ptr<PrintCommand> command;
    std::unique_ptr<QDialog> dialog;
};

TEST_F(PrintCupsTest, ConfirmPrintsTwoLandscapePagesThatMatchThePreview)
{
    PrintPage& page = *command->Page();
    EXPECT_EQ(page.PrtComb->currentText(), QString::fromLatin1(CupsTestServer::kQueue));
    const auto choice = page.Choice();
    ASSERT_TRUE(choice);
    std::vector<QString> statuses;
    command->SetStatusSink([&statuses](const QString& text) { statuses.push_back(text); });
    QTest::mouseClick(page.mOk2, Qt::LeftButton);
    EXPECT_TRUE(prompts.errors.empty()) << prompts.errors.front().toStdString();
    EXPECT_EQ(statuses, std::vector<QString>{QStringLiteral("LavoPdf 프린터로 2쪽을 보냈습니다 (1~2쪽).")});

    const auto landed = server.WaitForPdfs(1);
    ASSERT_EQ(landed.size(), 1u) << "no PDF landed in " << server.OutFolder();
    const std::string info = RunCommand("pdfinfo " + Quoted(landed[0])).output;
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;

    // Compared as a reader would: grey levels averaged over 2 mm squares, which evens out
    // the drivers' font smoothing but not a missing worker or a page drawn elsewhere.
    constexpr int kDpi = 100;
    constexpr int kSquare = 8;
    const GreyPage first = testing::RenderPdfPage(landed[0], 1, kDpi);
    const GreyPage second = testing::RenderPdfPage(landed[0], 2, kDpi);
    ASSERT_GT(first.width, 0);
    EXPECT_GT(first.width, first.height);   // landscape as a reader sees it
    const GreyPage preview1 = greyOf(command->RenderPage(*choice, 1, kDpi));
    const GreyPage preview2 = greyOf(command->RenderPage(*choice, 2, kDpi));
    PrintChoice moved = *choice;
    moved.topShift += 10;
    const GreyPage movedPreview1 = greyOf(command->RenderPage(moved, 1, kDpi));

    const double same1 = testing::MeanSquareDifference(first, preview1, kSquare);
    const double same2 = testing::MeanSquareDifference(second, preview2, kSquare);
    EXPECT_LT(same1, 0.6 * testing::MeanSquareDifference(first, preview2, kSquare));
    EXPECT_LT(same2, 0.6 * testing::MeanSquareDifference(second, preview1, kSquare));
    EXPECT_GT(testing::MeanSquareDifference(first, movedPreview1, kSquare), 3 * same1);
}

TEST_F(PrintCupsTest, RefusedJobShowsTheQueuesReasonAndLandsNothing)
{
    ASSERT_TRUE(server.Accept(false));
    prompts.expectError();
    QTest::mouseClick(command->Page()->mOk2, Qt::LeftButton);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].contains(QString::fromLatin1(CupsTestServer::kQueue))) << prompts.errors[0].toStdString();
    EXPECT_GT(prompts.errors[0].size(), 30) << prompts.errors[0].toStdString();   // the system's reason follows
    EXPECT_TRUE(server.Accept(true));
    EXPECT_FALSE(server.QueueBusy());
    EXPECT_TRUE(std::filesystem::is_empty(server.OutFolder()));
}

} // namespace
} // namespace lavodc
