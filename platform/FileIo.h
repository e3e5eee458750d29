#pragma once

// Reading and replacing files: the one place where every module opens,
// reads, writes and renames files. Qt-free, so that every module can
// link it.
//
// Reading takes regular files only: a pipe or a device could block for ever
// or never end, and each read has a size limit that no real file reaches.
// Replacing writes a temporary file beside the target (".<name>.corkpane-tmp-
// <process>-<n>"), flushes it to disk, renames it over the target and
// flushes the folder, so the target holds either its old or its new content.
// A symbolic link is followed and the file it names is replaced, or created
// when the link dangles (the link itself stays); the replaced file's
// permission bits are kept, unless the file holds secrets (FileMode::kPrivate:
// only its owner may read it). Each write has a size limit, the same one the
// program reads that kind of file with, so that nothing is saved that the
// next run would refuse to read. Temporaries that an interrupted save of
// the same file left behind are removed at its next save.

#include "platform/UserError.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// A file that cannot be read or written. what() is the Shift_JIS message
// for the user, naming the file in full.
// SystemError() is the errno value behind the failure.
class FileIoError : public UserError {
public:
    using UserError::UserError;
};

// Size limits for whole-file reads and for saves, far above any real file
// of each kind.
inline constexpr std::uint64_t kMemoReadLimit = std::uint64_t { 16 } << 20;
inline constexpr std::uint64_t kSettingsReadLimit = std::uint64_t { 1 } << 20;
// Each schedule line becomes a grid row of its own; a megabyte is tens of
// thousands of entries.
inline constexpr std::uint64_t kScheduleReadLimit = std::uint64_t { 1 } << 20;
inline constexpr std::uint64_t kPictureReadLimit = std::uint64_t { 256 } << 20;
// The program's own small files of a few lines (the wallpaper memory, the
// shortcuts and the timer's units) and the user-dirs.dirs it reads.
inline constexpr std::uint64_t kSmallFileReadLimit = std::uint64_t { 64 } << 10;

// The file's bytes, or nothing when no file exists at path. Anything else
// that is not a readable regular file of at most limit bytes, or memory
// running out while reading it, throws FileIoError with the cannot-open
// message.
std::optional<std::string> ReadFileIfExists(const std::filesystem::path& file, std::uint64_t limit);

// As ReadFileIfExists, but a missing file is an error too.
std::string ReadWholeFile(const std::filesystem::path& file, std::uint64_t limit);

// Reads a file from start to end in blocks, whatever its size: for the
// codec's commands, which stream the file a user names. A folder is
// refused; a pipe or a device is read as it comes. Failures throw
// FileIoError with the cannot-open message.
class FileReader {
public:
    explicit FileReader(const std::filesystem::path& file);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Reads up to count bytes into buffer; 0 at the end of the file.
    std::size_t Read(char* buffer, std::size_t count);

private:
    std::filesystem::path file_;
    int fd_ = -1;
    void* handle_ = nullptr; // the Windows file handle
};

// The permission bits a replacement gives the new file (POSIX; Windows
// files keep the folder's access rules).
enum class FileMode {
    kKept, // the replaced file's bits; a new file the usual ones (0666 less the umask)
    kExecutable, // as kKept, and anyone may run it (launchers)
    // Only the owner may read or write it (0600), from the first byte
    // written: for files that hold secrets. A replaced file keeps its
    // owner's bits and loses everyone else's, as ssh and fetchmail insist.
    kPrivate,
};

// Replaces a file's content in steps: the constructor creates the
// temporary file, Write appends to it, Commit puts it in place. Destroying
// an uncommitted replacement removes the temporary and leaves the target as
// it was. Failures throw FileIoError with the cannot-create message;
// writing more than limit bytes in all is such a failure (EFBIG).
class FileReplacement {
public:
    FileReplacement(const std::filesystem::path& file, std::uint64_t limit, FileMode mode);
    // executable: the new file may also be run (launchers need it).
    FileReplacement(const std::filesystem::path& file, std::uint64_t limit, bool executable = false)
        : FileReplacement(file, limit, executable ? FileMode::kExecutable : FileMode::kKept)
    {
    }
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    void Write(std::string_view bytes);
    // The new file may be read and written by its owner alone (0600),
    // whatever the old one allowed: for a file that holds a secret.
    void OwnerOnly();
    void Commit();

private:
    [[noreturn]] void Fail(int error);

    std::filesystem::path file_; // as the caller named it, for messages
    std::filesystem::path target_; // the file replaced (links followed)
    std::filesystem::path temporary_;
    std::uint64_t limit_;
    std::uint64_t written_ = 0;
    int fd_ = -1;
    void* handle_ = nullptr; // the Windows file handle
};

// Replaces the file's content with bytes in one go (see FileReplacement);
// more than limit bytes are refused before anything is written.
void ReplaceFile(
    const std::filesystem::path& file, std::string_view bytes, std::uint64_t limit, bool executable = false);
// As ReplaceFile, for a file only its owner may read (FileMode::kPrivate).
void ReplacePrivateFile(const std::filesystem::path& file, std::string_view bytes, std::uint64_t limit);

// The same for a file written in pieces: first, then each of rest in order
// (pieces of a larger buffer need not be copied together first).
void ReplaceFile(const std::filesystem::path& file, std::string_view first,
    std::span<const std::string_view> rest, std::uint64_t limit);

// Creates a folder and the folders above it that are missing; a folder that
// already exists is fine. Throws FileIoError with the cannot-create-folder
// message otherwise (a file in its place, no permission, a full disk).
void CreateFolders(const std::filesystem::path& folder);

// A file's or folder's name as messages show it: Shift_JIS, like the rest of
// the message. Names on disk are UTF-8 here (the ANSI code page on
// Windows); a character without a Shift_JIS form shows as the geta mark.
std::string PathText(const std::filesystem::path& path);

// "ファイル "<full name>" は開けません。<reason>"
std::string CannotOpenMessage(const std::filesystem::path& file, const std::string& reason);
// "ファイル "<full name>" を作成できません。<reason>"
std::string CannotCreateMessage(const std::filesystem::path& file, const std::string& reason);
// "フォルダー "<full name>" を作成できません。<reason>"
std::string CannotCreateFolderMessage(const std::filesystem::path& folder, const std::string& reason);
// The reason part of a file message for an errno value.
std::string FileErrorReason(int error);

} // namespace platform
