// Fuzz entry point: any bytes as JPEG data, decoded at full size and at the
// reduced scale used for pictures larger than the screen. Errors must come
// back as the JPEG error, never as a crash. A picture that is accepted must
// be within the picture budget by its full size: a reduced decode still
// makes libjpeg allocate for the full image, so a small file claiming a
// huge frame (a decompression bomb) breaks the property here rather than
// passing unseen.
#include "fuzz/FuzzRequire.h"
#include "render/JpegDecoder.h"
#include "render/RenderError.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const int cover : { 0, 16 }) {
        try {
            const render::DecodedJpeg picture = render::DecodeJpeg(bytes, cover, cover);
            fuzz::require(static_cast<std::uint64_t>(picture.fullWidth) * picture.fullHeight
                <= render::Canvas::kMaxPixels);
            if (!picture.image.Empty())
                (void)picture.image.Row(picture.image.Height() - 1)[3 * picture.image.Width() - 1];
        } catch (const render::RenderError&) {
        }
    }
    return 0;
}
