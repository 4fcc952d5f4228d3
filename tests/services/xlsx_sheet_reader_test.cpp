// Workbooks made here by other programs' means (openpyxl, a zip written by hand), read back.
#include "services/xlsx_sheet_reader.h"

#include "core/cp949.h"
#include "core/worker_import.h"
#include "services/worker_list_file.h"
#include "tests/support/list_sources.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lavodc;

namespace {

// Debian's interpreter, where python3-openpyxl lives.
const QString kPython = QStringLiteral("/usr/bin/python3");

class XlsxReaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(scratch.isValid()); }

    std::string path(const char* name) const { return (scratch.path() + QLatin1Char('/') + QLatin1String(name)).toStdString(); }

    // Runs a Python script with the target file as its argument.
    void runPython(const char* script, const std::string& target) const
    {
        QProcess python;
        python.start(kPython, {QStringLiteral("-c"), QString::fromUtf8(script), QString::fromStdString(target)});
        ASSERT_TRUE(python.waitForFinished(60000));
        ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    }

    void writeBytes(const std::string& file, const QByteArray& bytes) const
    {
        QFile out(QString::fromStdString(file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

    QByteArray readBytes(const std::string& file) const
    {
        QFile in(QString::fromStdString(file));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    QTemporaryDir scratch;
};

// The worker list as the export lays it out (titles from B2), edited and saved by openpyxl.
const char* const kOpenpyxlList = R"(
import sys, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws['B2'] = '성    명'; ws['C2'] = '주민등록번호'; ws['D2'] = '주                    소    '
ws['E2'] = '전화번호'; ws['F2'] = '직        종'; ws['G2'] = '일수'; ws['H2'] = '평균시간'
ws['I2'] = '임금총액'; ws['J2'] = '이 직 사 유'
ws.append([None, '홍길동', '800101-1234567', '대전시 서구', '(042) 123-4567', 'B.철골공', 3, 8.5, 1234567, None])
ws.append([None, '김철수', 8101011234567, '서울', '02-555-1234', '목공', 0, 8, 2000000, '3.기타 개인사정'])
ws.append([None, '홍길순', '800101-1234567'])
wb.create_sheet('Second')['A1'] = 'not this one'
wb.save(sys.argv[1])
)";

TEST_F(XlsxReaderTest, AWorkbookSavedByOpenpyxlImportsItsWorkers)
{
    const std::string file = path("list.xlsx");
    runPython(kOpenpyxlList, file);

    WorkerTable table;
    table.Open();
    const ImportPlan plan = PlanWorkerListImport(file, table, "2024.06");

    EXPECT_EQ(plan.titleRow, 2);
    ASSERT_EQ(plan.workers.size(), 2u) << fromCp949(ImportSummaryText(plan));
    const WorkerRow first = plan.Worker(0);
    EXPECT_EQ(first.pName, K("홍길동"));
    EXPECT_EQ(first.JmnNo, "800101-1234567");
    EXPECT_EQ(first.nAddr, K("대전시 서구"));
    EXPECT_EQ(first.nTel, "(042) 123-4567");
    EXPECT_EQ(first.nName, K("B.철골공"));
    EXPECT_EQ(first.nDay, 8.5);
    EXPECT_EQ(first.SmMny, 1234567);
    EXPECT_EQ(first.nEtc, "");
    EXPECT_EQ(first.nNal, 0);   // the list has no day marks
    const WorkerRow second = plan.Worker(1);
    EXPECT_EQ(second.JmnNo, "810101-1234567");   // a number cell, hyphen put back
    EXPECT_EQ(second.nTel, "( 02) 555-1234");
    EXPECT_EQ(second.nName, K("G.목공"));
    EXPECT_EQ(second.nEtc, K("3.기타 개인사정"));
    ASSERT_EQ(plan.refused.size(), 1u);
    EXPECT_EQ(plan.refused[0].number, 5);
    EXPECT_EQ(plan.refused[0].reason, RefusalReason::NumberTwiceInFile);
}

// A workbook as spreadsheet programs write it: shared strings with rich runs and phonetic
// guides, the first sheet in a part of another name, a cell without its reference.
const char* const kHandWritten = R"(
import sys, zipfile
parts = {
 '[Content_Types].xml': '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>',
 '_rels/.rels': '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="book/main.xml"/></Relationships>',
 'book/main.xml': '<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="명단" sheetId="7" r:id="rId9"/><sheet name="Other" sheetId="1" r:id="rId1"/></sheets></workbook>',
 'book/_rels/main.xml.rels': '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="sheets/sheet1.xml"/><Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/book/sheets/crew.xml"/><Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="../book/strings.xml"/></Relationships>',
 'book/strings.xml': '<?xml version="1.0"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>성명</t></si><si><r><t>홍</t></r><r><rPr><b/></rPr><t xml:space="preserve">길동 </t></r><rPh sb="0" eb="1"><t>ホン</t></rPh></si><si><t>임금총액</t></si></sst>',
 'book/sheets/sheet1.xml': '<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>wrong sheet</t></is></c></row></sheetData></worksheet>',
 'book/sheets/crew.xml': '<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
   '<row r="3"><c r="C3" t="s"><v>0</v></c><c t="s"><v>2</v></c></row>'
   '<row r="5"><c r="C5" t="s"><v>1</v></c><c r="D5"><f>1+1</f><v>1.5E6</v></c><c r="F5" t="inlineStr"><is><t>끝</t></is></c><c r="G5" t="b"><v>1</v></c></row>'
   '</sheetData></worksheet>',
}
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    for name, text in parts.items():
        z.writestr(name, text)
)";

TEST_F(XlsxReaderTest, ReadsTheFirstSheetThroughTheRelationsWithSharedAndInlineTexts)
{
    const std::string file = path("hand.xlsx");
    runPython(kHandWritten, file);

    test::KeepAllRows rows;
    ReadXlsxFirstSheet(file, rows);
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.rows[0].number, 3);
    EXPECT_EQ(rows.rows[0].cells, (std::vector<std::string>{"", "", "성명", "임금총액"}));
    EXPECT_EQ(rows.rows[1].number, 5);
    EXPECT_EQ(rows.rows[1].cells, (std::vector<std::string>{"", "", "홍길동 ", "1500000", "", "끝", "1"}));
}

TEST_F(XlsxReaderTest, NonZipTruncatedAndDamagedWorkbooksFailWithAClearError)
{
    const std::string good = path("good.xlsx");
    runPython(kOpenpyxlList, good);
    const QByteArray bytes = readBytes(good);
    ASSERT_GT(bytes.size(), 1000);

    const std::string notZip = path("text.xlsx");
    writeBytes(notZip, "성명,주민등록번호\n홍길동,800101-1234567\n");
    const std::string truncated = path("truncated.xlsx");
    writeBytes(truncated, bytes.left(bytes.size() / 2));
    // The worksheet's compressed data spoilt: the archive opens, the part does not read.
    QByteArray spoilt = bytes;
    const qsizetype sheetAt = spoilt.indexOf("xl/worksheets/sheet1.xml");
    ASSERT_GT(sheetAt, 0);
    for (qsizetype i = sheetAt + 40; i < sheetAt + 120; ++i)
        spoilt[i] = static_cast<char>(spoilt[i] ^ 0x5A);
    const std::string damaged = path("damaged.xlsx");
    writeBytes(damaged, spoilt);

    WorkerTable table;
    table.Open();
    for (const std::string& file : {notZip, truncated, damaged, path("missing.xlsx")}) {
        SCOPED_TRACE(file);
        try {
            PlanWorkerListImport(file, table, "2024.06");
            ADD_FAILURE() << "read without an error";
        } catch (const XlsxReadError& error) {
            EXPECT_EQ(fromCp949(error.what()).rfind("엑셀 통합 문서(.xlsx)를 읽을 수 없습니다: ", 0), 0u)
                << fromCp949(error.what());
        }
    }
}

TEST_F(XlsxReaderTest, OtherFilesAreReadAsCsvAndAMissingOneFails)
{
    const std::string file = path("LIST.CSV");
    writeBytes(file, toCp949("성명\t주민등록번호\n홍길동\t800101-1234567\n").c_str());
    WorkerTable table;
    table.Open();
    const ImportPlan plan = PlanWorkerListImport(file, table, "2024.06");
    ASSERT_EQ(plan.workers.size(), 1u);
    EXPECT_EQ(plan.Worker(0).pName, K("홍길동"));
    EXPECT_EQ(plan.Worker(0).JmnNo, "800101-1234567");
    EXPECT_THROW(PlanWorkerListImport(path("missing.csv"), table, "2024.06"), ImportError);
}

} // namespace
