#include "render/BmpReader.h"

#include "render/RenderError.h"
#include "render/Texts.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace render {
namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

[[noreturn]] void Invalid()
{
    throw RenderError(texts::kInvalidBitmap);
}

// Little-endian reads that fail as an invalid bitmap past the end.
struct Reader {
    std::string_view data;
    std::uint32_t U16(std::size_t at) const
    {
        if (at + 2 > data.size())
            Invalid();
        return static_cast<std::uint8_t>(data[at]) | static_cast<std::uint8_t>(data[at + 1]) << 8;
    }
    std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
    std::int32_t S32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
};

struct Bgr {
    std::uint8_t b = 0, g = 0, r = 0;
};

// One channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m = 0)
        : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::popcount(m >> shift);
            if (bits > 8) {
                shift += bits - 8; // keep the top 8 bits
                bits = 8;
            }
        }
    }
    std::uint8_t Get(std::uint32_t pixel) const
    {
        if (!mask)
            return 0;
        const std::uint32_t v = ((pixel & mask) >> shift) & ((1u << bits) - 1);
        // Scale to 8 bits so that full scale in any width maps to 255.
        return static_cast<std::uint8_t>(
            bits == 8 ? v : (v * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1));
    }
};

void Put(Canvas& canvas, int x, int row, const Bgr& c)
{
    std::uint8_t* p = canvas.Row(row) + 3 * static_cast<std::size_t>(x);
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

// RLE8 / RLE4 as Windows writes them: runs, end of line, end of bitmap,
// delta moves and absolute runs padded to 16 bits. Pixels the data never
// reaches keep the first palette colour; data past the image is ignored.
void DecodeRle(
    std::string_view data, bool four, const std::vector<Bgr>& palette, Canvas& canvas, bool topDown)
{
    const int width = canvas.Width(), height = canvas.Height();
    const Bgr background = palette.empty() ? Bgr {} : palette[0];
    // Row copies: a short file may claim a large picture.
    canvas.Fill(static_cast<ColorRef>(background.r) | static_cast<ColorRef>(background.g) << 8
        | static_cast<ColorRef>(background.b) << 16);
    auto colour = [&](unsigned index) { return index < palette.size() ? palette[index] : Bgr {}; };
    int x = 0, line = 0; // line counts from the first stored row
    auto emit = [&](unsigned index) {
        if (x < width && line < height)
            Put(canvas, x, topDown ? line : height - 1 - line, colour(index));
        ++x;
    };
    std::size_t at = 0;
    while (at + 1 < data.size() && line < height) {
        const unsigned count = static_cast<std::uint8_t>(data[at]);
        const unsigned value = static_cast<std::uint8_t>(data[at + 1]);
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                emit(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++line;
        } else if (value == 1) { // end of bitmap
            return;
        } else if (value == 2) { // delta
            if (at + 1 >= data.size())
                return;
            x += static_cast<std::uint8_t>(data[at]);
            line += static_cast<std::uint8_t>(data[at + 1]);
            at += 2;
        } else { // absolute run of `value` pixels
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (at + bytes > data.size())
                return;
            for (unsigned i = 0; i < value; ++i) {
                const unsigned byte = static_cast<std::uint8_t>(data[at + (four ? i / 2 : i)]);
                emit(four ? ((i & 1) ? byte & 0x0F : byte >> 4) : byte);
            }
            at += (bytes + 1) & ~std::size_t { 1 };
        }
        if (x > width + 255) // runaway runs on one line: nothing more to show there
            x = width;
    }
}

} // namespace

Canvas ReadBmp(std::string_view file)
{
    const Reader in { file };
    if (file.size() < 14 + 12 || file[0] != 'B' || file[1] != 'M')
        Invalid();
    const std::uint32_t offBits = in.U32(10);
    const std::uint32_t headerSize = in.U32(14);
    if (headerSize < 12 || headerSize > file.size() - 14)
        Invalid();

    std::int64_t width = 0, height = 0;
    std::uint32_t bpp = 0, compression = kBiRgb, colorsUsed = 0;
    std::uint32_t masks[3] = { 0, 0, 0 };
    bool core = headerSize == 12;
    if (core) {
        width = in.U16(18);
        height = in.U16(20);
        if (in.U16(22) != 1)
            Invalid();
        bpp = in.U16(24);
    } else {
        if (headerSize < 16)
            Invalid();
        width = in.S32(18);
        height = in.S32(22);
        if (in.U16(26) != 1)
            Invalid();
        bpp = in.U16(28);
        if (headerSize >= 20)
            compression = in.U32(30);
        if (headerSize >= 36)
            colorsUsed = in.U32(46);
        if (headerSize >= 52) { // V2 and later carry the masks inside the header
            masks[0] = in.U32(54);
            masks[1] = in.U32(58);
            masks[2] = in.U32(62);
        }
    }
    std::size_t tableAt = 14 + headerSize;
    if ((compression == kBiBitfields || compression == kBiAlphaBitfields) && headerSize < 52) {
        // A plain info header is followed by the three (or four) masks.
        masks[0] = in.U32(tableAt);
        masks[1] = in.U32(tableAt + 4);
        masks[2] = in.U32(tableAt + 8);
        tableAt += compression == kBiAlphaBitfields ? 16 : 12;
    }

    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0 || static_cast<std::uint64_t>(width * height) > Canvas::kMaxPixels)
        Invalid();
    switch (compression) {
    case kBiRgb:
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
            Invalid();
        break;
    case kBiRle8:
        if (bpp != 8 || topDown)
            Invalid();
        break;
    case kBiRle4:
        if (bpp != 4 || topDown)
            Invalid();
        break;
    case kBiBitfields:
    case kBiAlphaBitfields:
        if (bpp != 16 && bpp != 32)
            Invalid();
        break;
    default:
        Invalid();
    }

    // The palette: RGBQUAD entries (RGBTRIPLE after a core header).
    std::vector<Bgr> palette;
    if (bpp <= 8) {
        const std::uint32_t full = 1u << bpp;
        std::uint32_t count = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
        const std::size_t entry = core ? 3 : 4;
        // Some writers give a full count but store fewer entries before the
        // pixels; take what fits.
        if (offBits > tableAt && offBits <= file.size())
            count = std::min<std::uint32_t>(count, static_cast<std::uint32_t>((offBits - tableAt) / entry));
        if (count == 0 || tableAt + count * entry > file.size())
            Invalid();
        palette.resize(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = tableAt + i * entry;
            palette[i] = { static_cast<std::uint8_t>(file[at]), static_cast<std::uint8_t>(file[at + 1]),
                static_cast<std::uint8_t>(file[at + 2]) };
        }
        tableAt += count * entry;
    }
    const std::size_t pixelsAt = offBits >= 14 + headerSize && offBits < file.size() ? offBits : tableAt;
    if (pixelsAt >= file.size())
        Invalid();
    const std::string_view pixels = file.substr(pixelsAt);

    const int w = static_cast<int>(width), h = static_cast<int>(height);
    Canvas canvas(w, h, Canvas::Init::Uninitialized);
    if (compression == kBiRle8 || compression == kBiRle4) {
        DecodeRle(pixels, compression == kBiRle4, palette, canvas, false);
        return canvas;
    }

    const std::size_t rowBytes = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4;
    if (rowBytes * static_cast<std::size_t>(h) > pixels.size()) {
        // The last row may lack its padding; anything shorter is truncated.
        if (rowBytes * static_cast<std::size_t>(h - 1) + (static_cast<std::size_t>(w) * bpp + 7) / 8
            > pixels.size())
            Invalid();
    }
    if (bpp == 16 && !masks[0] && !masks[1] && !masks[2]) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    if (bpp == 32 && compression == kBiRgb) {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    const auto* base = reinterpret_cast<const std::uint8_t*>(pixels.data());

    for (int stored = 0; stored < h; ++stored) {
        const std::uint8_t* src = base + rowBytes * static_cast<std::size_t>(stored);
        std::uint8_t* dst = canvas.Row(topDown ? stored : h - 1 - stored);
        switch (bpp) {
        case 1:
        case 4:
        case 8: {
            const unsigned perByte = 8 / bpp, maskBits = (1u << bpp) - 1;
            for (int x = 0; x < w; ++x) {
                const unsigned byte = src[static_cast<unsigned>(x) / perByte];
                const unsigned shift = 8 - bpp * (static_cast<unsigned>(x) % perByte + 1);
                const unsigned index = (byte >> shift) & maskBits;
                const Bgr c = index < palette.size() ? palette[index] : Bgr {};
                dst[3 * x] = c.b;
                dst[3 * x + 1] = c.g;
                dst[3 * x + 2] = c.r;
            }
            break;
        }
        case 24:
            std::memcpy(dst, src, static_cast<std::size_t>(w) * 3);
            break;
        case 16:
        case 32:
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = bpp == 16
                    ? static_cast<std::uint32_t>(src[2 * x] | src[2 * x + 1] << 8)
                    : static_cast<std::uint32_t>(src[4 * x]) | static_cast<std::uint32_t>(src[4 * x + 1]) << 8
                        | static_cast<std::uint32_t>(src[4 * x + 2]) << 16
                        | static_cast<std::uint32_t>(src[4 * x + 3]) << 24;
                dst[3 * x] = blue.Get(p);
                dst[3 * x + 1] = green.Get(p);
                dst[3 * x + 2] = red.Get(p);
            }
            break;
        }
    }
    return canvas;
}

} // namespace render
