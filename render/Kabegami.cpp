#include "render/Kabegami.h"

#include "render/Background.h"
#include "render/BmpWriter.h"
#include "render/MemoDrawer.h"
#include "render/QtTextPainter.h"

namespace render {

Canvas ComposeKabegami(platform::Desktop& desktop, const KabegamiRequest& request)
{
    const platform::WallpaperSettings wallpaper = desktop.ReadWallpaperSettings();
    const platform::ScreenSize screen = desktop.PrimaryScreenSize();
    Canvas canvas = ComposeBackground(wallpaper, screen.width, screen.height, desktop.DesktopColor());
    if (request.settings.ChShowMemo)
        return canvas;

    const MemoStyle style = ResolveStyle(request.settings);
    const int hpx = FontPixelHeight(style.fontSize, desktop.PixelsPerInch());
    EnsureGuiApplication();
    {
        QtTextPainter painter(canvas, kMemoFontFace, hpx);
        MemoDrawer drawer(canvas, painter, style, hpx);
        const std::string title
            = BuildTitle(style.title, style.titleMode == 1, request.today, request.shortDate);
        drawer.DrawMemo(title, request.schedule, request.memoLines);
    }
    return canvas;
}

bool DrawKabegami(platform::Desktop& desktop, const KabegamiRequest& request)
{
    const Canvas canvas = ComposeKabegami(desktop, request);
    WriteBmpFile(canvas, request.outputPath);
    return desktop.InstallWallpaper(request.outputPath);
}

} // namespace render
