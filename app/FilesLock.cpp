#include "app/FilesLock.h"

#include "app/Texts.h"
#include "platform/FileIo.h"
#include "platform/UserError.h"

#include <system_error>

namespace app {
namespace {

// "フォルダー "<full name>" のファイルは、別の Corkpane が使用中です。"
std::string InUse(const std::filesystem::path& folder)
{
    std::error_code ec;
    const std::filesystem::path place = folder.empty() ? std::filesystem::path(".") : folder;
    std::filesystem::path shown = std::filesystem::absolute(place, ec).lexically_normal();
    if (ec)
        shown = place;
    // "/home/me/." normalises to "/home/me/"; the folder is named without the
    // trailing separator.
    if (!shown.has_filename() && shown != shown.root_path())
        shown = shown.parent_path();
    return texts::kFolderInUse + platform::PathText(shown) + texts::kInUseByAnotherRun;
}

} // namespace

platform::FolderLock LockFilesForRun(
    const std::filesystem::path& folder, const MessageCallback& note, std::chrono::milliseconds wait)
{
    if (auto lock = platform::FolderLock::Take(folder, std::chrono::milliseconds::zero()))
        return std::move(*lock);
    const std::string seconds = std::to_string(
        std::chrono::duration_cast<std::chrono::seconds>(wait + std::chrono::milliseconds(999)).count());
    if (note)
        note(InUse(folder) + texts::kWaitingUpTo + seconds + texts::kSecondsClose);
    if (auto lock = platform::FolderLock::Take(folder, wait))
        return std::move(*lock);
    throw platform::UserError(InUse(folder) + seconds + texts::kWaitedSeconds);
}

std::string RedrawSkippedMessage(const std::filesystem::path& folder)
{
    return InUse(folder) + texts::kRedrawSkipped;
}

} // namespace app
