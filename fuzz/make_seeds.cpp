// Writes the seed inputs of the fuzz targets, each made by the program's own code: sheet files
// from the writer, the JSON that dump prints, settings files, masks and texts of the form, and
// the worker list as the export writes it to the clipboard and to a workbook.
#include "cli/sheet_json.h"
#include "core/cp949.h"
#include "core/grid_columns.h"
#include "core/ini_file.h"
#include "core/sheet_file.h"
#include "services/clipboard_text.h"
#include "services/grid_snapshot.h"
#include "services/workbook_writer.h"

#include <zip.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using namespace lavodc;

namespace {

fs::path root;

void seed(const std::string& target, const std::string& name, const std::string& bytes)
{
    fs::create_directories(root / target);
    std::ofstream(root / target / name, std::ios::binary) << bytes;
}

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Sheet sampleSheet(int workers)
{
    Sheet sheet;
    sheet.table.Open();
    ResetHeader(sheet.header, "2024.05");
    sheet.header.gsName = K("서울 신축공사");
    sheet.header.cmpTel = "02-123-4567";
    sheet.header.MgrJmnNo = "800101-1234567";
    for (int i = 0; i < workers; ++i) {
        sheet.table.Append();
        sheet.table.SetFieldText("pName", K(i % 2 ? "홍길동" : "김철수"));
        sheet.table.SetFieldText("nName", K("보통인부"));
        sheet.table.SetFieldText("nAddr", K("대전광역시 서구 둔산로 100"));
        sheet.table.SetFieldText("nTel", "(042) 123-4567");
        sheet.table.SetFieldFloat("nDay", 7.5);
        sheet.table.SetFieldFloat("SmMny", 1234567 + i);
        sheet.table.SetFieldTextAt(kFirstDayField + i, K("√"));
        sheet.table.Post();
    }
    return sheet;
}

// The parts of a workbook the list reader reads, as fuzz_xlsx_list takes them.
std::string workbookParts(const fs::path& path)
{
    int code = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!zip)
        std::exit(1);
    std::string parts;
    for (const char* name : {"xl/workbook.xml", "xl/_rels/workbook.xml.rels", "xl/sharedStrings.xml",
                             "xl/worksheets/sheet1.xml"}) {
        zip_file_t* file = zip_fopen(zip, name, 0);
        if (!file)
            std::exit(1);
        char buffer[4096];
        for (zip_int64_t n; (n = zip_fread(file, buffer, sizeof buffer)) > 0;)
            parts.append(buffer, static_cast<std::size_t>(n));
        zip_fclose(file);
        parts += '\0';
    }
    zip_discard(zip);
    parts.pop_back();
    return parts;
}

// The worker list and the day strip of a sheet as the export gives them.
void listSeeds()
{
    for (int workers : {1, 3}) {
        Sheet sheet = sampleSheet(workers);
        for (const auto* columns : {&WorkerListColumns(), &DayStripColumns()}) {
            const GridSnapshot grid = TakeGridSnapshot(sheet.table, *columns);
            const std::string name = (columns == &WorkerListColumns() ? "list" : "days") + std::to_string(workers);
            const std::string clipboard = ClipboardText(grid);
            seed("fuzz_csv_import", name, std::string(1, '\0') + clipboard);
            seed("fuzz_csv_import", name + "_utf8_in_pieces", "\x05\xEF\xBB\xBF" + fromCp949(clipboard));
            const fs::path workbook = root / (name + ".xlsx");
            WriteWorkbook(grid, workbook.string());
            seed("fuzz_xlsx_list", name, std::string(1, '\0') + workbookParts(workbook));
            seed("fuzz_xlsx_list", name + "_in_pieces", "\x07" + workbookParts(workbook));
            fs::remove(workbook);
        }
    }
    // A month kept in a spreadsheet: wages and day columns for the fuzz sheet's worker and a new one.
    seed("fuzz_csv_import", "month_update",
         std::string(1, '\0') + "성명,주민등록번호,평균시간,임금총액,1일,2일,3\nkim,7001011234567,,1200000,o,x,√\n"
                                 "홍길동,800101-1234567,7.5,,1,,v\nkim,700101-1234567,8,1,,,\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    root = argv[1];
    fs::create_directories(root);

    for (int workers : {0, 1, 3}) {
        Sheet sheet = sampleSheet(workers);
        const fs::path lvo = root / ("sheet" + std::to_string(workers) + ".Lvo");
        SaveSheetFile(lvo.string(), sheet);
        const std::string bytes = slurp(lvo);
        fs::remove(lvo);
        seed("fuzz_sheet_file", "sheet" + std::to_string(workers), bytes);
        if (workers == 3)   // workers first, then the header records, and a short tail
            seed("fuzz_sheet_file", "reordered", bytes.substr(3 * kRecordSize) + bytes.substr(0, 3 * kRecordSize) + "tail");
        seed("fuzz_sheet_json", "sheet" + std::to_string(workers), cli::SheetJsonText(sheet));
    }
    seed("fuzz_sheet_json", "small", R"({"header": {"gsyear": "2024"}, "workers": [{"pName": "x", "HCODE": -1, "nDay": 0.5}]})");

    const std::string ini = std::string("[") + K("근로내역") + "]\r\nfTop=20\r\nfLft=0x10\r\n\r\n[" + K("작업폴더")
                          + "]\r\nwPath=/home/" + K("자료") + "/\r\n; comment\r\n";
    seed("fuzz_ini_file", "settings", K("작업폴더") + std::string(1, '\0') + "wPath" + std::string(1, '\0') + "/tmp/"
                                          + std::string(1, '\0') + ini);
    seed("fuzz_ini_file", "new", std::string("s\0k\0v\0", 6));
    seed("fuzz_ini_file", "quoted", std::string("A\0B\0\"q\"\0[a]\nb = ' x '\n[A]\nB=1\n", 30));

    seed("fuzz_line_breaker", "address", std::string("\x50\x01\x0c", 3) + K("대전광역시 서구 둔산로 100 보람아파트 101-1203"));
    seed("fuzz_line_breaker", "name", std::string("\x14\x00\x0a", 3) + K("홍길동 보통인부"));
    seed("fuzz_line_breaker", "lines", std::string("\x30\x01\x05", 3) + "abc-def ghi\r\njkl\nmno " + K("가"));

    for (const char* mask : {"999999\\-9999999;0;_", "999\\-99\\-99999;0;_", "####;1;_", "##;1;_",
                             "######-#######;1;_", "LLaaCC;0; "})
        seed("fuzz_edit_mask", std::string("mask") + std::to_string(std::string(mask).size()),
             std::string(mask) + std::string(1, '\0') + "800101-1234567");
    seed("fuzz_efile_codes", "people", "9001015123456,250,E-9\n" + std::string(1, '\0') +
                                           "주민(외국인)등록번호,국적코드,체류자격코드\r\n900101-5123456,CHN,H2\r\nbad line\r\n");
    seed("fuzz_efile_codes", "jobs", std::string(1, '\0') + "직종,직종코드\nA,701\nB.철골공,13\nZ,7O1\n" +
                                         K("U.건설단순노무자,706\n"));

    listSeeds();
    return 0;
}
