#include "render/WebpDecoder.h"

#include "render/RenderError.h"
#include "render/Texts.h"

#include <memory>
#include <webp/decode.h>

namespace render {

bool IsWebp(std::string_view d)
{
    return d.size() >= 12 && d.substr(0, 4) == "RIFF" && d.substr(8, 4) == "WEBP";
}

std::optional<Picture> DecodeWebp(std::string_view data, const DecodeTarget& target, ColorRef background)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        throw RenderError(texts::kBrokenPicture);
    if (WebPGetFeatures(bytes, data.size(), &config.input) != VP8_STATUS_OK)
        throw RenderError(texts::kBrokenPicture);
    if (config.input.has_animation)
        return std::nullopt;
    const int w = config.input.width, h = config.input.height;
    if (w <= 0 || h <= 0)
        throw RenderError(texts::kBrokenPicture);
    if (static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) > Canvas::kMaxPixels)
        throw RenderError(texts::kPictureTooLarge);

    int outW = w, outH = h;
    const DecodeTarget::Size drawn = target.For(w, h);
    if (drawn.width > 0 && drawn.width < w && drawn.height < h) {
        config.options.use_scaling = 1;
        config.options.scaled_width = outW = drawn.width;
        config.options.scaled_height = outH = drawn.height;
    }
    config.options.use_threads = 1;

    Picture picture;
    picture.fullWidth = w;
    picture.fullHeight = h;
    picture.image = Canvas(outW, outH, Canvas::Init::Uninitialized);
    Canvas& image = picture.image;
    // With transparency the picture is decoded with its alpha first and
    // then laid on the colour row by row; without, straight into the canvas.
    std::unique_ptr<std::uint8_t[]> withAlpha;
    WebPRGBABuffer& out = config.output.u.RGBA;
    config.output.is_external_memory = 1;
    if (config.input.has_alpha) {
        config.output.colorspace = MODE_BGRA;
        out.stride = 4 * outW;
        out.size = static_cast<std::size_t>(out.stride) * static_cast<std::size_t>(outH);
        withAlpha = std::make_unique_for_overwrite<std::uint8_t[]>(out.size);
        out.rgba = withAlpha.get();
    } else {
        config.output.colorspace = MODE_BGR;
        out.rgba = image.Data();
        out.stride = static_cast<int>(image.Stride());
        out.size = image.Stride() * static_cast<std::size_t>(outH);
    }
    const VP8StatusCode status = WebPDecode(bytes, data.size(), &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK)
        throw RenderError(texts::kBrokenPicture);
    if (withAlpha) {
        const unsigned bb = (background >> 16) & 0xFF, bg = (background >> 8) & 0xFF, br = background & 0xFF;
        for (int y = 0; y < outH; ++y) {
            const std::uint8_t* in
                = withAlpha.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(out.stride);
            std::uint8_t* p = image.Row(y);
            for (int x = 0; x < outW; ++x, in += 4, p += 3) {
                const unsigned a = in[3];
                p[0] = static_cast<std::uint8_t>((in[0] * a + bb * (255 - a) + 127) / 255);
                p[1] = static_cast<std::uint8_t>((in[1] * a + bg * (255 - a) + 127) / 255);
                p[2] = static_cast<std::uint8_t>((in[2] * a + br * (255 - a) + 127) / 255);
            }
        }
    }
    return picture;
}

} // namespace render
