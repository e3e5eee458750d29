#include "render/Background.h"

#include "platform/FileIo.h"
#include "render/BmpReader.h"
#include "render/JpegDecoder.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <vector>

namespace render {
namespace {

bool FileExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace

Picture LoadPicture(const std::string& path, int screenWidth, int screenHeight)
{
    Picture picture;
    if (path.find(".jpg") != std::string::npos) {
        DecodedJpeg jpeg = DecodeJpeg(
            platform::ReadWholeFile(path, platform::kPictureReadLimit), screenWidth, screenHeight);
        picture.fullWidth = jpeg.fullWidth;
        picture.fullHeight = jpeg.fullHeight;
        picture.image = std::move(jpeg.image);
    } else if (path.find(".bmp") != std::string::npos) {
        picture.image = LoadBmpFile(path);
        picture.fullWidth = picture.image.Width();
        picture.fullHeight = picture.image.Height();
    }
    return picture;
}

void ScaledCopy(const Canvas& src, Canvas& dst)
{
    const int sw = src.Width(), sh = src.Height(), dw = dst.Width(), dh = dst.Height();
    if (src.Empty() || dst.Empty())
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(dw) * 3;
    if (sw == dw) {
        for (int y = 0; y < dh; ++y)
            std::memcpy(
                dst.Row(y), src.Row(static_cast<int>(static_cast<std::int64_t>(y) * sh / dh)), rowBytes);
        return;
    }
    // Source byte offset of each destination column.
    std::vector<std::uint32_t> columns(static_cast<std::size_t>(dw));
    for (int x = 0; x < dw; ++x)
        columns[static_cast<std::size_t>(x)]
            = static_cast<std::uint32_t>(3 * (static_cast<std::int64_t>(x) * sw / dw));
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

void CopyClipped(const Canvas& src, Canvas& dst, int left, int top)
{
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t { left } + src.Width(), dst.Width());
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t { top } + src.Height(), dst.Height());
    if (x0 >= x1 || y0 >= y1)
        return;
    for (std::int64_t y = y0; y < y1; ++y)
        std::memcpy(dst.Row(static_cast<int>(y)) + 3 * x0,
            src.Row(static_cast<int>(y - top)) + 3 * (x0 - left), static_cast<std::size_t>(x1 - x0) * 3);
}

Canvas ComposeBackground(
    const platform::WallpaperSettings& settings, int screenWidth, int screenHeight, ColorRef desktopColor)
{
    const std::string& path = settings.wallpaper;
    if (path.empty() || !FileExists(path)) {
        Canvas canvas(screenWidth, screenHeight, Canvas::Init::Uninitialized);
        canvas.Fill(desktopColor);
        return canvas;
    }
    Picture picture = LoadPicture(path, screenWidth, screenHeight);
    const int w = picture.fullWidth, h = picture.fullHeight;
    const std::string& tile = settings.tileWallpaper;
    const std::string& style = settings.wallpaperStyle;

    const bool covers = h >= screenHeight && w >= screenWidth;
    if ((covers || (tile == "0" && style == "2")) && !picture.Empty()) {
        // A decode of exactly the screen's size is already the background.
        if (picture.image.Width() == screenWidth && picture.image.Height() == screenHeight)
            return std::move(picture.image);
        Canvas canvas(screenWidth, screenHeight, Canvas::Init::Uninitialized);
        ScaledCopy(picture.image, canvas);
        return canvas;
    }
    Canvas canvas(screenWidth, screenHeight);
    if (covers || (tile == "0" && style == "2")) // an empty picture scales to nothing
        return canvas;
    if (tile == "1" && style == "0") {
        // An empty picture has no tiles; stepping by zero would never end.
        if (picture.Empty())
            return canvas;
        for (int y = 0; y < screenHeight; y += h)
            for (int x = 0; x < screenWidth; x += w)
                CopyClipped(picture.image, canvas, x, y);
    } else if (tile == "0" && style == "0") {
        canvas.Fill(desktopColor);
        CopyClipped(picture.image, canvas, (screenWidth - w) / 2, (screenHeight - h) / 2);
    }
    return canvas;
}

} // namespace render
