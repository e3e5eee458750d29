#include "platform/FolderLock.h"

#include "common/FolderNames.h"
#include "common/TempFolder.h"
#include "platform/FileIo.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using platform::FolderLock;

namespace {

// The lock excludes a second holder, in this process or another; a waiting
// taker gets it when the holder lets go (also by ending), and gives up once
// its wait has passed. Nothing is left in the folder.
TEST(FolderLock, OneHolderAtATimeAndABoundedWait)
{
    test_files::TempFolder folder("lock");
    {
        auto first = FolderLock::Take(folder.Path(), 0ms);
        ASSERT_TRUE(first);
        EXPECT_FALSE(FolderLock::Take(folder.Path(), 0ms));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(FolderLock::Take(folder.Path(), 300ms));
        EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);

        std::thread release([&] {
            std::this_thread::sleep_for(200ms);
            first.reset();
        });
        EXPECT_TRUE(FolderLock::Take(folder.Path(), 10s));
        release.join();
    }
    EXPECT_TRUE(test_files::FolderNames(folder.Path()).empty());

    // Another process holds it until it ends, however it ends.
    int ready[2];
    ASSERT_EQ(0, ::pipe(ready));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto held = FolderLock::Take(folder.Path(), 0ms);
        const char byte = held ? 'y' : 'n';
        (void)!::write(ready[1], &byte, 1);
        ::pause(); // until killed: the lock goes with the process
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(1, ::read(ready[0], &byte, 1));
    ASSERT_EQ('y', byte);
    EXPECT_FALSE(FolderLock::Take(folder.Path(), 100ms));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(FolderLock::Take(folder.Path(), 0ms));
    ::close(ready[0]);
    ::close(ready[1]);

    EXPECT_THROW(FolderLock::Take(folder / "missing", 0ms), platform::FileIoError);
}

} // namespace
