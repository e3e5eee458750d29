// Fuzz entry point: any bytes as a picture file's content, through the
// readers chosen by content (libwebp, Qt's image readers) and as a GNOME
// background list, and its Exif orientation. Errors must come back as RenderError, never as a crash,
// and a picture that is accepted must be within its reader's budget by its
// declared size.
#include "fuzz/FuzzRequire.h"
#include "render/GnomeSlideShow.h"
#include "render/Orientation.h"
#include "render/QtPictureReader.h"
#include "render/RenderError.h"
#include "render/WebpDecoder.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const render::DecodeTarget target { render::DecodeTarget::Fit::Cover, 64, 48 };
    try {
        if (render::IsWebp(bytes)) {
            if (const std::optional<render::Picture> p = render::DecodeWebp(bytes, target, 0)) {
                fuzz::require(
                    static_cast<std::uint64_t>(p->fullWidth) * p->fullHeight <= render::Canvas::kMaxPixels);
                fuzz::require(!p->View().Empty());
            }
        }
    } catch (const render::RenderError&) {
    }
    try {
        if (render::QtCanRead(bytes)) {
            const render::Picture p = render::ReadWithQt(bytes, target, 0);
            fuzz::require(static_cast<std::uint64_t>(p.fullWidth) * p.fullHeight <= render::kMaxQtPixels);
            const render::PixelView view = p.View();
            fuzz::require(view.xStep == 3 || view.xStep == 4);
            if (!view.Empty())
                (void)view.At(view.width - 1, view.height - 1)[2];
        }
    } catch (const render::RenderError&) {
    }
    const int orientation = render::JpegOrientation(bytes);
    fuzz::require(orientation >= 1 && orientation <= 8);
    if (render::IsGnomeSlideShow(bytes))
        (void)render::SlideShowPicture(bytes, "/backgrounds", std::chrono::local_seconds {}, 1920, 1080);
    return 0;
}
