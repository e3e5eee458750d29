#pragma once

// A settings or memo file that exists but cannot be read, or that cannot be
// written. what() is the Shift_JIS message the window shows in its error
// box.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace app {

class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // "ファイル "<full name>" は開けません。<reason>"
    static FileError cannotOpen(const std::filesystem::path& file, int errorNumber);
    // "ファイル "<full name>" を作成できません。<reason>"
    static FileError cannotCreate(const std::filesystem::path& file, int errorNumber);
};

} // namespace app
