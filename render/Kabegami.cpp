#include "render/Kabegami.h"

#include "render/Background.h"
#include "render/DesktopLayout.h"
#include "render/MemoDrawer.h"
#include "render/QtTextPainter.h"

#include <QGuiApplication>
#include <stdexcept>

namespace render {

Canvas ComposeKabegami(KabegamiScene scene)
{
    const platform::DesktopState& desktop = scene.desktop;
    const DesktopLayout layout = LayoutFor(desktop);
    Canvas canvas = ComposeBackground(
        std::move(scene.picture), desktop.placement, layout.width, layout.height, desktop.colour);
    if (!scene.showText)
        return canvas;
    if (QGuiApplication::instance() == nullptr)
        throw std::logic_error("drawing text needs the process's QGuiApplication");

    const int hpx = FontPixelHeight(scene.style.fontSize, desktop.pixelsPerInch, layout.scale);
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
