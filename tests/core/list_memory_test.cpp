// The largest lists the readers take, planned in a child process whose peak memory is
// measured: what reading and planning cost, apart from the table the workers go to or the
// sheet whose workers a list updates.
#include "core/cp949.h"
#include "core/worker_import.h"
#include "core/xlsx_list_reader.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define LAVODC_MEASURES_MEMORY 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LAVODC_MEASURES_MEMORY 0
#endif
#endif
#ifndef LAVODC_MEASURES_MEMORY
#define LAVODC_MEASURES_MEMORY 1
#endif

namespace lavodc {
namespace {

constexpr long kPeakLimitKb = 200 * 1024;
constexpr std::size_t kLargestList = kMaxListRows - 1;   // and the title row
// Shared strings of a kilobyte (and their index) that fill the limit but for a few kilobytes.
const std::size_t kFillers = (kMaxSharedStrings - 4096) / (1024 + 4);

// Bytes made as they are read: a head, `count` bodies made from their index, a tail.
class GeneratedSource : public ByteSource {
public:
    GeneratedSource(std::string head, std::size_t count, std::function<std::string(std::size_t)> body, std::string tail)
        : head_(std::move(head)), count_(count), body_(std::move(body)), tail_(std::move(tail))
    {
        Rewind();
    }
    std::size_t Read(char* buffer, std::size_t size) override
    {
        std::size_t n = 0;
        while (n < size) {
            if (at_ == pending_.size()) {
                if (next_ < count_)
                    pending_ = body_(next_++);
                else if (!tailDone_)
                    pending_ = tail_, tailDone_ = true;
                else
                    break;
                at_ = 0;
            }
            const std::size_t take = std::min(size - n, pending_.size() - at_);
            std::memcpy(buffer + n, pending_.data() + at_, take);
            at_ += take;
            n += take;
        }
        return n;
    }
    void Rewind() override
    {
        pending_ = head_;
        at_ = 0;
        next_ = 0;
        tailDone_ = false;
    }

private:
    std::string head_;
    std::size_t count_;
    std::function<std::string(std::size_t)> body_;
    std::string tail_;
    std::string pending_;
    std::size_t at_ = 0;
    std::size_t next_ = 0;
    bool tailDone_ = false;
};

std::string Number(std::size_t i)
{
    char text[32];
    std::snprintf(text, sizeof text, "80%04zu-1%06zu", i % 10000, i);
    return text;
}

// The peak resident memory, in kilobytes, of a child process that runs `work`; -1 when the
// work said it failed.
long ChildPeakKb(const std::function<bool()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        int code = 1;
        try {
            code = work() ? 0 : 1;
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

// The peak of a child process that plans with `plan`; -1 when the plan did not hold
// `workers` workers.
long PlanningPeakKb(const std::function<ImportPlan(const WorkerTable&)>& plan, std::size_t workers)
{
    return ChildPeakKb([&] {
        WorkerTable table;
        table.Open();
        return plan(table).workers.size() == workers;
    });
}

class ListMemoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!LAVODC_MEASURES_MEMORY)
            GTEST_SKIP() << "peak memory means nothing under the sanitizers' allocator";
    }
};

TEST_F(ListMemoryTest, TheLargestCsvListIsPlannedInBoundedMemory)
{
    const long peak = PlanningPeakKb(
        [](const WorkerTable& table) {
            GeneratedSource csv("성명,주민등록번호,주소,전화번호,직종,평균시간,임금총액,이직사유,1,2,3\r\n", kLargestList,
                                [](std::size_t i) {
                                    return "근로자" + std::to_string(i) + "," + Number(i) + ",대전광역시 서구 둔산로 " +
                                           std::to_string(i) + ",042-123-4567,A.철근원,8,\"1,234,567\",,√,,√\r\n";
                                },
                                "");
            return PlanCsvImport(csv, table, "2024.05");
        },
        kLargestList);
    ASSERT_GT(peak, 0);
    std::printf("[ peak     ] csv of %zu workers: %ld MB\n", kLargestList, peak / 1024);
    EXPECT_LT(peak, kPeakLimitKb);
}

// A sheet holding the workers the generated lists name.
void FillSheet(WorkerTable& table)
{
    table.Open();
    table.AppendRows(kLargestList, [](std::size_t i, WorkerRow& row) {
        row.pName = K("근로자") + std::to_string(i);
        row.JmnNo = Number(i);
        row.nDay = 8;
    });
}

TEST_F(ListMemoryTest, TheLargestCsvListUpdatingTheWholeSheetWithItsDaysIsPlannedInBoundedMemory)
{
    std::string titles = "성명,주민등록번호,임금총액";
    for (int d = 1; d <= 31; ++d)
        titles += "," + std::to_string(d) + "일";
    std::string days;
    for (int d = 1; d <= 31; ++d)
        days += d % 7 == 0 ? "," : ",o";

    const long sheetOnly = ChildPeakKb([] {
        WorkerTable table;
        FillSheet(table);
        return table.RecordCount() == static_cast<int>(kLargestList);
    });
    const long updated = ChildPeakKb([&] {
        WorkerTable table;
        FillSheet(table);
        GeneratedSource csv(titles + "\r\n", kLargestList,
                            [&days](std::size_t i) {
                                return "근로자" + std::to_string(i) + "," + Number(i) + ",\"1,234,567\"" + days + "\r\n";
                            },
                            "");
        const auto start = std::chrono::steady_clock::now();
        ImportPlan plan = PlanCsvImport(csv, table, "2024.05");
        const auto planned = std::chrono::steady_clock::now();
        ApplyImport(table, plan);
        const auto applied = std::chrono::steady_clock::now();
        std::printf("[ time     ] %zu updates with 31 days: planned in %.2f s, applied in %.2f s\n", kLargestList,
                    std::chrono::duration<double>(planned - start).count(),
                    std::chrono::duration<double>(applied - planned).count());
        std::fflush(stdout);   // the child ends with _exit
        return plan.updates.size() == kLargestList && table.RowAt(0).nNal == 27 && table.RowAt(0).SmMny == 1234567;
    });
    ASSERT_GT(sheetOnly, 0);
    ASSERT_GT(updated, 0);
    std::printf("[ peak     ] sheet of %zu workers: %ld MB; with the csv that updates them all: %ld MB\n", kLargestList,
                sheetOnly / 1024, updated / 1024);
    EXPECT_LT(updated - sheetOnly, kPeakLimitKb);
}

// Parts made as they are read.
class GeneratedParts : public WorkbookParts {
public:
    std::unique_ptr<ByteSource> Open(const std::string& name) override
    {
        const auto found = parts.find(name);
        return found == parts.end() ? nullptr : found->second();
    }
    std::map<std::string, std::function<std::unique_ptr<ByteSource>()>> parts;
};

std::function<std::unique_ptr<ByteSource>()> Fixed(std::string text)
{
    return [text] { return std::make_unique<GeneratedSource>(text, 0, nullptr, ""); };
}

TEST_F(ListMemoryTest, TheLargestWorkbookListWithSharedStringsUpToTheLimitIsPlannedInBoundedMemory)
{
    const std::string main = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    const long peak = PlanningPeakKb(
        [&main](const WorkerTable& table) {
            GeneratedParts book;
            book.parts["xl/workbook.xml"] = Fixed("<workbook><sheets><sheet r:id=\"s\" xmlns:r=\"r\"/></sheets></workbook>");
            book.parts["xl/_rels/workbook.xml.rels"] =
                Fixed("<Relationships><Relationship Id=\"s\" Target=\"sheet.xml\"/><Relationship Id=\"t\" Type=\"" +
                      main + "sharedStrings\" Target=\"strings.xml\"/></Relationships>");
            // The titles, then strings of a kilobyte up to just below the limit.
            book.parts["xl/strings.xml"] = [] {
                return std::make_unique<GeneratedSource>(
                    "<sst><si><t>성명</t></si><si><t>주민등록번호</t></si><si><t>주소</t></si><si><t>임금총액</t></si>",
                    kFillers, [](std::size_t) { return "<si><t>" + std::string(1024, 'x') + "</t></si>"; }, "</sst>");
            };
            book.parts["xl/sheet.xml"] = [] {
                return std::make_unique<GeneratedSource>(
                    "<worksheet><sheetData><row r=\"1\"><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c>"
                    "<c t=\"s\"><v>2</v></c><c t=\"s\"><v>3</v></c></row>",
                    kLargestList,
                    [](std::size_t i) {
                        return "<row><c t=\"inlineStr\"><is><t>근로자" + std::to_string(i) +
                               "</t></is></c><c t=\"inlineStr\"><is><t>" + Number(i) +
                               "</t></is></c><c t=\"inlineStr\"><is><t>대전광역시 서구 둔산로 " + std::to_string(i) +
                               "</t></is></c><c><v>1234567</v></c></row>";
                    },
                    "</sheetData></worksheet>");
            };
            return PlanImport([&book](ListRowSink& sink) { ReadFirstSheet(book, sink); }, table, "2024.05");
        },
        kLargestList);
    ASSERT_GT(peak, 0);
    std::printf("[ peak     ] workbook of %zu workers and 64 MB of shared strings: %ld MB\n", kLargestList, peak / 1024);
    EXPECT_LT(peak, kPeakLimitKb);
}

} // namespace
} // namespace lavodc
