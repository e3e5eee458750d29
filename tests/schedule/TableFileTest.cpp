// The schedule table's file format, row operations and modified rule.
#include "TempFolder.h"
#include "common/SjisLiteral.h"
#include "platform/SystemErrorText.h"
#include "schedule/GridObserver.h"
#include "schedule/ScheduleError.h"
#include "schedule/ScheduleGrid.h"
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

std::vector<std::string> Numbers(const ScheduleGrid& grid)
{
    std::vector<std::string> out;
    for (int r = 1; r < grid.RowCount(); ++r)
        out.push_back(grid.Cell(0, r));
    return out;
}

// "date|text" per data row, for compact expectations.
std::vector<std::string> Entries(const ScheduleGrid& grid)
{
    std::vector<std::string> out;
    for (int r = 1; r < grid.RowCount(); ++r)
        out.push_back(Utf8(grid.Cell(1, r)) + "|" + Utf8(grid.Cell(2, r)));
    return out;
}

} // namespace

TEST(TableFile, FirstStartWithoutFile)
{
    TempFolder dir;
    ScheduleGrid grid;
    {
        TScheduleTable table(grid, dir.Path());
        EXPECT_TRUE(table.LoadError().empty());
        EXPECT_EQ(Numbers(grid),
            (std::vector<std::string> { " 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9" }));
        EXPECT_EQ(Utf8(grid.Cell(1, 0)), " \u3000予定日");
        EXPECT_EQ(Utf8(grid.Cell(2, 0)), "\u3000\u3000スケジュール");
        EXPECT_EQ(grid.Cell(0, 0), "No");
        EXPECT_EQ(grid.ColWidth(0), 26);
        EXPECT_EQ(grid.ColWidth(1), 128);
        EXPECT_EQ(grid.ColWidth(2), 300);
        table.DeleteRow(1);
        EXPECT_EQ(grid.RowCount(), 10);
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
    ScheduleGrid grid;
    TScheduleTable table(grid, dir.Path());
    ASSERT_EQ(grid.RowCount(), 21);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(Entries(grid)[i], cases[i].entry) << "line " << cases[i].line;
    EXPECT_EQ(grid.Cell(0, 6), " 6") << "the number field is replaced by the row number";
}

TEST(TableFile, LineEndsAndRowCount)
{
    struct Case {
        std::string bytes;
        int rowCount;
        std::vector<std::string> firstEntries;
    };
    std::string thirty;
    for (int i = 0; i < 30; ++i)
        thirty += "\"\",\"" + std::to_string(i + 1) + "\",\"t\"\n";
    const Case cases[] = {
        { "", 21, { "|" } },
        { "\"\",\"a\",\"1\"\r\"\",\"b\",\"2\"\n\"\",\"c\",\"3\"", 21, { "a|1", "b|2", "c|3", "|" } },
        { "\"\",\"a\",\"1\"\n\r\n\"\",\"c\",\"3\"\r\n", 21, { "a|1", "|", "c|3", "|" } },
        { thirty, 31, { "1|t", "2|t" } },
    };
    for (const Case& c : cases) {
        TempFolder dir;
        dir.Write(c.bytes);
        ScheduleGrid grid;
        TScheduleTable table(grid, dir.Path());
        EXPECT_EQ(grid.RowCount(), c.rowCount);
        const auto entries = Entries(grid);
        for (std::size_t i = 0; i < c.firstEntries.size(); ++i)
            EXPECT_EQ(entries[i], c.firstEntries[i]) << "row " << i + 1;
        EXPECT_EQ(grid.Cell(0, 9), " 9");
        EXPECT_EQ(grid.Cell(0, 10), "10");
    }
}

TEST(TableFile, SaveAndReadBack)
{
    TempFolder dir;
    dir.Write(Sjis("\"\",\"毎週月曜日\",\"ゴミ出し\"\r\n\"\",\"\",\"\"\r\n\"\",\"4月1日\",\"x\"\r\n"));
    ScheduleGrid grid;
    {
        TScheduleTable table(grid, dir.Path());
        table.SetEditText(2, 3, Sjis("会議\"A\""));
        table.SetEditText(1, 4, Sjis("水曜"));
        table.SetEditText(2, 5, Sjis("日付なし"));
        table.SetEditText(2, 6, "line\r\nbreak");
    }
    std::string expected
        = Sjis("\"\",\"毎週月曜日\",\"ゴミ出し\"\r\n\"\",\"\",\"\"\r\n\"\",\"4月1日\",\"会議\"\"A\"\"\"\r\n"
               "\"\",\"水曜\",\"\"\r\n\"\",\"\",\"日付なし\"\r\n\"\",\"\",\"line  break\"\r\n");
    for (int r = 7; r <= 20; ++r)
        expected += "\"\",\"\",\"\"\r\n";
    EXPECT_EQ(Utf8(dir.Read()), Utf8(expected));

    ScheduleGrid again;
    TScheduleTable reread(again, dir.Path());
    const auto entries = Entries(again);
    EXPECT_EQ(entries[0], "毎週月曜日|ゴミ出し");
    EXPECT_EQ(entries[1], "|");
    EXPECT_EQ(entries[2], "4月1日|会議\"A\"");
    EXPECT_EQ(entries[3], "水曜| ");
    EXPECT_EQ(entries[4], " |日付なし");
    EXPECT_EQ(entries[5], " |line  break") << "a line break in a cell must not split the row";
    EXPECT_EQ(again.RowCount(), 21);
}

TEST(TableFile, UnmodifiedTableLeavesFileUntouched)
{
    TempFolder dir;
    const std::string odd = Sjis("  a , 水曜 ,c\n\"\",\"４月１日\"\r\n");
    dir.Write(odd);
    ScheduleGrid grid;
    {
        TScheduleTable table(grid, dir.Path());
        EXPECT_TRUE(table.Check().Ok());
        EXPECT_EQ(Utf8(grid.Cell(1, 1)), "毎週水曜日");
        table.MoveRowUp(1);
        table.MoveRowDown(20);
        table.InsertRow(0);
        EXPECT_FALSE(table.Modified()) << "load, renumbering, the check and refused operations do not modify";
    }
    EXPECT_EQ(dir.Read(), odd);
}

TEST(TableFile, RowOperations)
{
    enum Op { Insert, Delete, Up, Down };
    struct Case {
        int initialRows; // data rows a,b,c,... in a grid of that many rows
        Op op;
        int row;
        std::string expected; // first letters of the dates, '.' for an empty row
        int currentRow; // 0: unchanged
        bool modifies;
    };
    const Case cases[] = {
        { 20, Insert, 1, ".abcdefghijklmnopqrst", 0, true },
        { 20, Insert, 0, "abcdefghijklmnopqrst", 0, false },
        { 20, Insert, 21, "abcdefghijklmnopqrst", 0, false },
        { 20, Delete, 1, "bcdefghijklmnopqrst", 0, true },
        { 20, Delete, 21, "abcdefghijklmnopqrst", 0, false },
        { 16, Delete, 3, "abdefghijklmnop", 0, true },
        { 15, Delete, 3, "abcdefghijklmno", 0, false },
        { 20, Up, 1, "abcdefghijklmnopqrst", 0, false },
        { 20, Up, 2, "bacdefghijklmnopqrst", 1, true },
        { 20, Up, 20, "abcdefghijklmnopqrts", 19, true },
        { 20, Up, 21, "abcdefghijklmnopqrst", 0, false },
        { 20, Down, 1, "bacdefghijklmnopqrst", 2, true },
        { 20, Down, 19, "abcdefghijklmnopqrts", 20, true },
        { 20, Down, 20, "abcdefghijklmnopqrst", 0, false },
    };
    for (const Case& c : cases) {
        TempFolder dir;
        std::string file;
        for (int i = 0; i < c.initialRows; ++i)
            file += "\"\",\"" + std::string(1, char('a' + i)) + "\",\"t\"\r\n";
        dir.Write(file);
        ScheduleGrid grid;
        TScheduleTable table(grid, dir.Path());
        grid.SetRowCount(c.initialRows + 1); // below the 21 a load gives
        grid.SetCurrentCell(2, 5);
        switch (c.op) {
        case Insert:
            table.InsertRow(c.row);
            break;
        case Delete:
            table.DeleteRow(c.row);
            break;
        case Up:
            table.MoveRowUp(c.row);
            break;
        case Down:
            table.MoveRowDown(c.row);
            break;
        }
        std::string dates;
        for (int r = 1; r < grid.RowCount(); ++r)
            dates += grid.Cell(1, r).empty() ? '.' : grid.Cell(1, r)[0];
        const std::string what = "op " + std::to_string(c.op) + " row " + std::to_string(c.row);
        EXPECT_EQ(dates, c.expected) << what;
        EXPECT_EQ(table.Modified(), c.modifies) << what;
        EXPECT_EQ(grid.Row(), c.currentRow ? c.currentRow : 5) << what;
        EXPECT_EQ(grid.Col(), 2) << what;
        for (int r = 1; r < grid.RowCount(); ++r)
            EXPECT_EQ(grid.Cell(0, r), (r < 10 ? " " : "") + std::to_string(r)) << what;
    }
}

TEST(TableFile, FailedSaveKeepsOldFileAndReports)
{
    TempFolder dir;
    const std::string old = "\"\",\"a\",\"1\"\r\n";
    dir.Write(old);
    ScheduleGrid grid;
    TScheduleTable table(grid, dir.Path());
    table.SetEditText(2, 1, std::string(4000, 'x'));

    // A file size limit makes the write itself fail part-way.
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(table.Save(), ScheduleError);
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
        ScheduleGrid grid;
        auto table = std::make_unique<TScheduleTable>(grid, dir.Path());
        // ファイル "<file>" は開けません。<reason in Japanese>
        const std::string reason = kind == Pipe ? Sjis("通常のファイルではありません。")
                                                : platform::SystemErrorText(kind == Folder ? EISDIR : EFBIG);
        EXPECT_EQ(table->LoadError(),
            Sjis("ファイル \"") + std::filesystem::absolute(dir.File()).lexically_normal().string()
                + Sjis("\" は開けません。") + reason);
        // The error itself is kept, with the system's error number, for
        // callers that rethrow it.
        ASSERT_NE(table->LoadFailure(), nullptr);
        if (kind != Pipe) {
            EXPECT_EQ(table->LoadFailure()->SystemError(), kind == Folder ? EISDIR : EFBIG);
        }
        EXPECT_EQ(grid.RowCount(), 10);
        EXPECT_EQ(grid.Cell(0, 9), " 9");
        table->InsertRow(1);
        EXPECT_THROW(table->Save(), ScheduleError);
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
    ScheduleGrid grid;
    auto table = std::make_unique<TScheduleTable>(grid, dir.Path());
    table->SetEditText(1, 1, "x");
    table->Save();
    EXPECT_TRUE(table->Modified()) << "the flag stays set after saving";
    dir.Write("changed behind the table's back");
    table.reset();
    EXPECT_EQ(dir.Read(), "changed behind the table's back");
}
