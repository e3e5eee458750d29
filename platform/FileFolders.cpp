#include "platform/FileFolders.h"

#include "platform/UserFolders.h"

#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace platform {

FolderEnvironment SystemFolderEnvironment()
{
    FolderEnvironment environment;
    environment.variable = &ProcessEnvironment;
    environment.writable = [](const std::filesystem::path& folder) {
#ifdef _WIN32
        return _waccess(folder.c_str(), 2) == 0;
#else
        return access(folder.c_str(), W_OK | X_OK) == 0;
#endif
    };
    environment.home = &AccountHome;
    return environment;
}

std::filesystem::path PerUserFolder(const FolderEnvironment& environment)
{
    return UserFolders::Find(environment.variable, environment.home).OwnData();
}

bool IsInstalledFolder(const std::filesystem::path& programFolder, const FolderEnvironment& environment)
{
#ifdef _WIN32
    return !environment.writable(programFolder);
#else
    // A package's files belong to the package manager, even for root, who
    // may write anywhere.
    const std::string text = programFolder.lexically_normal().string();
    if (text == "/usr" || text.rfind("/usr/", 0) == 0 || text == "/bin" || text == "/sbin")
        return true;
    return !environment.writable(programFolder);
#endif
}

FileFolders ChooseFileFolders(
    const std::filesystem::path& programFolder, const FolderEnvironment& environment)
{
    FileFolders folders;
    if (IsInstalledFolder(programFolder, environment)) {
        const std::filesystem::path own = PerUserFolder(environment);
        if (!own.empty()) {
            folders.files = own;
            folders.schedule = own;
            folders.startIn = own;
            folders.perUser = true;
            return folders;
        }
    }
    folders.schedule = programFolder;
    folders.startIn = programFolder;
    return folders;
}

bool PrepareFileFolders(const FileFolders& folders)
{
    if (!folders.perUser)
        return true;
    std::error_code error;
    std::filesystem::create_directories(folders.files, error);
    return std::filesystem::is_directory(folders.files, error);
}

std::filesystem::path RunningProgramPath()
{
#ifdef _WIN32
    wchar_t buffer[32768];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
    return length > 0 && length < 32768 ? std::filesystem::path(std::wstring(buffer, length))
                                        : std::filesystem::path();
#else
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
#endif
}

} // namespace platform
