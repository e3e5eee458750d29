// corkpane-tool schedule, run in-process through the command registry.
#include "CommandRegistry.h"
#include "TempFolder.h"
#include "common/SjisLiteral.h"

#include <gtest/gtest.h>
#include <sstream>

using schedule_test::TempFolder;
using test_text::Utf8;

namespace {

struct Result {
    int status;
    std::string out; // UTF-8
    std::string err;
};

Result RunTool(tool::Args args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    tool::Io io { in, out, err };
    args.insert(args.begin(), "schedule");
    const int status = tool::CommandRegistry::Instance().Run(args, io);
    return { status, Utf8(out.str()), err.str() };
}

} // namespace

TEST(Command, NormalizeAndExpandLines)
{
    EXPECT_EQ(RunTool({ "normalize" }, Sjis("毎週水曜日\r\n平成17年4月1日\n\n4/1")).out,
        "1/3\n7/-17/4/1\n-1/\n-1/4/1\n");
    EXPECT_EQ(RunTool({ "expand" }, Sjis("1/3\r\n7/-17/4/1\n-1/4/1\n")).out,
        "毎週水曜日\n平成17年4月1日\n-1/4/1\n");
    EXPECT_EQ(RunTool({ "normalize" }).out, "");
}

TEST(Command, Upcoming)
{
    TempFolder dir;
    dir.Write(Sjis("\"\",\"毎週火曜日\",\"ゴミ\"\r\n\"\",\"毎年12月25日\",\"クリスマス\"\r\n"));
    const std::string file = dir.File().string();
    EXPECT_EQ(RunTool({ "upcoming", "--today", "2026-12-22", file }).out,
        "0日後毎週火曜日 ゴミ\n3日後毎年12月25日 クリスマス\n");
    EXPECT_EQ(RunTool({ "upcoming", file, "--ahead", "0,0,2,0", "--today", "2026-12-22" }).out,
        "0日後毎週火曜日 ゴミ\n");
    EXPECT_EQ(RunTool({ "upcoming", "--ahead", "-1,-1,-1,-1", "--today", "2026-12-22", file }).out, "");
    EXPECT_EQ(RunTool({ "upcoming", "--holidays", "--today", "2026-12-22", "--ahead", "1,3,5,10", file }).out,
        "0日後毎週火曜日 ゴミ\n3日後毎年12月25日 クリスマス\n10日後1月1日 元日\n");
}

TEST(Command, UpcomingWithCalendars)
{
    TempFolder dir;
    dir.Write(Sjis("\"\",\"毎週火曜日\",\"ゴミ\"\r\n\"\",\"12月25日\",\"クリスマス\"\r\n"));
    const std::string events = dir.test_files::TempFolder::Write("events.ics",
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20261224\r\nSUMMARY:イブ\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nDTSTART:20261225T190000\r\nSUMMARY:夕食\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    const std::string file = dir.File().string();
    const Result merged = RunTool({ "upcoming", "--today", "2026-12-22", "--calendar", events, file });
    EXPECT_EQ(merged.out,
        "0日後毎週火曜日 ゴミ\n2日後12月24日 イブ\n3日後12月25日 クリスマス\n3日後12月25日 19:00 夕食\n");
    EXPECT_EQ(merged.status, tool::kExitOk);

    // A calendar that fails is reported; the rest is still listed.
    const Result failed = RunTool({ "upcoming", "--today", "2026-12-22", "--calendar", "http://example.com/x",
        "--calendar", (dir.Path() / "missing.ics").string(), "--calendar", events, file });
    EXPECT_EQ(failed.out, merged.out);
    EXPECT_EQ(failed.status, tool::kExitFailure);
    EXPECT_NE(Utf8(failed.err).find("カレンダー「http://example.com/…」のアドレスは使えません。"),
        std::string::npos);
    EXPECT_NE(Utf8(failed.err).find("missing.ics\" は開けません。"), std::string::npos) << Utf8(failed.err);
}

TEST(Command, Check)
{
    TempFolder dir;
    dir.Write(Sjis("\"\",\"水曜\",\"a\"\r\n\"\",\"\",\"\"\r\n\"\",\"4/1\",\"b\"\r\n\"\",\"15日\",\"c\"\r\n"));
    const Result failed = RunTool({ "check", dir.File().string() });
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out,
        "毎週水曜日\n\n3行目の予定日「4/"
        "1」は書式が正しくありません。日付には「年」「月」「日」、曜日には「曜」を"
        "付けて書きます。例：2026年12月24日、毎週水曜日、毎月第2火曜日\n");

    dir.Write(Sjis("\"\",\"水曜\",\"a\"\r\n\"\",\"15日\",\"c\"\r\n"));
    const Result passed = RunTool({ "check", dir.File().string() });
    EXPECT_EQ(passed.status, 0);
    EXPECT_EQ(passed.out, "毎週水曜日\n毎月15日\n" + std::string(18, '\n'));
}

TEST(Command, EditSavesOnlyWhenModified)
{
    TempFolder dir;
    const std::string original = Sjis("\"\",\"a\",\"1\"\r\n\"\",\"b\",\"2\"\r\n\"\",\"c\",\"3\"\n");
    dir.Write(original);
    const std::string file = dir.File().string();

    EXPECT_EQ(RunTool({ "edit", file }).status, 0);
    EXPECT_EQ(RunTool({ "edit", file, "up", "1", "down", "20", "insert", "0", "delete", "21" }).status, 0);
    EXPECT_EQ(dir.Read(), original) << "refused operations leave the file alone";

    EXPECT_EQ(
        RunTool({ "edit", file, "down", "1", "insert", "3", "set", "3", "2", Sjis("新\"規\"") }).status, 0);
    std::string expected
        = Sjis("\"\",\"b\",\"2\"\r\n\"\",\"a\",\"1\"\r\n\"\",\"\",\"新\"\"規\"\"\"\r\n\"\",\"c\",\"3\"\r\n");
    for (int r = 5; r <= 21; ++r)
        expected += "\"\",\"\",\"\"\r\n";
    EXPECT_EQ(Utf8(dir.Read()), Utf8(expected));
}

TEST(Command, BadArgumentsExitWithUsage)
{
    TempFolder dir;
    const std::string file = dir.File().string();
    const std::vector<tool::Args> bad {
        {},
        { "normalize", "x" },
        { "upcoming", file },
        { "upcoming", "--today", "2026-02-30", file },
        { "upcoming", "--today", "2026-12-01" },
        { "upcoming", "--today", "2026-12-01", "--ahead", "1,2,3", file },
        { "upcoming", "--today", "2026-12-01", file, "extra" },
        { "check" },
        { "edit", file, "insert" },
        { "edit", file, "set", "1", "2" },
        { "edit", file, "swap", "1" },
    };
    for (const tool::Args& args : bad) {
        const Result r = RunTool(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]) << " " << args.size();
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File())) << "a bad script must not touch the file";

    std::filesystem::create_directory(dir.File());
    EXPECT_EQ(RunTool({ "check", file }).status, 1) << "an unreadable file is a failure, not a usage error";
}
