#include "app/FileError.h"

#include "platform/SystemErrorText.h"

#include <system_error>

namespace app {
namespace {

std::string fullName(const std::filesystem::path& file)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(file, ec);
    return (ec ? file : absolute.lexically_normal()).string();
}

std::string reason(int errorNumber)
{
    return platform::SystemErrorText(errorNumber);
}

} // namespace

FileError FileError::cannotOpen(const std::filesystem::path& file, int errorNumber)
{
    return FileError("\x83\x74\x83\x40\x83\x43\x83\x8b \"" /* ファイル " */ + fullName(file)
        + "\" \x82\xcd\x8a\x4a\x82\xaf\x82\xdc\x82\xb9\x82\xf1\x81\x42" /* " は開けません。 */
        + reason(errorNumber));
}

FileError FileError::cannotCreate(const std::filesystem::path& file, int errorNumber)
{
    return FileError("\x83\x74\x83\x40\x83\x43\x83\x8b \"" /* ファイル " */ + fullName(file)
        + "\" \x82\xf0\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81\x42" /* "
                                                                                           を作成できません。
                                                                                         */
        + reason(errorNumber));
}

} // namespace app
