#ifdef _WIN32

#include "platform/WindowsDesktop.h"

#include "jconvert/cp932.h"

#include <stdexcept>
#include <vector>
#include <windows.h>

namespace platform {
namespace {

// A value of "Control Panel\desktop" as text; absent value or key: empty.
// A value of another type ends the draw with "'%s' のデータ型が不正です".
std::string ReadDesktopValue(HKEY key, const char* name)
{
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw std::runtime_error(std::string("'") + name + jconvert::Utf8ToCp932("' のデータ型が不正です"));
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size)
        != ERROR_SUCCESS)
        return {};
    return std::string(data.data());
}

} // namespace

WallpaperSettings WindowsDesktop::ReadWallpaperSettings()
{
    WallpaperSettings settings;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\desktop", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return settings;
    try {
        settings.wallpaper = ReadDesktopValue(key, "Wallpaper");
        settings.tileWallpaper = ReadDesktopValue(key, "TileWallpaper");
        settings.wallpaperStyle = ReadDesktopValue(key, "WallpaperStyle");
    } catch (...) {
        RegCloseKey(key);
        throw;
    }
    RegCloseKey(key);
    return settings;
}

ScreenSize WindowsDesktop::PrimaryScreenSize()
{
    return { GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
}

int WindowsDesktop::PixelsPerInch()
{
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

std::uint32_t WindowsDesktop::DesktopColor()
{
    return GetSysColor(COLOR_BACKGROUND);
}

Installation WindowsDesktop::InstallWallpaper(const std::string& path, bool)
{
    // Not written to the user's profile and no change broadcast: the
    // registry keeps describing the user's own picture.
    if (SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()), 0) != FALSE)
        return { true };
    return { false, jconvert::Utf8ToCp932("Windows が壁紙を受け付けませんでした。") };
}

} // namespace platform

#endif
