#pragma once

#include <stdexcept>
#include <string>

namespace render {

// An error that ends a draw. what() is the message the user sees, as
// Shift_JIS bytes, exactly as the window's error box shows it.
class RenderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The messages a draw can end with (Shift_JIS).
namespace messages {
// "ビットマップイメージが不正です"
inline constexpr const char* kInvalidBitmap
    = "\x83\x72\x83\x62\x83\x67\x83\x7d\x83\x62\x83\x76\x83\x43\x83\x81"
      "\x81\x5b\x83\x57\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7";
// "スキャンライン のインデックスが範囲を越えました"
inline constexpr const char* kScanlineOutOfRange
    = "\x83\x58\x83\x4c\x83\x83\x83\x93\x83\x89\x83\x43\x83\x93\x20\x82\xcc\x83\x43\x83\x93\x83\x66\x83\x62"
      "\x83\x4e\x83\x58\x82\xaa\x94\xcd\x88\xcd\x82\xf0\x89\x7a\x82\xa6\x82\xdc\x82\xb5\x82\xbd";
} // namespace messages

// "JPEG エラー #%d"
std::string JpegErrorMessage(int code);
// "ファイル "%s" は開けません。%s" with the full file name
std::string CannotOpenMessage(const std::string& path, const std::string& reason);
// "ファイル "%s" を作成できません。%s" with the full file name
std::string CannotCreateMessage(const std::string& path, const std::string& reason);
// The system's reason for an errno value, in Japanese.
std::string SystemErrorText(int error);

} // namespace render
