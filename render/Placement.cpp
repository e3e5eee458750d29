#include "render/Placement.h"

#include "render/Background.h"
#include "render/PictureFile.h"
#include "render/Resample.h"

namespace render {

platform::Rect ProportionalRect(int w, int h, int width, int height, bool cover)
{
    const double sx = static_cast<double>(width) / w, sy = static_cast<double>(height) / h;
    if (cover ? sx > sy : sx < sy) {
        const int drawn = static_cast<int>(h * sx);
        return { 0, height / 2 - drawn / 2, width, drawn };
    }
    const int drawn = static_cast<int>(w * sy);
    return { width / 2 - drawn / 2, 0, drawn, height };
}

Canvas ComposePlacement(const std::string& path, platform::Placement placement, int width, int height,
    ColorRef desktopColor, std::chrono::local_seconds now)
{
    using platform::Placement;
    if (placement == Placement::None || !PictureExists(path)) {
        Canvas canvas(width, height, Canvas::Init::Uninitialized);
        canvas.Fill(desktopColor);
        return canvas;
    }
    // Only what will show is asked of a decoder that can shrink.
    DecodeTarget target { DecodeTarget::Fit::Full, width, height };
    if (placement == Placement::Stretched)
        target.fit = DecodeTarget::Fit::Each;
    else if (placement == Placement::Scaled)
        target.fit = DecodeTarget::Fit::Inside;
    else if (placement == Placement::Zoom || placement == Placement::Spanned)
        target.fit = DecodeTarget::Fit::Cover;
    const Picture picture = LoadPicture(path, target, desktopColor, now);
    const PixelView view = picture.View();

    Canvas canvas(width, height, Canvas::Init::Uninitialized);
    if (view.Empty() || canvas.Empty()) {
        canvas.Fill(desktopColor);
        return canvas;
    }
    switch (placement) {
    case Placement::Wallpaper:
        for (int y = 0; y < height; y += view.height)
            for (int x = 0; x < width; x += view.width)
                CopyClipped(view, canvas, x, y);
        break;
    case Placement::Centered:
        canvas.Fill(desktopColor);
        CopyClipped(view, canvas, (width - view.width) / 2, (height - view.height) / 2);
        break;
    case Placement::Stretched:
        DrawScaled(view, canvas, { 0, 0, width, height });
        break;
    default: { // Scaled, Zoom, Spanned
        const platform::Rect to = ProportionalRect(
            picture.fullWidth, picture.fullHeight, width, height, placement != Placement::Scaled);
        if (to.x > 0 || to.y > 0 || to.x + to.width < width || to.y + to.height < height)
            canvas.Fill(desktopColor);
        DrawScaled(view, canvas, to);
        break;
    }
    }
    return canvas;
}

} // namespace render
