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
    // 令和 and 元年: the era is kept, its letters spelt out, 元 written as 1.
    { "令和8年12月20日", "7/R8/12/20", "令和8年12月20日" },
    { "R8年12月20日", "7/R8/12/20", "令和8年12月20日" },
    { "Ｒ８年１２月２０日", "7/R8/12/20", "令和8年12月20日" },
    { "r8年12月20日", "7/R8/12/20", "令和8年12月20日" },
    { "ｒ８年12月20日", "7/R8/12/20", "令和8年12月20日" },
    { "令和 8年 12月 20日", "7/R8/12/20", "令和8年12月20日" },
    { "令和元年5月1日", "7/R1/5/1", "令和1年5月1日" },
    { "R元年5月1日", "7/R1/5/1", "令和1年5月1日" },
    { "平成元年1月8日", "7/-1/1/8", "平成1年1月8日" },
    { "Ｈ元年1月8日", "7/-1/1/8", "平成1年1月8日" },
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
    { "令和8年", "-1/R8/", nullptr },
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
            EXPECT_EQ(Utf8(failure->message),
                std::to_string(c.failingRow) + "行目の予定日「" + c.dates[failure->index]
                    + "」は書式が正しくありません。日付には「年」「月」「日」、曜日には「曜」を付けて書きます"
                      "。"
                      "例：2026年12月24日、毎週水曜日、毎月第2火曜日");
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

TEST(DateLanguage, CheckSaysWhatIsWrongAndWhatWouldBeRight)
{
    // Dates the check refuses because the upcoming list could never place
    // them, with the message for row 4.
    const std::pair<const char*, const char*> cases[] = {
        { "2026/12/24",
            "「2026/12/"
            "24」は書式が正しくありません。日付には「年」「月」「日」、曜日には「曜」を付けて書きます。"
            "例：2026年12月24日、毎週水曜日、毎月第2火曜日" },
        { "2005年4月1日(金)",
            "「2005年4月1日(金)"
            "」は読めない文字を含んでいます。数字と「年」「月」「日」「第」「曜」だけで書きます。"
            "例：2026年12月24日、令和8年12月24日、平成17年4月1日" },
        { "元年4月1日",
            "「元年4月1日」は読めない文字を含んでいます。数字と「年」「月」「日」「第」「曜」だけで書きます。"
            "例：2026年12月24日、令和8年12月24日、平成17年4月1日" },
        { "毎週X曜日",
            "「毎週X曜日」は読めない文字を含んでいます。数字と「年」「月」「日」「第」「曜」だけで書きます。"
            "例：毎週水曜日、毎週日曜日" },
        { "日曜9",
            "「日曜9」は曜日が正しくありません。曜日は日月火水木金土のどれかです。例：毎週水曜日、毎週日曜"
            "日" },
        { "毎月32日", "「毎月32日」は日が正しくありません。日は1から31までです。例：毎月15日、毎月1日" },
        { "第6火曜日",
            "「第6火曜日」は「第」の数が正しくありません。第1から第5までです。例：毎月第2火曜日、毎月第1日曜"
            "日" },
        { "13月第1月曜",
            "「13月第1月曜」は月が正しくありません。月は1から12までです。例：毎年1月第2月曜日、毎年9月第3月曜"
            "日" },
        { "毎年2月30日",
            "「毎年2月30日」は存在しない日付です。2月は29日までです。例：毎年4月1日、毎年12月25日" },
        { "令和9年2月29日",
            "「令和9年2月29日」は存在しない日付です。その年の2月は28日までです。"
            "例：2026年12月24日、令和8年12月24日、平成17年4月1日" },
        { "0年1月1日",
            "「0年1月1日」は年が正しくありません。西暦は1年から9999年まで、平成と令和は元年からです。"
            "例：2026年12月24日、令和8年12月24日、平成17年4月1日" },
        { "令和0年1月1日",
            "「令和0年1月1日」は年が正しくありません。西暦は1年から9999年まで、平成と令和は元年からです。"
            "例：2026年12月24日、令和8年12月24日、平成17年4月1日" },
        // A long text is quoted up to 40 bytes, never cutting a character
        // in half (ｱ is one byte, so the 40th byte is the first of two).
        { "ｱあいうえおかきくけこさしすせそたちつてと日",
            "「ｱあいうえおかきくけこさしすせそたちつて…」は読めない文字を含んでいます。"
            "数字と「年」「月」「日」「第」「曜」だけで書きます。例：毎月15日、毎月1日" },
    };
    for (const auto& [typed, message] : cases) {
        TempFolder dir;
        TScheduleTable table(dir.File());
        table.SetDate(0, Sjis("令和8年12月20日"));
        table.SetDate(3, Sjis(typed));
        const auto failure = table.Check();
        ASSERT_TRUE(failure) << typed;
        EXPECT_EQ(failure->index, 3U);
        EXPECT_EQ(Utf8(failure->message), std::string("4行目の予定日") + message);
        EXPECT_EQ(Utf8(table.Entries()[0].date), "令和8年12月20日");
        EXPECT_EQ(Utf8(table.Entries()[3].date), typed) << "a refused date stays as typed";
    }
    // The largest years of each era that are still dates.
    for (const char* date :
        { "9999年12月31日", "平成8011年12月31日", "令和7981年12月31日", "令和2年2月29日" }) {
        TempFolder dir;
        TScheduleTable table(dir.File());
        table.SetDate(0, Sjis(date));
        EXPECT_FALSE(table.Check()) << date;
    }
}
