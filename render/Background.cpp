#include "render/Background.h"

#include "render/Resample.h"

#include <cstring>
#include <vector>

namespace render {
namespace {

using platform::Placement;

bool IsClassic(Placement placement)
{
    return placement == Placement::ClassicTiled || placement == Placement::ClassicCentered
        || placement == Placement::ClassicStretched || placement == Placement::ClassicBlank;
}

void Tile(const PixelView& view, Canvas& canvas)
{
    for (int y = 0; y < canvas.Height(); y += view.height)
        for (int x = 0; x < canvas.Width(); x += view.width)
            CopyClipped(view, canvas, x, y);
}

void Centre(const PixelView& view, Canvas& canvas, ColorRef colour)
{
    canvas.Fill(colour);
    CopyClipped(view, canvas, (canvas.Width() - view.width) / 2, (canvas.Height() - view.height) / 2);
}

} // namespace

DecodeTarget TargetFor(Placement placement, int width, int height)
{
    switch (placement) {
    case Placement::Scaled:
        return { DecodeTarget::Fit::Inside, width, height };
    case Placement::Zoom:
    case Placement::Spanned:
        return { DecodeTarget::Fit::Cover, width, height };
    case Placement::None:
    case Placement::Centered:
    case Placement::Wallpaper:
        return { DecodeTarget::Fit::Full, width, height };
    default:
        // Stretched, and the older looks: a picture that covers the screen
        // is scaled to it, each direction on its own. (Tiles are the decoded
        // pixels: only an absurd picture, one past a few screens, is
        // decoded reduced.)
        return { DecodeTarget::Fit::Each, width, height };
    }
}

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

void ScaledCopy(const PixelView& src, Canvas& dst)
{
    const int sw = src.width, sh = src.height, dw = dst.Width(), dh = dst.Height();
    if (src.Empty() || dst.Empty())
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(dw) * 3;
    if (sw == dw && src.Packed()) {
        for (int y = 0; y < dh; ++y)
            std::memcpy(
                dst.Row(y), src.Row(static_cast<int>(static_cast<std::int64_t>(y) * sh / dh)), rowBytes);
        return;
    }
    // Source byte offset of each destination column.
    std::vector<std::ptrdiff_t> columns(static_cast<std::size_t>(dw));
    for (int x = 0; x < dw; ++x)
        columns[static_cast<std::size_t>(x)] = src.xStep * (static_cast<std::int64_t>(x) * sw / dw);
    int previous = -1;
    for (int y = 0; y < dh; ++y) {
        const int sy = static_cast<int>(static_cast<std::int64_t>(y) * sh / dh);
        std::uint8_t* out = dst.Row(y);
        if (sy == previous) { // a repeated source row: copy the row just made
            std::memcpy(out, dst.Row(y - 1), rowBytes);
            continue;
        }
        previous = sy;
        const std::uint8_t* in = src.Row(sy);
        for (int x = 0; x < dw; ++x) {
            const std::uint8_t* p = in + columns[static_cast<std::size_t>(x)];
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
            out += 3;
        }
    }
}

Canvas ComposeBackground(Picture picture, Placement placement, int width, int height, ColorRef colour)
{
    const PixelView view = picture.View();
    if (placement == Placement::None || picture.Empty() || view.Empty()) {
        Canvas canvas(width, height, Canvas::Init::Uninitialized);
        canvas.Fill(colour);
        return canvas;
    }
    const bool classic = IsClassic(placement);
    if (classic
        && (placement == Placement::ClassicStretched
            || (picture.fullWidth >= width && picture.fullHeight >= height))) {
        // A decode of exactly the screen's size is already the background.
        if (picture.qtImage.isNull() && picture.orientation == 1 && picture.image.Width() == width
            && picture.image.Height() == height)
            return std::move(picture.image);
        Canvas canvas(width, height, Canvas::Init::Uninitialized);
        ScaledCopy(view, canvas);
        return canvas;
    }
    Canvas canvas(width, height, classic ? Canvas::Init::White : Canvas::Init::Uninitialized);
    switch (placement) {
    case Placement::ClassicBlank:
        break;
    case Placement::Wallpaper:
    case Placement::ClassicTiled:
        Tile(view, canvas);
        break;
    case Placement::Centered:
    case Placement::ClassicCentered:
        Centre(view, canvas, colour);
        break;
    case Placement::Stretched:
        DrawScaled(view, canvas, { 0, 0, width, height });
        break;
    default: { // Scaled, Zoom, Spanned
        const platform::Rect to = ProportionalRect(
            picture.fullWidth, picture.fullHeight, width, height, placement != Placement::Scaled);
        if (to.x > 0 || to.y > 0 || to.x + to.width < width || to.y + to.height < height)
            canvas.Fill(colour);
        DrawScaled(view, canvas, to);
        break;
    }
    }
    return canvas;
}

} // namespace render
