// Normalising, expanding and splitting date expressions, and the check.
#include "TempFolder.h"
#include "common/SjisLiteral.h"
#include "schedule/TScheduleTable.h"

#include <gtest/gtest.h>

using namespace schedule;
using schedule_test::TempFolder;
using test_text::Utf8;

namespace {

struct Form {
    const char* typed;
    const char* normalized;
    const char* display; // after the check; nullptr when rejected
};

const Form kForms[] = {
    // Accepted.
    { "毎週水曜日", "1/3", "毎週水曜日" },
    { "水曜日", "1/3", "毎週水曜日" },
    { "水曜", "1/3", "毎週水曜日" },
    { "毎週 水曜日", "1/3", "毎週水曜日" },
    { "日曜日", "1/0", "毎週日曜日" },
    { "土曜", "1/6", "毎週土曜日" },
    { "毎月15日", "2/15", "毎月15日" },
    { "１５日", "2/15", "毎月15日" },
    { "毎月\u300015日", "2/15", "毎月15日" },
    { "毎月第2火曜日", "3/2/2", "毎月第2火曜日" },
    { "第２火曜", "3/2/2", "毎月第2火曜日" },
    { "毎月第1日曜日", "3/1/0", "毎月第1日曜日" },
    { "毎年4月1日", "4/4/1", "毎年4月1日" },
    { "毎年４月１日", "4/4/1", "毎年4月1日" },
    { "毎年 4月 1日", "4/4/1", "毎年4月1日" },
    { "毎年1月第2月曜日", "5/1/2/1", "毎年1月第2月曜日" },
    { "1月第2月曜", "5/1/2/1", "毎年1月第2月曜日" },
    { "４月１日", "6/4/1", "4月1日" },
    { "2005年4月1日", "7/2005/4/1", "2005年4月1日" },
    { "平成17年4月1日", "7/-17/4/1", "平成17年4月1日" },
    { "H17年4月1日", "7/-17/4/1", "平成17年4月1日" },
    { "Ｈ１７年４月１日", "7/-17/4/1", "平成17年4月1日" },
    { "h17年4月1日", "7/-17/4/1", "平成17年4月1日" },
    { "ｈ17年4月1日", "7/-17/4/1", "平成17年4月1日" },
    { "平成1年1月8日", "7/-1/1/8", "平成1年1月8日" },
    { "2005／4／1日", "2/2005/4/1", "毎月2005日" },
    // Accepted with a meaning the user may not expect.
    { "毎年第2月曜日", "3/2/1", "毎月第2月曜日" },
    { "明日", "2/明", "毎月明日" },
    { "毎年2月30日", "4/2/30", "毎年2月30日" },
    { "2005年4月1日(金)", "7/2005/4/1(金)", "2005年4月1(金)日" },
    { "毎週X曜日", "1/X曜", "毎週X曜日" },
    // Rejected.
    { "2005/4/1", "-1/2005/4/1", nullptr },
    { "４／１", "-1/4/1", nullptr },
    { "平成17/4/1", "-1/-17/4/1", nullptr },
    { "4月", "-1/4/", nullptr },
    { "2005年4月", "-1/2005/4/", nullptr },
    { "平成17年", "-1/-17/", nullptr },
    { "毎週月", "-1/", nullptr },
    { "第2日", "-1/2", nullptr },
    { "1月月曜日", "-1/1/1", nullptr },
    { "毎月15日月曜", "-1/15/1", nullptr },
    { "毎年", "-1/", nullptr },
    { "", "-1/", nullptr },
    { " ", "-1/", nullptr },
    { "水曜 日", "-1/3", nullptr },
    { "1//2", "-1/1/2", nullptr },
    { "1///2", "-1/1//2", nullptr },
    // Whole characters only: ド (83 68) and ォ (83 48) end in the bytes of
    // "h" and "H"; ｓ (82 93) followed by ⅰ (FA 40) holds the bytes of 日.
    { "ドォ", "-1/ドォ", nullptr },
    { "ｓⅰ", "-1/ｓⅰ", nullptr },
};

} // namespace

TEST(DateLanguage, NormalizeAndExpandEveryForm)
{
    for (const Form& f : kForms) {
        const std::string normalized = TScheduleTable::NormalizeDate(Sjis(f.typed));
        EXPECT_EQ(Utf8(normalized), f.normalized) << "typed " << f.typed;
        if (!f.display)
            continue;
        const std::string display = TScheduleTable::ExpandDate(normalized);
        EXPECT_EQ(Utf8(display), f.display) << "typed " << f.typed;
        // Checking twice changes nothing the second time.
        EXPECT_EQ(Utf8(TScheduleTable::ExpandDate(TScheduleTable::NormalizeDate(display))), f.display);
    }
}

TEST(DateLanguage, ExpandOddFields)
{
    const std::pair<const char*, const char*> cases[] = {
        { "1/9", "毎週X曜日" },
        { "3/5/abc", "毎月第5X曜日" },
        { "1", "毎週X曜日" },
        { "7/0/1/1", "0年1月1日" },
        { "7/abc/1/1", "abc年1月1日" },
        { "7/-2147483648/1/1", "平成2147483648年1月1日" },
        { "7/\"-17\"/4/1", "平成17年4月1日" },
        { "8/1", "8/1" },
        { "", "" },
    };
    for (const auto& [normalized, display] : cases)
        EXPECT_EQ(Utf8(TScheduleTable::ExpandDate(Sjis(normalized))), display) << normalized;
}

TEST(DateLanguage, SplitDate)
{
    struct Case {
        const char* text;
        int32_t kind, a, b, c;
    };
    const Case cases[] = {
        { "1/3", 1, 3, -1, -1 },
        { "5/1/2/1/9", 5, 1, 2, 1 },
        { "-1/", -1, -1, -1, -1 },
        { "3/x/2", 3, -1, 2, -1 },
        { "2/99999999999", 2, -1, -1, -1 },
        { "2/+5", 2, 5, -1, -1 },
        { "2/ 5", 2, 5, -1, -1 },
        { "2//5", 2, -1, 5, -1 },
        { "4/4/1(金)", 4, 4, -1, -1 },
    };
    for (const Case& c : cases) {
        int32_t k = 0, a = 0, b = 0, d = 0;
        TScheduleTable::SplitDate(Sjis(c.text), k, a, b, d);
        EXPECT_EQ((std::array { k, a, b, d }), (std::array { c.kind, c.a, c.b, c.c })) << c.text;
    }
}

TEST(DateLanguage, Check)
{
    struct Case {
        std::vector<const char*> dates; // rows 1.. (rest empty)
        int failingRow;
        std::vector<const char*> after;
    };
    const Case cases[] = {
        { {}, 0, {} },
        { { "水曜", "4/1", "毎月15日" }, 2, { "毎週水曜日", "4/1", "毎月15日" } },
        { { "", "１５日", " " }, 3, { "", "毎月15日", " " } },
        { { "平成15年4月1日", "平成1年1月8日", "", "1月第2月曜" }, 0,
            { "平成15年4月1日", "平成1年1月8日", "", "毎年1月第2月曜日" } },
        { { "毎週", "水曜" }, 1, { "毎週", "水曜" } },
    };
    for (const Case& c : cases) {
        TempFolder dir;
        TScheduleTable table(dir.File());
        for (std::size_t i = 0; i < c.dates.size(); ++i)
            table.SetDate(i, Sjis(c.dates[i]));
        table.SetText(0, "text");
        table.SetModified(false);
        const auto failure = table.Check();
        EXPECT_EQ(failure ? failure->index + 1 : 0, c.failingRow);
        if (failure) {
            EXPECT_EQ(
                Utf8(failure->message), std::to_string(c.failingRow) + "行目の予定日にエラーがあります.");
        }
        for (std::size_t i = 0; i < c.after.size(); ++i)
            EXPECT_EQ(Utf8(table.Entries()[i].date), c.after[i]) << "row " << i + 1;
        EXPECT_EQ(table.Entries()[0].text, "text");
        EXPECT_FALSE(table.Modified());
        if (c.failingRow == 0) {
            EXPECT_FALSE(table.Check());
            for (std::size_t i = 0; i < c.after.size(); ++i)
                EXPECT_EQ(Utf8(table.Entries()[i].date), c.after[i]) << "second check, row " << i + 1;
        }
    }
}
