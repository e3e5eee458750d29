#include "render/Kabegami.h"

#include "render/Background.h"
#include "render/MemoDrawer.h"
#include "render/QtTextPainter.h"

namespace render {

Canvas ComposeKabegami(const KabegamiScene& scene)
{
    const platform::DesktopState& desktop = scene.desktop;
    Canvas canvas
        = ComposeBackground(desktop.wallpaper, desktop.screen.width, desktop.screen.height, desktop.colour);
    if (!scene.showText)
        return canvas;

    const int hpx = FontPixelHeight(scene.style.fontSize, desktop.pixelsPerInch);
    EnsureGuiApplication();
    {
        // The painter works on the canvas's memory: it ends before the
        // canvas is handed on.
        QtTextPainter painter(canvas, kMemoFontFace, hpx);
        MemoDrawer drawer(canvas, painter, scene.style, hpx);
        drawer.DrawMemo(scene.title, scene.scheduleLines, scene.memoLines);
    }
    return canvas;
}

} // namespace render
