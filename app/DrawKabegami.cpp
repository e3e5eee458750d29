#include "app/DrawKabegami.h"

#include "app/Clock.h"
#include "app/IntegerText.h"
#include "platform/Desktop.h"
#include "render/BmpWriter.h"
#include "schedule/TScheduleTable.h"

#include <algorithm>

namespace app {

platform::DesktopState ReadDesktop(platform::Desktop& desktop, const DesktopOverrides& o)
{
    platform::DesktopState state;
    if (!o.wallpaper || !o.tileWallpaper || !o.wallpaperStyle) {
        state.wallpaper = desktop.ReadWallpaperSettings();
        // A tile or style given in its place decides the placement alone.
        if (!o.tileWallpaper && !o.wallpaperStyle)
            state.placement = desktop.WallpaperPlacement();
    }
    state.wallpaper.wallpaper = o.wallpaper.value_or(state.wallpaper.wallpaper);
    state.wallpaper.tileWallpaper = o.tileWallpaper.value_or(state.wallpaper.tileWallpaper);
    state.wallpaper.wallpaperStyle = o.wallpaperStyle.value_or(state.wallpaper.wallpaperStyle);
    if (o.placement)
        state.placement = o.placement;
    if (o.screen) {
        // A screen given in its place is one monitor of that size.
        state.screen = *o.screen;
    } else {
        // The primary monitor is the screen; the desktop is asked once.
        state.monitors = desktop.Monitors();
        const auto primary = std::find_if(state.monitors.begin(), state.monitors.end(),
            [](const platform::Monitor& monitor) { return monitor.primary; });
        state.screen = primary != state.monitors.end()
            ? platform::ScreenSize { primary->geometry.width, primary->geometry.height }
            : desktop.PrimaryScreenSize();
    }
    state.pixelsPerInch = o.pixelsPerInch ? *o.pixelsPerInch : desktop.PixelsPerInch();
    state.colour = o.colour ? *o.colour : desktop.DesktopColor();
    return state;
}

render::MemoStyle MemoStyleFrom(const Settings& s)
{
    render::MemoStyle style;
    style.charsPerLine = ParseInteger(s.EdMojiSu, 10);
    style.linesPerColumn = ParseInteger(s.EdGyosu, 10);
    style.fontSize = ParseInteger(s.EdFontSize, 15);
    style.paragraphGap = ParseInteger(s.EdGyokan, 4);
    style.topMargin = ParseInteger(s.EdUeYohaku, 10);
    style.rightMargin = ParseInteger(s.EdMigiYohaku, 10);
    style.textColor = static_cast<render::ColorRef>(s.LbMojiIro);
    style.shadowMode = s.RgKage;
    style.shadowColor = static_cast<render::ColorRef>(s.LbKageIro);
    style.backgroundPercent = ParseInteger(s.EdRitu, 0);
    style.backgroundMode = s.RgHaikei;
    return style;
}

schedule::LookAhead LookAheadFrom(const Settings& s)
{
    return { .weekly = ParseInteger(s.EdScW, 1),
        .monthly = ParseInteger(s.EdScM, 3),
        .yearly = ParseInteger(s.EdScY, 3),
        .dated = ParseInteger(s.EdScD, 3),
        .holidays = s.ChShukujitsu };
}

render::KabegamiScene SceneFor(const DrawRequest& request, const platform::DesktopState& desktop)
{
    const Settings& settings = request.settings;
    render::KabegamiScene scene;
    scene.desktop = desktop;
    scene.now = request.now ? *request.now : LocalNow();
    scene.showText = !settings.ChShowMemo;
    if (!scene.showText)
        return scene;
    const std::chrono::year_month_day& today = request.today;
    scene.style = MemoStyleFrom(settings);
    scene.title = render::BuildTitle(settings.EdTitle, settings.RgTitle == 1,
        { static_cast<int>(today.year()), static_cast<int>(static_cast<unsigned>(today.month())),
            static_cast<int>(static_cast<unsigned>(today.day())) },
        request.shortDate);
    if (settings.ChScMemo && request.schedule)
        scene.scheduleLines = request.schedule->ListUpcoming(LookAheadFrom(settings), today);
    scene.memoLines = request.memoLines;
    return scene;
}

platform::Installation DrawKabegami(platform::Desktop& desktop, const DrawRequest& request)
{
    const platform::DesktopState state = ReadDesktop(desktop, request.overrides);
    const render::Canvas canvas = render::ComposeKabegami(SceneFor(request, state));
    render::WriteBmpFile(canvas, request.outputFile.string());
    if (!request.install)
        return { true };
    return desktop.InstallWallpaper(request.outputFile.string(), platform::SpansMonitors(state));
}

} // namespace app
