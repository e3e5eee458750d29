#include "render/Background.h"

#include "render/PictureFile.h"
#include "render/Resample.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <vector>

namespace render {
bool PictureExists(const std::string& path)
{
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
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

Canvas ComposeBackground(const platform::WallpaperSettings& settings, int screenWidth, int screenHeight,
    ColorRef desktopColor, std::chrono::local_seconds now)
{
    const std::string& path = settings.wallpaper;
    if (!PictureExists(path)) {
        Canvas canvas(screenWidth, screenHeight, Canvas::Init::Uninitialized);
        canvas.Fill(desktopColor);
        return canvas;
    }
    // Reduced decodes still cover the screen, as when the picture is scaled
    // to it.
    Picture picture
        = LoadPicture(path, { DecodeTarget::Fit::Each, screenWidth, screenHeight }, desktopColor, now);
    const PixelView view = picture.View();
    const int w = picture.fullWidth, h = picture.fullHeight;
    const std::string& tile = settings.tileWallpaper;
    const std::string& style = settings.wallpaperStyle;

    const bool covers = h >= screenHeight && w >= screenWidth;
    if ((covers || (tile == "0" && style == "2")) && !picture.Empty()) {
        // A decode of exactly the screen's size is already the background.
        if (picture.qtImage.isNull() && picture.orientation == 1 && picture.image.Width() == screenWidth
            && picture.image.Height() == screenHeight)
            return std::move(picture.image);
        Canvas canvas(screenWidth, screenHeight, Canvas::Init::Uninitialized);
        ScaledCopy(view, canvas);
        return canvas;
    }
    Canvas canvas(screenWidth, screenHeight);
    if (covers || (tile == "0" && style == "2")) // an empty picture scales to nothing
        return canvas;
    if (tile == "1" && style == "0") {
        // An empty picture has no tiles; stepping by zero would never end.
        // (The tiles are the decoded pixels: only an absurd picture, one
        // past a few screens, is decoded reduced.)
        if (view.Empty())
            return canvas;
        for (int y = 0; y < screenHeight; y += view.height)
            for (int x = 0; x < screenWidth; x += view.width)
                CopyClipped(view, canvas, x, y);
    } else if (tile == "0" && style == "0") {
        canvas.Fill(desktopColor);
        CopyClipped(view, canvas, (screenWidth - view.width) / 2, (screenHeight - view.height) / 2);
    }
    return canvas;
}

} // namespace render
