#include "core/cp949.h"
#include "core/sheet_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace lavodc {
namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<unsigned char>;

// One record put together byte by byte, independent of the writer.
struct Rec {
    std::array<unsigned char, 344> b{};

    explicit Rec(char kind)
    {
        b[340] = 0x01;
        b[341] = static_cast<unsigned char>(kind);
    }
    Rec& text(std::size_t offset, const std::string& value)
    {
        b[offset] = static_cast<unsigned char>(value.size());
        std::memcpy(b.data() + offset + 1, value.data(), value.size());
        return *this;
    }
    Rec& int32(std::size_t offset, std::int32_t value)
    {
        for (int i = 0; i < 4; ++i)
            b[offset + i] = static_cast<unsigned char>(static_cast<std::uint32_t>(value) >> (8 * i));
        return *this;
    }
    Rec& int64(std::size_t offset, std::int64_t value)
    {
        for (int i = 0; i < 8; ++i)
            b[offset + i] = static_cast<unsigned char>(static_cast<std::uint64_t>(value) >> (8 * i));
        return *this;
    }
};

std::int64_t int64At(const Bytes& bytes, std::size_t offset)
{
    std::uint64_t u = 0;
    for (int i = 0; i < 8; ++i)
        u |= static_cast<std::uint64_t>(bytes[offset + i]) << (8 * i);
    return static_cast<std::int64_t>(u);
}

std::int32_t int32At(const Bytes& bytes, std::size_t offset)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// The text of a field: its length byte, then that many bytes.
std::string textAt(const Bytes& bytes, std::size_t offset)
{
    return std::string(reinterpret_cast<const char*>(bytes.data()) + offset + 1, bytes[offset]);
}

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

class SheetFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("lavodc_sheet_file_" + std::string(info->name()) + "_"
                                           + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        sheet.table.Open();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(dir, fs::perms::owner_all, ignored);
        fs::remove_all(dir, ignored);
    }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    static Bytes readAll(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    static void writeRecords(const std::string& file, const std::vector<Rec>& records, const Bytes& tail = {})
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        for (const Rec& r : records)
            out.write(reinterpret_cast<const char*>(r.b.data()), 344);
        out.write(reinterpret_cast<const char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
    }

    void fillHeader()
    {
        SheetHeader& h = sheet.header;
        h.gsName = K("서울 신축공사");
        h.gsyear = "2024";
        h.gmonth = "05";
        h.cmpNo = "12345678901";
        h.indNo = "98765";
        h.indName = K("건설협회");
        h.MgrName = K("홍길동");
        h.MgrJmnNo = "800101-1234567";
        h.cmpAddr = K("서울시 중구");
        h.cmpTel = "02-123-4567";
        h.cmpName = K("김대표");
    }

    void addWorker(const std::string& nameUtf8, const std::string& jobUtf8, std::vector<int> days = {})
    {
        WorkerTable& t = sheet.table;
        t.Append();
        t.SetFieldText("pName", K(nameUtf8));
        t.SetFieldText("nName", K(jobUtf8));
        t.SetFieldText("JmnNo", "900101-1234567");
        t.SetFieldText("nTel", "(042) 123-4567");
        t.SetFieldFloat("nDay", 8);
        t.SetFieldFloat("SmMny", 100000);
        for (int d : days)
            t.SetFieldTextAt(kFirstDayField + d - 1, K("√"));
        t.Post();
    }

    std::vector<std::string> workerNames() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < sheet.table.RecordCount(); ++i)
            names.push_back(fromCp949(sheet.table.RowAt(i).pName));
        return names;
    }

    fs::path dir;
    Sheet sheet;
};

TEST_F(SheetFileTest, ASheetWithoutWorkersIsThreeHeaderRecordsAndReadsBack)
{
    fillHeader();
    SaveSheetFile(path("empty.Lvo"), sheet);
    const Bytes bytes = readAll(path("empty.Lvo"));
    ASSERT_EQ(bytes.size(), 1032u);

    const Bytes a = slice(bytes, 0, 344), b = slice(bytes, 344, 344), c = slice(bytes, 688, 344);
    for (const Bytes* r : {&a, &b, &c}) {
        EXPECT_EQ(int32At(*r, 0), 1);
        EXPECT_EQ(int32At(*r, 4), 1);
        EXPECT_EQ(int32At(*r, 8), 1);
        EXPECT_EQ(textAt(*r, 12), "2024.05");
        EXPECT_EQ((*r)[340], 0x01);
    }
    EXPECT_EQ(a[341], 'A');
    EXPECT_EQ(textAt(a, 20), K("홍길동"));
    EXPECT_EQ(textAt(a, 31), "800101-1234567");
    EXPECT_EQ(textAt(a, 67), K("서울 신축공사"));
    EXPECT_EQ(textAt(a, 154), "12345678901");
    EXPECT_EQ(b[341], 'B');
    EXPECT_EQ(textAt(b, 20), K("김대표"));
    EXPECT_EQ(textAt(b, 67), K("서울시 중구"));
    EXPECT_EQ(textAt(b, 138), "(  02) 123-4567");
    EXPECT_EQ(b[154], 17);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[155]), 17), "quorvanet20040722");
    EXPECT_EQ(c[341], 'C');
    EXPECT_EQ(textAt(c, 67), K("건설협회"));
    EXPECT_EQ(textAt(c, 154), "98765");

    Sheet back;
    back.table.Open();
    OpenSheetFile(path("empty.Lvo"), back);
    EXPECT_EQ(back.table.RecordCount(), 0);
    EXPECT_EQ(back.header.gsName, sheet.header.gsName);
    EXPECT_EQ(back.header.gsyear, "2024");
    EXPECT_EQ(back.header.gmonth, "05");
    EXPECT_EQ(back.header.MgrName, sheet.header.MgrName);
    EXPECT_EQ(back.header.MgrJmnNo, sheet.header.MgrJmnNo);
    EXPECT_EQ(back.header.cmpNo, sheet.header.cmpNo);
    EXPECT_EQ(back.header.indNo, sheet.header.indNo);
    EXPECT_EQ(back.header.indName, sheet.header.indName);
    EXPECT_EQ(back.header.cmpAddr, sheet.header.cmpAddr);
    EXPECT_EQ(back.header.cmpName, sheet.header.cmpName);
    EXPECT_EQ(back.header.cmpTel, "02-123-4567");     // as typed, without the stored padding
    EXPECT_EQ(back.period, CurrentPeriod());          // Open keeps today's month until a save
}

TEST_F(SheetFileTest, WorkerRecordsCarryEveryFieldWithCodesOneAndThePeriod)
{
    fillHeader();
    sheet.table.Append();
    sheet.table.SetFieldInteger("HCODE", 7);
    sheet.table.SetFieldInteger("SCODE", -3);
    sheet.table.SetFieldText("cDate", "1999.01");
    sheet.table.SetFieldText("pName", K("이순신"));
    sheet.table.SetFieldText("JmnNo", "900101-1234567");
    sheet.table.SetFieldText("nName", K("A.철근원"));
    sheet.table.SetFieldText("nAddr", K("부산시"));
    sheet.table.SetFieldText("nTel", "(051) 123-4567");
    sheet.table.SetFieldText("nEtc", K("3.기타 개인사정"));
    sheet.table.SetFieldFloat("nNal", 2);
    sheet.table.SetFieldTextAt(kFirstDayField, K("√"));
    sheet.table.SetFieldTextAt(kFirstDayField + 30, K("√"));
    sheet.table.SetFieldTextAt(kFirstDayField + 14, "v");
    sheet.table.Post();
    SaveSheetFile(path("one.Lvo"), sheet);

    const Bytes bytes = readAll(path("one.Lvo"));
    ASSERT_EQ(bytes.size(), 344u * 4);
    const Bytes n = slice(bytes, 3 * 344, 344);
    EXPECT_EQ(n[340], 0x01);
    EXPECT_EQ(n[341], 'N');
    EXPECT_EQ(int32At(n, 0), 1);
    EXPECT_EQ(int32At(n, 4), 1);
    EXPECT_EQ(int32At(n, 8), 1);
    EXPECT_EQ(textAt(n, 12), "2024.05");
    EXPECT_EQ(textAt(n, 20), K("이순신"));
    EXPECT_EQ(textAt(n, 31), "900101-1234567");
    EXPECT_EQ(textAt(n, 46), K("A.철근원"));
    EXPECT_EQ(textAt(n, 67), K("부산시"));
    EXPECT_EQ(textAt(n, 138), "(051) 123-4567");   // the worker's telephone as the table holds it
    EXPECT_EQ(textAt(n, 154), K("3.기타 개인사정"));
    EXPECT_EQ(int64At(n, 192), 20000);
    EXPECT_EQ(textAt(n, 216), K("√"));
    EXPECT_EQ(textAt(n, 216 + 4 * 14), "v");
    EXPECT_EQ(textAt(n, 336), K("√"));
    EXPECT_EQ(n[216 + 4], 0);

    Sheet back;
    back.table.Open();
    OpenSheetFile(path("one.Lvo"), back);
    ASSERT_EQ(back.table.RecordCount(), 1);
    const WorkerRow& row = back.table.RowAt(0);
    EXPECT_EQ(row.HCODE, 1);
    EXPECT_EQ(row.SCODE, 1);
    EXPECT_EQ(row.cDate, "2024.05");
    EXPECT_EQ(row.nTel, "(051) 123-4567");
    EXPECT_EQ(row.nEtc, K("3.기타 개인사정"));
    EXPECT_EQ(row.days[14], "v");
    EXPECT_EQ(row.nNal, 2);
}

TEST_F(SheetFileTest, AmountsAreStoredTimesTenThousandWithHalvesToEven)
{
    const struct {
        double value;
        std::int64_t stored;
        double readBack;
    } cases[] = {
        {1234567, 12345670000, 1234567}, {7.5, 75000, 7.5},        {3, 30000, 3},
        {0.03125, 312, 0.0312},          {0.09375, 938, 0.0938},   {0.15625, 1562, 0.1562},
        {-0.09375, -938, -0.0938},       {0, 0, 0},
    };
    for (const auto& c : cases) {
        sheet.table.DeleteAllRows();
        sheet.table.Append();
        sheet.table.SetFieldFloat("nDay", c.value);
        sheet.table.Post();
        SaveSheetFile(path("amount.Lvo"), sheet);
        const Bytes bytes = readAll(path("amount.Lvo"));
        ASSERT_EQ(bytes.size(), 4u * 344);
        EXPECT_EQ(int64At(bytes, 3 * 344 + 200), c.stored) << c.value;

        Sheet back;
        back.table.Open();
        OpenSheetFile(path("amount.Lvo"), back);
        EXPECT_EQ(back.table.RowAt(0).nDay, c.readBack) << c.value;
    }
}

TEST_F(SheetFileTest, HeaderTextsAreCutToTheirWidthOnTheWayIn)
{
    sheet.header.gsName = std::string(80, 'g');
    sheet.header.MgrName = K("가나다라마바");   // 12 bytes into 10
    sheet.header.cmpTel = "0212345-123456789012";
    SaveSheetFile(path("cut.Lvo"), sheet);
    const Bytes bytes = readAll(path("cut.Lvo"));
    EXPECT_EQ(textAt(bytes, 67), std::string(70, 'g'));
    EXPECT_EQ(textAt(bytes, 20), K("가나다라마"));
    EXPECT_EQ(bytes[344 + 138], 15);
}

TEST_F(SheetFileTest, WorkersBeforeTheHeaderRecordsReadTheSameAsTheStandardOrder)
{
    const Rec a = Rec('A').text(12, "2023.12").text(20, K("관리자")).text(31, "800101-1234567")
                      .text(67, K("현장")).text(154, "111");
    const Rec b = Rec('B').text(20, K("대표")).text(67, K("주소")).text(138, "( 042) 123-4567");
    const Rec c = Rec('C').text(67, K("조합")).text(154, "222");
    const Rec n1 = Rec('N').int32(0, 5).text(20, K("나")).text(46, "B").int64(192, 990000).text(216, K("√"));
    const Rec n2 = Rec('N').text(20, K("가")).text(46, "A").int64(208, 12345670000);
    writeRecords(path("standard.Lvo"), {a, b, c, n1, n2});
    writeRecords(path("mixed.Lvo"), {n1, a, n2, c, b});

    Sheet standard, mixed;
    standard.table.Open();
    mixed.table.Open();
    OpenSheetFile(path("standard.Lvo"), standard);
    OpenSheetFile(path("mixed.Lvo"), mixed);
    for (const Sheet* s : {&standard, &mixed}) {
        EXPECT_EQ(s->header.gsyear, "2023");
        EXPECT_EQ(s->header.gmonth, "12");
        EXPECT_EQ(s->header.MgrName, K("관리자"));
        EXPECT_EQ(s->header.gsName, K("현장"));
        EXPECT_EQ(s->header.cmpTel, "042-123-4567");
        EXPECT_EQ(s->header.indName, K("조합"));
        EXPECT_EQ(s->header.indNo, "222");
        ASSERT_EQ(s->table.RecordCount(), 2);
        EXPECT_EQ(s->table.RowAt(0).pName, K("가"));   // by-name order after Open
        EXPECT_EQ(s->table.RowAt(0).SmMny, 1234567);
        EXPECT_EQ(s->table.RowAt(1).HCODE, 5);         // codes are read as stored
        EXPECT_EQ(s->table.RowAt(1).nNal, 1);          // recounted from the marks, not 99
        EXPECT_EQ(s->table.CurrentIndex(), 0);
    }
}

TEST_F(SheetFileTest, PartialRecordsAndUnknownKindsAreIgnored)
{
    Rec lateWorker = Rec('N').text(20, "late");
    Bytes tail(lateWorker.b.begin(), lateWorker.b.begin() + 343);   // one byte short
    Rec oddLead = Rec('N').text(20, "odd");
    oddLead.b[340] = 0x7F;   // only byte 341 decides the kind
    writeRecords(path("odd.Lvo"),
                 {Rec('A').text(12, "2022.02"), Rec('X').text(20, "x"), Rec('n').text(20, "lower"),
                  Rec('\0'), oddLead, Rec('B'), Rec('C')},
                 tail);
    sheet.table.Append();
    sheet.table.SetFieldText("pName", "old");
    sheet.table.Post();

    OpenSheetFile(path("odd.Lvo"), sheet);
    EXPECT_EQ(workerNames(), (std::vector<std::string>{"odd"}));
    EXPECT_EQ(sheet.header.gsyear, "2022");

    writeRecords(path("short.Lvo"), {Rec('A').text(12, "2021.01"), Rec('B'), Rec('C')}, Bytes(100, 'N'));
    OpenSheetFile(path("short.Lvo"), sheet);
    EXPECT_EQ(sheet.table.RecordCount(), 0);
    EXPECT_EQ(sheet.header.gsyear, "2021");

    writeRecords(path("nothing.Lvo"), {});
    OpenSheetFile(path("nothing.Lvo"), sheet);
    EXPECT_EQ(sheet.table.RecordCount(), 0);
    EXPECT_EQ(sheet.header.gsyear, CurrentPeriod().substr(0, 4));   // as Open reset it
}

TEST_F(SheetFileTest, ALengthByteBeyondTheWidthIsCutToTheWidth)
{
    Rec worker('N');
    worker.text(20, std::string(10, 'p'));
    worker.b[20] = 200;                  // pName claims 200 bytes of 10
    std::memset(worker.b.data() + 31, 'j', 15);
    worker.b[31] = 255;                  // JmnNo claims 255 of 14
    worker.text(336, "abc");
    worker.b[336] = 250;                 // d31, the last field before the kind word
    Rec header('A');
    header.b[12] = 99;                   // the period claims 99 of 7
    std::memcpy(header.b.data() + 13, "2020.10XYZ", 10);
    writeRecords(path("long.Lvo"), {header, worker});

    OpenSheetFile(path("long.Lvo"), sheet);
    ASSERT_EQ(sheet.table.RecordCount(), 1);
    const WorkerRow& row = sheet.table.RowAt(0);
    EXPECT_EQ(row.pName, std::string(10, 'p'));
    EXPECT_EQ(row.JmnNo, std::string(14, 'j'));
    EXPECT_EQ(row.days[30], "abc");
    EXPECT_EQ(sheet.header.gsyear, "2020");
    EXPECT_EQ(sheet.header.gmonth, "10");
}

TEST_F(SheetFileTest, ProgressIsReportedPerRecord)
{
    for (int i = 0; i < 3; ++i)
        addWorker("이" + std::to_string(i), "A");
    std::vector<int> written;
    SaveSheetFile(path("p.Lvo"), sheet, [&](int p) { written.push_back(p); });
    EXPECT_EQ(written, (std::vector<int>{0, 33, 66}));

    std::vector<Rec> records(150, Rec('Z'));
    writeRecords(path("many.Lvo"), records);
    std::vector<int> read;
    OpenSheetFile(path("many.Lvo"), sheet, [&](int p) { read.push_back(p); });
    ASSERT_EQ(read.size(), 150u);
    for (std::size_t i = 0; i < read.size(); ++i)
        EXPECT_EQ(read[i], static_cast<int>(i % 100));
}

TEST_F(SheetFileTest, OpenedIsCalledOnceTheFileIsOpenAndBeforeAnyRecord)
{
    writeRecords(path("two.Lvo"), {Rec('A'), Rec('B')});
    std::vector<std::string> events;
    OpenSheetFile(
        path("two.Lvo"), sheet, [&](int p) { events.push_back("record " + std::to_string(p)); },
        [&] { events.push_back("opened"); });
    EXPECT_EQ(events, (std::vector<std::string>{"opened", "record 0", "record 1"}));

    // A file that can't be opened, or a folder, fails before `opened`.
    for (const std::string& notOpenable : {path("missing.Lvo"), dir.string()}) {
        bool opened = false;
        EXPECT_THROW(OpenSheetFile(notOpenable, sheet, {}, [&] { opened = true; }), SheetFileError) << notOpenable;
        EXPECT_FALSE(opened) << notOpenable;
    }
}

TEST_F(SheetFileTest, UndefinedBytesRepeatWhatTheOneRecordBufferHeldBefore)
{
    fillHeader();
    addWorker("가", "J.the last job");
    SaveSheetFile(path("first.Lvo"), sheet);
    const Bytes first = readAll(path("first.Lvo"));
    // Within a save: B does not define 31..45, so it keeps A's manager number.
    EXPECT_EQ(slice(first, 344 + 31, 15), slice(first, 31, 15));
    // C does not define 20..30, so it keeps B's representative.
    EXPECT_EQ(slice(first, 688 + 20, 11), slice(first, 344 + 20, 11));

    // The next save starts from the last worker record of this one.
    sheet.table.DeleteAllRows();
    SaveSheetFile(path("second.Lvo"), sheet);
    const Bytes second = readAll(path("second.Lvo"));
    EXPECT_EQ(slice(second, 46, 21), slice(first, 3 * 344 + 46, 21));
    EXPECT_EQ(textAt(second, 46), "J.the last job");

    // A read leaves its last record in the buffer for the next save.
    writeRecords(path("read.Lvo"), {Rec('Q').text(46, "from the read").int64(192, 77)});
    Sheet other;
    other.table.Open();
    OpenSheetFile(path("read.Lvo"), other);
    SaveSheetFile(path("third.Lvo"), sheet);
    const Bytes third = readAll(path("third.Lvo"));
    EXPECT_EQ(textAt(third, 46), "from the read");
    EXPECT_EQ(int64At(third, 192), 77);

    // The bytes that carry meaning agree between two saves of the same sheet.
    EXPECT_NE(second, third);
    for (const std::size_t offset : {std::size_t{0}, std::size_t{344}, std::size_t{688}}) {
        EXPECT_EQ(slice(second, offset, 12), slice(third, offset, 12));
        EXPECT_EQ(slice(second, offset + 340, 2), slice(third, offset + 340, 2));
        EXPECT_EQ(textAt(second, offset + 12), textAt(third, offset + 12));
        EXPECT_EQ(textAt(second, offset + 67), textAt(third, offset + 67));
    }
    EXPECT_EQ(textAt(second, 20), textAt(third, 20));
    EXPECT_EQ(textAt(second, 31), textAt(third, 31));
}

TEST_F(SheetFileTest, AFailedSaveLeavesThePreviousFileWhole)
{
    fillHeader();
    addWorker("가", "A");
    const std::string target = path("keep.Lvo");
    SaveSheetFile(target, sheet);
    const Bytes before = readAll(target);
    for (int i = 0; i < 20; ++i)
        addWorker("나" + std::to_string(i), "B");

    // Let the process write no more than 2000 bytes to any file: the save fails part-way.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 2000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        SaveSheetFile(target, sheet);
    } catch (const SheetFileError& error) {
        message = error.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(message, std::strerror(EFBIG));
    EXPECT_EQ(readAll(target), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << "the temporary file was left behind";

    // A folder that does not exist: nothing is created and the reason reaches the caller.
    try {
        SaveSheetFile(path("missing/x.Lvo"), sheet);
        ADD_FAILURE() << "no error";
    } catch (const SheetFileError& error) {
        EXPECT_STREQ(error.what(), std::strerror(ENOENT));
    }

    // An amount too large to store fails the save before the file is replaced.
    sheet.table.First();
    sheet.table.Edit();
    sheet.table.SetFieldFloat("SmMny", 1e300);
    sheet.table.Post();
    EXPECT_THROW(SaveSheetFile(target, sheet), SheetFileError);
    EXPECT_EQ(readAll(target), before);
}

TEST_F(SheetFileTest, ASaveReplacesTheFileAndKeepsItsPermissions)
{
    const std::string target = path("perm.Lvo");
    std::ofstream(target) << "previous content that is longer than nothing";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    SaveSheetFile(target, sheet);
    EXPECT_EQ(fs::file_size(target), 1032u);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(SheetFileTest, AFailedReadLeavesTheSheetUntouched)
{
    fillHeader();
    addWorker("가", "A");
    sheet.period = "2024.05";
    const SheetHeader header = sheet.header;

    auto expectUntouched = [&] {
        EXPECT_EQ(sheet.header.gsName, header.gsName);
        EXPECT_EQ(sheet.header.cmpTel, header.cmpTel);
        EXPECT_EQ(sheet.period, "2024.05");
        EXPECT_EQ(workerNames(), (std::vector<std::string>{"가"}));
    };

    try {
        OpenSheetFile(path("absent.Lvo"), sheet);
        ADD_FAILURE() << "no error";
    } catch (const SheetFileError& error) {
        EXPECT_STREQ(error.what(), std::strerror(ENOENT));
    }
    expectUntouched();

    EXPECT_THROW(OpenSheetFile(dir.string(), sheet), SheetFileError);   // a folder
    expectUntouched();

    // The read stops part-way (here: the progress report fails on the third record).
    writeRecords(path("good.Lvo"), {Rec('A').text(67, "new site"), Rec('N').text(20, "new"), Rec('N'), Rec('N')});
    auto failOnThird = [](int p) {
        if (p == 2)
            throw SheetFileError("Input/output error");
    };
    EXPECT_THROW(OpenSheetFile(path("good.Lvo"), sheet, failOnThird), SheetFileError);
    expectUntouched();
    EXPECT_THROW(ReadSheetFile(path("good.Lvo"), sheet, failOnThird), SheetFileError);
    expectUntouched();
}

TEST_F(SheetFileTest, ReadSheetFileAddsToTheSheetAsItStands)
{
    sheet.header.gsName = "kept";
    sheet.header.cmpNo = "kept too";
    addWorker("다", "A");
    writeRecords(path("add.Lvo"), {Rec('A').text(67, "site").text(154, "no"), Rec('N').text(20, "x"),
                                   Rec('N').int64(192, 30000)});
    ReadSheetFile(path("add.Lvo"), sheet);
    EXPECT_EQ(sheet.header.gsName, "site");
    EXPECT_EQ(sheet.header.cmpNo, "no");
    EXPECT_EQ(sheet.table.RecordCount(), 3);
    EXPECT_EQ(sheet.table.CurrentIndex(), 0);
    EXPECT_EQ(sheet.table.RowAt(0).nNal, 3);   // not recounted
}

TEST_F(SheetFileTest, AFileThatCannotBeOpenedForWritingStillOpens)
{
    writeRecords(path("ro.Lvo"), {Rec('A').text(67, "read only"), Rec('N').text(20, "x")});
    fs::permissions(path("ro.Lvo"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    OpenSheetFile(path("ro.Lvo"), sheet);
    EXPECT_EQ(sheet.header.gsName, "read only");
    EXPECT_EQ(sheet.table.RecordCount(), 1);

    // The running program can't be opened for writing even by the super-user (ETXTBSY).
    EXPECT_NO_THROW(OpenSheetFile("/proc/self/exe", sheet));
}

TEST_F(SheetFileTest, SaveRebuildsThePeriodAndOpenSortsByNameAndRecounts)
{
    fillHeader();
    sheet.period = "1999.01";
    sheet.table.SetIndexFieldNames(kByJobIndex);
    addWorker("다", "A.철근원", {1, 2, 31});
    addWorker("가", "B.철골공", {5});
    sheet.table.Edit();
    sheet.table.SetFieldFloat("nNal", 40);   // stale count, written as it stands
    sheet.table.Post();
    SaveSheetFile(path("order.Lvo"), sheet);
    EXPECT_EQ(sheet.period, "2024.05");

    const Bytes bytes = readAll(path("order.Lvo"));
    EXPECT_EQ(textAt(bytes, 3 * 344 + 20), K("다"));   // the table's current order: by job
    EXPECT_EQ(textAt(bytes, 4 * 344 + 20), K("가"));
    EXPECT_EQ(int64At(bytes, 4 * 344 + 192), 400000);

    Sheet back;
    back.table.Open();
    back.table.SetIndexFieldNames(kByJobIndex);
    OpenSheetFile(path("order.Lvo"), back);
    EXPECT_EQ(back.table.IndexFieldNames(), kByNameIndex);
    ASSERT_EQ(back.table.RecordCount(), 2);
    EXPECT_EQ(back.table.RowAt(0).pName, K("가"));
    EXPECT_EQ(back.table.RowAt(0).nNal, 1);
    EXPECT_EQ(back.table.RowAt(1).nNal, 3);
}

// A tool that only looks at a file may take its workers in the file's order or in Open's.
TEST_F(SheetFileTest, WorkersAsStoredComeInTheFilesOrderWithTheirDaysCounted)
{
    fillHeader();
    sheet.table.SetIndexFieldNames(kByJobIndex);
    addWorker("다", "A.철근원", {1, 2, 31});
    addWorker("가", "B.철골공", {5});
    SaveSheetFile(path("order.Lvo"), sheet);

    for (const bool asStored : {true, false}) {
        SheetHeader header;
        std::string period;
        std::vector<std::string> names;
        std::vector<double> days;
        const auto each = [&](const WorkerRow& row) {
            names.push_back(fromCp949(row.pName));
            days.push_back(row.nNal);
        };
        if (asStored)
            ReadSheetFileAsStored(path("order.Lvo"), header, period, each);
        else
            ReadSheetFileInOrder(path("order.Lvo"), header, period, each);
        const std::vector<std::string> storedNames{"다", "가"};
        const std::vector<std::string> byName{"가", "다"};
        EXPECT_EQ(names, asStored ? storedNames : byName);
        EXPECT_EQ(days, asStored ? std::vector<double>({3, 1}) : std::vector<double>({1, 3}));
        EXPECT_EQ(header.gsyear, "2024");
        EXPECT_EQ(header.gmonth, "05");
        EXPECT_EQ(period, CurrentPeriod());
    }
}

TEST_F(SheetFileTest, SavePostsAPendingRowAndReturnsToTheCurrentWorker)
{
    addWorker("가", "A");
    addWorker("나", "A");
    sheet.table.MoveTo(1);
    sheet.table.Edit();
    sheet.table.SetFieldText("nAddr", "changed");
    SaveSheetFile(path("pending.Lvo"), sheet);
    EXPECT_EQ(textAt(readAll(path("pending.Lvo")), 4 * 344 + 67), "changed");
    EXPECT_EQ(sheet.table.CurrentIndex(), 1);
    EXPECT_FALSE(sheet.table.Frozen());
}

TEST_F(SheetFileTest, AClosedTableIsRefusedBeforeAnyFileIsTouched)
{
    Sheet closed;
    EXPECT_THROW(SaveSheetFile(path("closed.Lvo"), closed), TableError);
    EXPECT_FALSE(fs::exists(path("closed.Lvo")));
    writeRecords(path("some.Lvo"), {Rec('A')});
    EXPECT_THROW(OpenSheetFile(path("some.Lvo"), closed), TableError);
}

} // namespace
} // namespace lavodc
