#include "gui/ShortcutMaker.h"

#include "gui/Texts.h"
#include "platform/FileIo.h"
#include "platform/UserFolders.h"

#ifdef _WIN32
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>
#endif

namespace gui {
namespace {

constexpr char kSetPathFailed[] = "SetPath failed!";
constexpr char kSetDescriptionFailed[] = "SetDescription failed!";
constexpr char kSaveFailed[] = "Save failed!";

#ifndef _WIN32

// What a desktop shows as the launchers' tooltips (UTF-8, as the file is):
// one for the ordinary start, one for the run at logon.
constexpr char kLauncherComment[] = "Memo and schedule drawn into the desktop wallpaper";
constexpr char kLauncherCommentJa[] = "メモと予定を壁紙に描くツール";
constexpr char kLogonComment[] = "Draws the memo and schedule into the wallpaper at logon";
constexpr char kLogonCommentJa[] = "ログオン時に、メモと予定を壁紙に描きます";

// One argument of an Exec line: quoted when it holds a reserved character,
// with the four characters that stay special inside quotes escaped, and
// "%" doubled since it starts a field code.
std::string ExecArgument(const std::string& argument)
{
    const bool quote
        = argument.empty() || argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string out;
    if (quote) {
        out += '"';
    }
    for (const char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out += '\\';
        }
        out += c;
        if (c == '%') {
            out += '%';
        }
    }
    if (quote) {
        out += '"';
    }
    return out;
}

// A desktop entry string value: backslash and control characters escaped,
// and a leading blank kept by "\s".
std::string EntryValue(const std::string& value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case ' ':
            out += i == 0 ? "\\s" : " ";
            break;
        default:
            out += c;
        }
    }
    return out;
}

#endif

} // namespace

ShortcutMaker::ShortcutMaker(
    std::filesystem::path program, MessageCallback message, std::filesystem::path startIn)
    : program_(std::move(program))
    , message_(std::move(message))
    , startIn_(std::move(startIn))
{
}

ShortcutMaker::Result ShortcutMaker::MakeShortCut(const std::string& name, int kind)
{
    const std::string arguments = kind == kStartup ? "/su" : "";
    Result result;
    std::filesystem::path folder;
    try {
        folder = GetSpecialFolderPath(kind);
    } catch (const platform::FileIoError& error) {
        message_(error.what());
        result.reason = error.what();
        return result;
    }
    if (folder.empty()) {
        // Without its folder the shortcut has no place to be written.
        message_(kSaveFailed);
        result.reason = texts::kShortcutFolderUnknown;
        return result;
    }
    // The folder of the executable, without a trailing separator, unless
    // the files are kept elsewhere.
    const std::filesystem::path workingDirectory = startIn_.empty() ? program_.parent_path() : startIn_;
    result.file = folder / LinkFileName(name);
    result.reason = CreateLink(program_, arguments, result.file, workingDirectory, name);
    result.made = result.reason.empty();
    return result;
}

#ifndef _WIN32

std::filesystem::path ShortcutMaker::GetSpecialFolderPath(int kind)
{
    const platform::UserFolders folders = platform::UserFolders::OfProcess();
    return kind == kDesktop ? folders.Desktop() : folders.Autostart();
}

std::string ShortcutMaker::LinkFileName(const std::string& name)
{
    return name + ".desktop";
}

std::string ShortcutMaker::DesktopEntry(const std::filesystem::path& target, const std::string& arguments,
    const std::filesystem::path& workingDirectory, const std::string& description)
{
    std::string exec = ExecArgument(target.string());
    if (!arguments.empty()) {
        exec += ' ';
        exec += ExecArgument(arguments);
    }
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Version=1.0\n";
    text += "Name=" + EntryValue(description) + "\n";
    const bool logon = arguments == "/su";
    text += std::string("Comment=") + (logon ? kLogonComment : kLauncherComment) + "\n";
    text += std::string("Comment[ja]=") + (logon ? kLogonCommentJa : kLauncherCommentJa) + "\n";
    // Once the program is removed, desktops skip the entry (autostart at
    // logon included) instead of failing to start it.
    text += "TryExec=" + EntryValue(target.string()) + "\n";
    text += "Exec=" + EntryValue(exec) + "\n";
    text += "Path=" + EntryValue(workingDirectory.string()) + "\n";
    text += "Icon=corkpane\n";
    text += "Terminal=false\n";
    return text;
}

std::string ShortcutMaker::CreateLink(const std::filesystem::path& target, const std::string& arguments,
    const std::filesystem::path& linkPath, const std::filesystem::path& workingDirectory,
    const std::string& description)
{
    if (target.empty() || !target.is_absolute()) {
        message_(kSetPathFailed);
    }
    if (description.empty() || description.find_first_of("\r\n") != std::string::npos) {
        message_(kSetDescriptionFailed);
    }
    try {
        platform::CreateFolders(linkPath.parent_path());
    } catch (const platform::FileIoError& failure) {
        message_(kSaveFailed);
        return failure.what();
    }
    // Replaced atomically, so a failed write leaves an older shortcut as it
    // was; the file unit's message names the file and the reason. Desktops
    // only start launchers that are marked executable.
    try {
        platform::ReplaceFile(linkPath, DesktopEntry(target, arguments, workingDirectory, description),
            platform::kSmallFileReadLimit, true);
    } catch (const platform::FileIoError& failure) {
        message_(failure.what());
        return failure.what();
    }
    return {};
}

#else

std::filesystem::path ShortcutMaker::GetSpecialFolderPath(int kind)
{
    char buffer[MAX_PATH] = {};
    LPITEMIDLIST list = nullptr;
    const int folder = kind == kDesktop ? CSIDL_DESKTOPDIRECTORY : CSIDL_STARTUP;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, folder, &list)) && list != nullptr) {
        if (!SHGetPathFromIDListA(list, buffer)) {
            buffer[0] = '\0';
        }
        CoTaskMemFree(list);
    }
    return std::filesystem::path(std::string(buffer));
}

std::string ShortcutMaker::LinkFileName(const std::string& name)
{
    return name + ".lnk";
}

std::string ShortcutMaker::DesktopEntry(
    const std::filesystem::path&, const std::string&, const std::filesystem::path&, const std::string&)
{
    return {};
}

std::string ShortcutMaker::CreateLink(const std::filesystem::path& target, const std::string& arguments,
    const std::filesystem::path& linkPath, const std::filesystem::path& workingDirectory,
    const std::string& description)
{
    // Stays set unless the file is saved.
    std::string reason = texts::kShortcutNotSaved;
    // COM is entered and left around each link.
    const HRESULT initialised = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
            IID_IShellLinkA, reinterpret_cast<void**>(&link)))) {
        const std::string targetText = target.string();
        if (FAILED(link->SetPath(targetText.c_str()))) {
            message_(kSetPathFailed);
        }
        link->SetArguments(arguments.c_str());
        if (FAILED(link->SetDescription(description.c_str()))) {
            message_(kSetDescriptionFailed);
        }
        link->SetIconLocation(targetText.c_str(), 0);
        link->SetWorkingDirectory(workingDirectory.string().c_str());
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            // The path converted in full, not cut at MAX_PATH characters.
            if (FAILED(file->Save(linkPath.wstring().c_str(), TRUE))) {
                message_(kSaveFailed);
            } else {
                reason.clear();
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(initialised)) {
        CoUninitialize();
    }
    return reason;
}

#endif

} // namespace gui
