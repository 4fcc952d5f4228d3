// The printing run on the paged devices: a PDF writer and a printer writing PDF.
#include "report/ptq_lvodoc.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <vector>

namespace lavodc::report {
namespace {

int pdfPageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

class ReportPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.Open();
        std::vector<WorkerRow> rows(16);
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i].pName = "W" + std::to_string(i);
        table.AppendRows(std::move(rows));
    }
    WorkerTable table;
};

TEST_F(ReportPrintTest, PdfWriterGetsEveryPageOrTheRange)
{
    TPtqLvodocf form(table);
    struct Case {
        int first, last, drawn;
    };
    for (const Case c : {Case{0, 0, 3}, Case{2, 3, 2}, Case{3, 0, 1}, Case{2, 2, 1}}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        table.First();
        EXPECT_EQ(form.Print(writer, c.first, c.last), c.drawn) << c.first << "-" << c.last;
        EXPECT_EQ(pdfPageCount(buffer.data()), c.drawn) << c.first << "-" << c.last;
        EXPECT_EQ(form.PageCount(), 3);
        const QSizeF size = writer.pageLayout().fullRect(QPageLayout::Millimeter).size();
        EXPECT_NEAR(size.width(), 297.0, 0.5);
        EXPECT_NEAR(size.height(), 210.0, 0.5);
    }
}

TEST_F(ReportPrintTest, PrinterPrintsOnTheWholeLandscapeSheet)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);

    TPtqLvodocf form(table);
    table.First();
    EXPECT_EQ(form.Print(printer, 1, 2), 2);
    EXPECT_TRUE(printer.fullPage());
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdfPageCount(file.readAll()), 2);
}

} // namespace
} // namespace lavodc::report
