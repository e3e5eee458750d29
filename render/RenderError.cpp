#include "render/RenderError.h"

#include "platform/SystemErrorText.h"

#include <filesystem>
#include <system_error>

namespace render {

std::string JpegErrorMessage(int code)
{
    // "JPEG エラー #"
    return std::string("JPEG \x83\x47\x83\x89\x81\x5b #") + std::to_string(code);
}

namespace {

// Messages name the file by its full name.
std::string FullName(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.string();
}

} // namespace

std::string CannotOpenMessage(const std::string& path, const std::string& reason)
{
    // "ファイル "" は開けません。"
    return "\x83\x74\x83\x40\x83\x43\x83\x8b \"" + FullName(path)
        + "\" \x82\xcd\x8a\x4a\x82\xaf\x82\xdc\x82\xb9\x82\xf1\x81\x42" + reason;
}

std::string CannotCreateMessage(const std::string& path, const std::string& reason)
{
    // "ファイル "" を作成できません。"
    return "\x83\x74\x83\x40\x83\x43\x83\x8b \"" + FullName(path)
        + "\" \x82\xf0\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81\x42" + reason;
}

std::string SystemErrorText(int error)
{
    return platform::SystemErrorText(error);
}

} // namespace render
