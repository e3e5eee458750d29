#include "app/FilesLock.h"

#include "common/SjisLiteral.h"
#include "common/TempFolder.h"
#include "platform/UserError.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

// A free folder is taken without a word; a held one is waited for, saying
// so, and given up with the message that names the folder.
TEST(FilesLock, ARunWaitsForAnotherSaysSoAndGivesUpAfterItsWait)
{
    test_files::TempFolder folder("files-lock");
    std::vector<std::string> notes;
    const auto note = [&notes](const std::string& text) { notes.push_back(text); };
    const std::string inUse = Sjis("フォルダー \"") + folder.Path().string()
        + Sjis("\" のファイルは、別の Corkpane が使用中です。");

    auto held = app::LockFilesForRun(folder.Path(), note, 0ms);
    EXPECT_TRUE(notes.empty());
    try {
        app::LockFilesForRun(folder.Path(), note, 1500ms);
        ADD_FAILURE() << "taken twice";
    } catch (const platform::UserError& error) {
        EXPECT_EQ(error.what(), inUse + Sjis("2 秒待っても終わらなかったため、何もせずに終了します。"));
    }
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], inUse + Sjis("終わるまで待ちます (最長 2 秒)。"));
    EXPECT_EQ(app::RedrawSkippedMessage(folder.Path()), inUse + Sjis("今回の再描画は行いません。"));
    EXPECT_EQ(app::RedrawSkippedMessage(folder.Path() / "."), app::RedrawSkippedMessage(folder.Path()));

    {
        [[maybe_unused]] const platform::FolderLock released = std::move(held);
    }
    app::LockFilesForRun(folder.Path(), note, 0ms);
    EXPECT_EQ(notes.size(), 1u);
}

} // namespace
