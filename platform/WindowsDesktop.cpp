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

DesktopState WindowsDesktop::Read()
{
    DesktopState state;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\desktop", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        std::string tile, style;
        try {
            state.picture = ReadDesktopValue(key, "Wallpaper");
            tile = ReadDesktopValue(key, "TileWallpaper");
            style = ReadDesktopValue(key, "WallpaperStyle");
        } catch (...) {
            RegCloseKey(key);
            throw;
        }
        RegCloseKey(key);
        state.placement = ClassicPlacement(tile, style);
    } else {
        state.placement = ClassicPlacement("", "");
    }
    state.screen = { GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    HDC dc = GetDC(nullptr);
    state.pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    state.colour = GetSysColor(COLOR_BACKGROUND);
    return state;
}

Installation WindowsDesktop::Install(const DrawnWallpaper& wallpaper)
{
    // The bitmap file itself; not written to the user's profile and no
    // change broadcast: the registry keeps describing the user's own
    // picture.
    std::string path = wallpaper.file.string();
    if (SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, path.data(), 0) != FALSE)
        return { true };
    return { false, jconvert::Utf8ToCp932("Windows が壁紙を受け付けませんでした。") };
}

} // namespace platform

#endif
