// The schedule table's file format, row operations and modified rule.
#include "TempFolder.h"
#include "common/SjisLiteral.h"
#include "platform/SystemErrorText.h"
#include "schedule/ScheduleError.h"
#include "schedule/TScheduleTable.h"

#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace schedule;
using schedule_test::TempFolder;
using test_text::Utf8;

namespace {

// "date|text" per entry, for compact expectations.
std::vector<std::string> Entries(const TScheduleTable& table)
{
    std::vector<std::string> out;
    for (const Entry& entry : table.Entries())
        out.push_back(Utf8(entry.date) + "|" + Utf8(entry.text));
    return out;
}

} // namespace

TEST(TableFile, FirstStartWithoutFile)
{
    TempFolder dir;
    {
        TScheduleTable table(dir.File());
        EXPECT_EQ(table.LoadFailure(), nullptr);
        EXPECT_EQ(Entries(table), std::vector<std::string>(9, "|"));
        table.DeleteRow(0);
        EXPECT_EQ(table.Entries().size(), 9U);
        EXPECT_FALSE(table.Modified());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File())) << "an unmodified table writes nothing";
}

TEST(TableFile, ReadingRules)
{
    struct Case {
        const char* line; // UTF-8
        const char* entry; // "date|text" after loading
    };
    const Case cases[] = {
        { R"("","毎週月曜日","ゴミ出し")", "毎週月曜日|ゴミ出し" },
        { R"("","","")", "|" },
        { R"("","4月1日","")", "4月1日| " },
        { R"("","","会議")", " |会議" },
        { R"("","会議""A""","x""")", "会議\"A\"|x\"" },
        { R"(  a , b ,c)", "b|c" },
        { R"("x"y,z)", "y|z" },
        { ",,", "|" },
        { R"("",d)", "d|" },
        { R"("","d","t","extra")", "d|t" },
        { "\"\",\"  spaced  \",\"\ttab\"", "  spaced  |\ttab" },
        { R"("","unterminated)", "unterminated|" },
        { "", "|" },
        { "\"\",\"a,b c\",x y", "a,b c|x" },
    };
    TempFolder dir;
    std::string file;
    for (const Case& c : cases)
        file += Sjis(c.line) + "\r\n";
    dir.Write(file);
    TScheduleTable table(dir.File());
    ASSERT_EQ(table.Entries().size(), 20U);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(Entries(table)[i], cases[i].entry) << "line " << cases[i].line;
}

TEST(TableFile, LineEndsAndRowCount)
{
    struct Case {
        std::string bytes;
        std::size_t entryCount;
        std::vector<std::string> firstEntries;
    };
    std::string thirty;
    for (int i = 0; i < 30; ++i)
        thirty += "\"\",\"" + std::to_string(i + 1) + "\",\"t\"\n";
    const Case cases[] = {
        { "", 20, { "|" } },
        { "\"\",\"a\",\"1\"\r\"\",\"b\",\"2\"\n\"\",\"c\",\"3\"", 20, { "a|1", "b|2", "c|3", "|" } },
        { "\"\",\"a\",\"1\"\n\r\n\"\",\"c\",\"3\"\r\n", 20, { "a|1", "|", "c|3", "|" } },
        { thirty, 30, { "1|t", "2|t" } },
    };
    for (const Case& c : cases) {
        TempFolder dir;
        dir.Write(c.bytes);
        TScheduleTable table(dir.File());
        EXPECT_EQ(table.Entries().size(), c.entryCount);
        const auto entries = Entries(table);
        for (std::size_t i = 0; i < c.firstEntries.size(); ++i)
            EXPECT_EQ(entries[i], c.firstEntries[i]) << "entry " << i;
    }
}

TEST(TableFile, SaveAndReadBack)
{
    TempFolder dir;
    dir.Write(Sjis("\"\",\"毎週月曜日\",\"ゴミ出し\"\r\n\"\",\"\",\"\"\r\n\"\",\"4月1日\",\"x\"\r\n"));
    {
        TScheduleTable table(dir.File());
        table.SetText(2, Sjis("会議\"A\""));
        table.SetDate(3, Sjis("水曜"));
        table.SetText(4, Sjis("日付なし"));
        table.SetText(5, "line\r\nbreak");
    }
    std::string expected
        = Sjis("\"\",\"毎週月曜日\",\"ゴミ出し\"\r\n\"\",\"\",\"\"\r\n\"\",\"4月1日\",\"会議\"\"A\"\"\"\r\n"
               "\"\",\"水曜\",\"\"\r\n\"\",\"\",\"日付なし\"\r\n\"\",\"\",\"line  break\"\r\n");
    for (int r = 7; r <= 20; ++r)
        expected += "\"\",\"\",\"\"\r\n";
    EXPECT_EQ(Utf8(dir.Read()), Utf8(expected));

    TScheduleTable reread(dir.File());
    const auto entries = Entries(reread);
    EXPECT_EQ(entries[0], "毎週月曜日|ゴミ出し");
    EXPECT_EQ(entries[1], "|");
    EXPECT_EQ(entries[2], "4月1日|会議\"A\"");
    EXPECT_EQ(entries[3], "水曜| ");
    EXPECT_EQ(entries[4], " |日付なし");
    EXPECT_EQ(entries[5], " |line  break") << "a line break in a cell must not split the row";
    EXPECT_EQ(reread.Entries().size(), 20U);
}

TEST(TableFile, UnmodifiedTableLeavesFileUntouched)
{
    TempFolder dir;
    const std::string odd = Sjis("  a , 水曜 ,c\n\"\",\"４月１日\"\r\n");
    dir.Write(odd);
    {
        TScheduleTable table(dir.File());
        EXPECT_FALSE(table.Check());
        EXPECT_EQ(Utf8(table.Entries()[0].date), "毎週水曜日");
        table.MoveRowUp(0);
        table.MoveRowDown(19);
        table.InsertRow(20);
        table.DeleteRow(20);
        table.SetText(20, "x");
        EXPECT_FALSE(table.Modified()) << "load, the check and refused operations do not modify";
    }
    EXPECT_EQ(dir.Read(), odd);
}

TEST(TableFile, RowOperations)
{
    enum Op { Insert, Delete, Up, Down };
    struct Case {
        std::size_t initialEntries; // entries a,b,c,...
        Op op;
        std::size_t index;
        std::string expected; // first letters of the dates, '.' for an empty entry
        bool acts;
    };
    const Case cases[] = {
        { 20, Insert, 0, ".abcdefghijklmnopqrst", true },
        { 20, Insert, 19, "abcdefghijklmnopqrs.t", true },
        { 20, Insert, 20, "abcdefghijklmnopqrst", false },
        { 20, Delete, 0, "bcdefghijklmnopqrst", true },
        { 20, Delete, 20, "abcdefghijklmnopqrst", false },
        { 16, Delete, 2, "abdefghijklmnop", true },
        // At 15 entries and below the grid keeps its size.
        { 15, Delete, 2, "abdefghijklmno.", true },
        { 9, Delete, 0, "bcdefghi.", true },
        { 9, Delete, 8, "abcdefgh.", true },
        { 9, Delete, 9, "abcdefghi", false },
        { 20, Up, 0, "abcdefghijklmnopqrst", false },
        { 20, Up, 1, "bacdefghijklmnopqrst", true },
        { 20, Up, 19, "abcdefghijklmnopqrts", true },
        { 20, Up, 20, "abcdefghijklmnopqrst", false },
        { 20, Down, 0, "bacdefghijklmnopqrst", true },
        { 20, Down, 18, "abcdefghijklmnopqrts", true },
        { 20, Down, 19, "abcdefghijklmnopqrst", false },
    };
    for (const Case& c : cases) {
        TempFolder dir;
        // A new table has 9 entries; insertions bring it to the size wanted,
        // below the 20 a load gives.
        TScheduleTable table(dir.File());
        while (table.Entries().size() < c.initialEntries)
            table.InsertRow(0);
        for (std::size_t i = 0; i < c.initialEntries; ++i)
            table.SetDate(i, std::string(1, char('a' + i)));
        table.SetModified(false);
        bool can = false;
        switch (c.op) {
        case Insert:
            can = table.CanInsertRow(c.index);
            table.InsertRow(c.index);
            break;
        case Delete:
            can = table.CanDeleteRow(c.index);
            table.DeleteRow(c.index);
            break;
        case Up:
            can = table.CanMoveRowUp(c.index);
            table.MoveRowUp(c.index);
            break;
        case Down:
            can = table.CanMoveRowDown(c.index);
            table.MoveRowDown(c.index);
            break;
        }
        std::string dates;
        for (const Entry& entry : table.Entries())
            dates += entry.date.empty() ? '.' : entry.date[0];
        const std::string what = "op " + std::to_string(c.op) + " index " + std::to_string(c.index);
        EXPECT_EQ(dates, c.expected) << what;
        EXPECT_EQ(table.Modified(), c.acts) << what;
        // The window announces an operation to its view only when this says
        // it acts.
        EXPECT_EQ(can, c.acts) << what;
    }
}

TEST(TableFile, FailedSaveKeepsOldFileAndReports)
{
    TempFolder dir;
    const std::string old = "\"\",\"a\",\"1\"\r\n";
    dir.Write(old);
    TScheduleTable table(dir.File());
    table.SetText(0, std::string(4000, 'x'));

    // A file size limit makes the write itself fail part-way.
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    // The file unit's error arrives as it was raised, errno and all.
    int error = 0;
    try {
        table.Save();
    } catch (const platform::FileIoError& e) {
        error = e.SystemError();
    }
    EXPECT_EQ(error, EFBIG);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(dir.Read(), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "temporary file left";
    table.Save();
    EXPECT_NE(dir.Read(), old);
}

TEST(TableFile, UnreadableFileIsReportedAndNotOverwritten)
{
    // A folder in the file's place, a pipe, which would block a reader, and
    // a file far larger than any schedule (each line would become a row).
    enum Kind { Folder, Pipe, Oversized };
    for (const Kind kind : { Folder, Pipe, Oversized }) {
        SCOPED_TRACE(kind);
        TempFolder dir;
        const std::string huge((1u << 20) + 1, '\n');
        if (kind == Pipe)
            ASSERT_EQ(::mkfifo(dir.File().c_str(), 0600), 0);
        else if (kind == Folder)
            std::filesystem::create_directories(dir.File() / "keep");
        else
            dir.Write(huge);
        auto table = std::make_unique<TScheduleTable>(dir.File());
        // ファイル "<file>" は開けません。<reason in Japanese>
        const std::string reason = kind == Pipe ? Sjis("通常のファイルではありません。")
                                                : platform::SystemErrorText(kind == Folder ? EISDIR : EFBIG);
        const std::string message = Sjis("ファイル \"")
            + std::filesystem::absolute(dir.File()).lexically_normal().string() + Sjis("\" は開けません。")
            + reason;
        // The error itself is kept, with the system's error number, for
        // callers that rethrow it.
        ASSERT_NE(table->LoadFailure(), nullptr);
        EXPECT_EQ(table->LoadFailure()->what(), message);
        if (kind != Pipe) {
            EXPECT_EQ(table->LoadFailure()->SystemError(), kind == Folder ? EISDIR : EFBIG);
        }
        EXPECT_EQ(table->Entries().size(), 9U);
        table->InsertRow(0);
        try {
            table->Save();
            ADD_FAILURE() << "saved over a file it could not read";
        } catch (const ScheduleError& e) {
            EXPECT_EQ(std::string(e.what()), message + Sjis("読み込めなかったファイルには上書きしません。"));
            EXPECT_EQ(e.SystemError(), table->LoadFailure()->SystemError());
        }
        table.reset();
        EXPECT_EQ(std::filesystem::is_fifo(dir.File()), kind == Pipe);
        EXPECT_EQ(std::filesystem::is_directory(dir.File() / "keep"), kind == Folder);
        if (kind == Oversized) {
            EXPECT_EQ(dir.Read(), huge);
        }
    }
}

TEST(TableFile, ExplicitSaveIsNotRepeatedByDestructor)
{
    TempFolder dir;
    auto table = std::make_unique<TScheduleTable>(dir.File());
    table->SetDate(0, "x");
    table->Save();
    EXPECT_TRUE(table->Modified()) << "the flag stays set after saving";
    dir.Write("changed behind the table's back");
    table.reset();
    EXPECT_EQ(dir.Read(), "changed behind the table's back");
}

TEST(TableFile, RowAndSizeBounds)
{
    const std::size_t max = TScheduleTable::kMaxEntryCount;
    const auto path = [](const TempFolder& dir) {
        return std::filesystem::absolute(dir.File()).lexically_normal().string();
    };
    {
        // A file of line feeds up to the bound is read, one entry a line;
        // inserting stops at the bound.
        TempFolder dir;
        dir.Write(std::string(max, '\n'));
        TScheduleTable table(dir.File());
        ASSERT_EQ(table.LoadFailure(), nullptr);
        EXPECT_EQ(table.Entries().size(), max);
        EXPECT_FALSE(table.CanInsertRow(0));
        table.InsertRow(0);
        EXPECT_EQ(table.Entries().size(), max);
        table.DeleteRow(0);
        EXPECT_TRUE(table.CanInsertRow(0));
    }
    for (const std::string& bytes : { std::string(max + 1, '\n'), std::string(max, '\n') + "x",
             std::string(std::size_t { 1 } << 20, '\n') }) {
        // One more, or a megabyte of them, is refused before an entry is
        // made, and the file is kept.
        TempFolder dir;
        dir.Write(bytes);
        TScheduleTable table(dir.File());
        ASSERT_NE(table.LoadFailure(), nullptr);
        EXPECT_EQ(Utf8(table.LoadFailure()->what()),
            "ファイル \"" + path(dir)
                + "\" は開けません。行数が多すぎます (50000 行まで)。ファイルはそのまま残します。");
        EXPECT_EQ(table.Entries().size(), 9U);
        table.SetText(0, "x");
        EXPECT_THROW(table.Save(), ScheduleError);
        EXPECT_EQ(dir.Read(), bytes);
    }
    {
        // A save that the next start could not read is refused; the old
        // file stays.
        TempFolder dir;
        dir.Write("\"\",\"a\",\"1\"\r\n");
        TScheduleTable table(dir.File());
        table.SetText(0, std::string(platform::kScheduleReadLimit, 'x'));
        try {
            table.Save();
            ADD_FAILURE() << "saved a file too large to read back";
        } catch (const ScheduleError& e) {
            EXPECT_EQ(Utf8(e.what()),
                "ファイル \"" + path(dir)
                    + "\" を作成できません。予定の文字が多すぎるため保存できません (1 MB "
                      "まで)。予定を減らしてから保存してください。");
        }
        EXPECT_EQ(dir.Read(), "\"\",\"a\",\"1\"\r\n");
        table.SetText(0, std::string(platform::kScheduleReadLimit - 300, 'x'));
        table.Save();
        EXPECT_EQ(TScheduleTable(dir.File()).Entries()[0].text.size(), platform::kScheduleReadLimit - 300);
    }
}
