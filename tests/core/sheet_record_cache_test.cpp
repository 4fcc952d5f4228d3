// Records kept encoded as the table changes give the bytes a fresh encoding gives, whatever
// happened to the table in between.
#include "core/cp949.h"
#include "core/sheet_file.h"
#include "core/sheet_record_cache.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace lavodc {
namespace {

class SheetRecordCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sheet.table.Open();
        ResetHeader(sheet.header, "2024.05");
        for (const char* name : {"다", "가", "나", "라"})
            add(name);
    }
    void add(const char* name)
    {
        sheet.table.Append();
        sheet.table.SetFieldText("pName", K(name));
        sheet.table.SetFieldFloat("SmMny", 1000);
        sheet.table.Post();
    }
    void expectFresh(const char* after)
    {
        SCOPED_TRACE(after);
        std::string bytes;
        cache.SheetBytes(sheet.header, bytes);
        EXPECT_EQ(bytes, SheetFileBytes(sheet.header, sheet.table));
    }

    Sheet sheet;
    SheetRecordCache cache{sheet.table};
};

TEST_F(SheetRecordCacheTest, FollowsEveryKindOfChange)
{
    WorkerTable& table = sheet.table;
    const std::function<void()> changes[] = {
        [] {},
        [&] { table.MoveTo(1); table.Edit(); table.SetFieldTextAt(kFirstDayField + 4, std::string(kDayMark)); table.Post(); },
        [&] { table.MoveTo(2); table.Edit(); table.SetFieldText("nAddr", K("대전")); table.Post(); },
        [&] { table.MoveTo(0); table.Edit(); table.SetFieldText("pName", K("하")); table.Post(); },   // moves
        [&] { add("마"); },
        [&] { table.MoveTo(3); table.Delete(); },
        [&] { table.SetIndexFieldNames(kByJobIndex); },
        [&] { table.RecountAllDays(); },
        [&] { sheet.header.gmonth = "06"; },                                                            // the period
        [&] { sheet.header.gsName = K("현장"); },
        [&] { FreezeScope frozen(table); table.MoveTo(0); table.Edit(); table.SetFieldFloat("nDay", 8); table.Post(); },
        [&] { table.DeleteAllRows(); },
        [&] { add("가"); },
    };
    int step = 0;
    for (const auto& change : changes) {
        change();
        expectFresh(("step " + std::to_string(step++)).c_str());
    }
}

} // namespace
} // namespace lavodc
