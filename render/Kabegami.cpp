#include "render/Kabegami.h"

#include "render/Background.h"
#include "render/DesktopLayout.h"
#include "render/MemoDrawer.h"
#include "render/Placement.h"
#include "render/QtTextPainter.h"

namespace render {

Canvas ComposeKabegami(const KabegamiScene& scene)
{
    const platform::DesktopState& desktop = scene.desktop;
    const DesktopLayout layout = LayoutFor(desktop);
    Canvas canvas = desktop.placement
        ? ComposePlacement(desktop.wallpaper.wallpaper, *desktop.placement, layout.width, layout.height,
            desktop.colour, scene.now)
        : ComposeBackground(desktop.wallpaper, layout.width, layout.height, desktop.colour, scene.now);
    if (!scene.showText)
        return canvas;

    const int hpx = FontPixelHeight(scene.style.fontSize, desktop.pixelsPerInch, layout.scale);
    EnsureGuiApplication();
    {
        // The painter works on the canvas's memory: it ends before the
        // canvas is handed on.
        QtTextPainter painter(canvas, kMemoFontFace, hpx);
        if (layout.textArea != platform::Rect { 0, 0, canvas.Width(), canvas.Height() })
            painter.ClipTo(layout.textArea);
        MemoDrawer drawer(canvas, painter, scene.style, hpx, layout.textArea);
        drawer.DrawMemo(scene.title, scene.scheduleLines, scene.memoLines);
    }
    return canvas;
}

} // namespace render
