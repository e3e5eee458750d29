#include "platform/FileIo.h"

#include "common/FolderNames.h"
#include "common/TempFolder.h"
#include "jconvert/cp932.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace platform;

namespace {

class FileIoTest : public ::testing::Test {
protected:
    fs::path File(const std::string& name) const { return temp_ / name; }
    std::vector<std::string> Names() const { return test_files::FolderNames(temp_.Path()); }

    test_files::TempFolder temp_ { "fileio" };
};

TEST_F(FileIoTest, ReadsOnlyRegularFilesWithinTheLimit)
{
    temp_.Write("memo.txt", "abc");
    fs::create_directory(File("folder"));
    ASSERT_EQ(0, ::mkfifo(File("pipe").c_str(), 0600));
    const std::string notRegular = jconvert::Utf8ToCp932("通常のファイルではありません。");
    const struct {
        const char* name;
        std::uint64_t limit;
        int error; // 0: read; -1: not regular
    } cases[] = {
        { "memo.txt", 3, 0 }, { "memo.txt", 2, EFBIG }, { "folder", 100, EISDIR },
        { "pipe", 100, -1 }, // nobody writes to it: must not wait
        { "/dev/zero", 100, -1 }, // endless
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = c.name[0] == '/' ? fs::path(c.name) : File(c.name);
        if (c.error == 0) {
            EXPECT_EQ("abc", ReadFileIfExists(file, c.limit).value());
            continue;
        }
        try {
            ReadFileIfExists(file, c.limit);
            ADD_FAILURE() << "read";
        } catch (const FileIoError& e) {
            const std::string reason = c.error < 0 ? notRegular : FileErrorReason(c.error);
            EXPECT_EQ(CannotOpenMessage(file, reason), e.what());
        }
    }
    EXPECT_FALSE(ReadFileIfExists(File("missing"), 100));
    EXPECT_THROW(ReadWholeFile(File("missing"), 100), FileIoError);
}

// What it streams: a file of any size and a pipe as it comes; a folder or a
// missing file is the cannot-open error with its errno.
TEST_F(FileIoTest, TheBlockReaderStreamsFilesAndPipes)
{
    auto readAll = [](const fs::path& file) {
        FileReader reader(file);
        std::string bytes;
        char block[3];
        while (const std::size_t n = reader.Read(block, sizeof block))
            bytes.append(block, n);
        return bytes;
    };
    EXPECT_EQ(readAll(temp_.Write("data", std::string("abcdefg\0h", 9))), std::string("abcdefg\0h", 9));
    ASSERT_EQ(0, ::mkfifo(File("pipe").c_str(), 0600));
    std::thread writer([&] { temp_.Write("pipe", "piped"); });
    EXPECT_EQ(readAll(File("pipe")), "piped");
    writer.join();
    for (const auto& [name, error] : { std::pair { "", EISDIR }, std::pair { "missing", ENOENT } }) {
        try {
            FileReader reader(File(name));
            ADD_FAILURE() << name;
        } catch (const FileIoError& failure) {
            EXPECT_EQ(failure.SystemError(), error) << name;
        }
    }
}

TEST_F(FileIoTest, ReplacesThroughLinksKeepingPermissions)
{
    fs::create_directory(File("real"));
    const fs::path target = File("real/schedule.txt");
    temp_.Write(target, "old");
    ::chmod(target.c_str(), 0640);
    fs::create_symlink("real/schedule.txt", File("link.txt"));

    ReplaceFile(File("link.txt"), "new", 100);
    EXPECT_TRUE(fs::is_symlink(File("link.txt")));
    EXPECT_EQ("new", temp_.Read(target));
    struct stat info { };
    ASSERT_EQ(0, ::stat(target.c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 07777);

    // A new launcher may be run.
    ReplaceFile(File("launcher.desktop"), "x", 100, true);
    ASSERT_EQ(0, ::stat(File("launcher.desktop").c_str(), &info));
    EXPECT_EQ(0111u, info.st_mode & 0111);
    EXPECT_EQ((std::vector<std::string> { "launcher.desktop", "link.txt", "real" }), Names());
}

TEST_F(FileIoTest, PrivateFilesAreTheOwnersOnlyAndWiderOnesTightened)
{
    const fs::path file = File("corkpane.ini");
    // The modes before (0: no file yet) and after a private save.
    for (const auto& [before, after] : { std::pair<mode_t, mode_t> { 0, 0600 }, { 0644, 0600 },
             { 0666, 0600 }, { 0755, 0700 }, { 0400, 0400 } }) {
        fs::remove(file);
        if (before != 0)
            ::chmod(temp_.Write(file, "old").c_str(), before);
        ReplacePrivateFile(file, "PassWord1=x", 100);
        struct stat info { };
        ASSERT_EQ(0, ::stat(file.c_str(), &info));
        EXPECT_EQ(after, info.st_mode & 07777) << std::oct << before;
    }
}

TEST_F(FileIoTest, FailuresAndInterruptedSavesLeaveNoTemporaries)
{
    const fs::path memo = File("memo.txt");
    temp_.Write(memo, "old");
    // Left by saves whose process is gone, by one still running (process 1),
    // and a file of somebody else's that merely looks alike.
    const std::string stale = ".memo.txt.corkpane-tmp-999999999-0";
    const std::string running = ".memo.txt.corkpane-tmp-1-0";
    temp_.Write(stale, "half");
    temp_.Write(running, "busy");
    temp_.Write(".memo.txt.corkpane-tmp-x", "other");
    {
        FileReplacement abandoned(memo, 100);
        abandoned.Write("never committed");
    }
    EXPECT_EQ("old", temp_.Read(memo));
    EXPECT_FALSE(fs::exists(File(stale)));
    EXPECT_TRUE(fs::exists(File(running)));

    // A file-size limit: the write fails with its usual error instead of a
    // signal ending the program, and the old content stays.
    rlimit saved {};
    ASSERT_EQ(0, ::getrlimit(RLIMIT_FSIZE, &saved));
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(0, ::setrlimit(RLIMIT_FSIZE, &small));
    try {
        ReplaceFile(memo, std::string(4096, 'x'), kMemoReadLimit);
        ADD_FAILURE() << "a write past the size limit succeeded";
    } catch (const FileIoError& e) {
        EXPECT_EQ(EFBIG, e.SystemError());
        EXPECT_EQ(CannotCreateMessage(memo, FileErrorReason(EFBIG)), e.what());
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ("old", temp_.Read(memo));

    EXPECT_THROW(ReplaceFile(File("missing/memo.txt"), "x", 100), FileIoError);
    EXPECT_EQ(
        (std::vector<std::string> { ".memo.txt.corkpane-tmp-1-0", ".memo.txt.corkpane-tmp-x", "memo.txt" }),
        Names());
}

// A link whose target is not there yet names the file to create, through
// relative and absolute links and chains of them; the links stay. A loop is
// refused with the system's reason, like a save nothing could have done.
TEST_F(FileIoTest, DanglingLinksAreFollowedToTheFileTheyName)
{
    fs::create_directory(File("data"));
    fs::create_symlink("data/memo.txt", File("memo.txt"));
    fs::create_symlink(File("data/settings.ini"), File("corkpane.ini"));
    fs::create_symlink("hop.txt", File("schedule.txt"));
    fs::create_symlink("data/schedule.txt", File("hop.txt"));
    for (const char* name : { "memo.txt", "corkpane.ini", "schedule.txt" })
        ReplaceFile(File(name), name, 100);
    EXPECT_EQ("memo.txt", temp_.Read("data/memo.txt"));
    EXPECT_EQ("corkpane.ini", temp_.Read("data/settings.ini"));
    EXPECT_EQ("schedule.txt", temp_.Read("data/schedule.txt"));
    for (const char* name : { "memo.txt", "corkpane.ini", "schedule.txt", "hop.txt" })
        EXPECT_TRUE(fs::is_symlink(File(name))) << name;

    fs::create_symlink("loop.txt", File("loop.txt"));
    try {
        ReplaceFile(File("loop.txt"), "x", 100);
        ADD_FAILURE() << "wrote through a loop";
    } catch (const FileIoError& e) {
        EXPECT_EQ(ELOOP, e.SystemError());
        EXPECT_EQ(CannotCreateMessage(File("loop.txt"), FileErrorReason(ELOOP)), e.what());
    }
    EXPECT_TRUE(fs::is_symlink(File("loop.txt")));
}

// A save never writes more than the program reads back: past the limit,
// whole or in steps, the old file stays and no temporary is left.
TEST_F(FileIoTest, SavesPastTheReadLimitAreRefused)
{
    const fs::path memo = temp_.Write("memo.txt", "old");
    const std::string atLimit(16, 'x');
    ReplaceFile(memo, atLimit, 16);
    EXPECT_EQ(atLimit, ReadWholeFile(memo, 16));
    try {
        ReplaceFile(memo, atLimit + "y", 16);
        ADD_FAILURE() << "wrote past the limit";
    } catch (const FileIoError& e) {
        EXPECT_EQ(EFBIG, e.SystemError());
        EXPECT_EQ(CannotCreateMessage(memo, FileErrorReason(EFBIG)), e.what());
    }
    {
        FileReplacement steps(memo, 16);
        steps.Write(std::string(10, 'a'));
        EXPECT_THROW(steps.Write(std::string(7, 'b')), FileIoError);
        EXPECT_THROW(steps.Commit(), FileIoError);
    }
    EXPECT_EQ(atLimit, temp_.Read(memo));
    EXPECT_EQ((std::vector<std::string> { "memo.txt" }), Names());
}

// Messages are Shift_JIS throughout, the names of files and folders too
// (on disk they are UTF-8), so a Japanese folder name reads as it is named.
TEST_F(FileIoTest, MessagesNameFilesAndFoldersInShiftJis)
{
    const fs::path folder = File("予定");
    const std::string shown = jconvert::Utf8ToCp932(folder.string());
    const fs::path blocker = temp_.Write("予定", "a file in the folder's place");
    try {
        ReadWholeFile(folder / "memo.txt", 100);
        ADD_FAILURE() << "read";
    } catch (const FileIoError& e) {
        EXPECT_EQ(jconvert::Utf8ToCp932("ファイル \"") + shown
                + jconvert::Utf8ToCp932("/memo.txt\" は開けません。") + FileErrorReason(ENOTDIR),
            e.what());
    }
    for (const fs::path& create : { folder / "sub", folder / "sub" / "" }) {
        try {
            CreateFolders(create);
            ADD_FAILURE() << "created";
        } catch (const FileIoError& e) {
            EXPECT_NE(0, e.SystemError());
            EXPECT_EQ(jconvert::Utf8ToCp932("フォルダー \"") + shown
                    + jconvert::Utf8ToCp932("/sub\" を作成できません。") + FileErrorReason(e.SystemError()),
                e.what());
        }
    }
    fs::remove(blocker);
    CreateFolders(folder / "sub" / "deeper");
    CreateFolders(folder / "sub");
    EXPECT_TRUE(fs::is_directory(folder / "sub" / "deeper"));
}

} // namespace
