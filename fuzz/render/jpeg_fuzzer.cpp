// Fuzz entry point: any bytes as JPEG data, decoded at full size and at the
// reduced scale used for pictures larger than the screen. Errors must come
// back as the JPEG error, never as a crash.
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
            if (!picture.image.Empty())
                (void)picture.image.Row(picture.image.Height() - 1)[3 * picture.image.Width() - 1];
        } catch (const render::RenderError&) {
        }
    }
    return 0;
}
