#include "render/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace render {
namespace {

constexpr int kShift = 14; // weights in 1/16384

// For each destination pixel of a range, the source pixels it averages and
// their weights (summing to 1 << kShift).
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<std::int32_t> weights; // maxCount per destination pixel
    int maxCount = 0;

    const std::int32_t* Weights(std::size_t i) const
    {
        return weights.data() + i * static_cast<std::size_t>(maxCount);
    }
};

// Destination pixels [from, to) of a picture of srcSize pixels drawn over
// `size` destination pixels starting at `pos`.
Taps MakeTaps(int from, int to, long long pos, long long size, int srcSize)
{
    Taps taps;
    const double scale = static_cast<double>(size) / srcSize; // destination per source pixel
    const double support = scale < 1 ? 1 / scale : 1.0; // tent half-width in source pixels
    taps.maxCount = static_cast<int>(std::ceil(support)) * 2 + 1;
    const std::size_t n = static_cast<std::size_t>(to - from);
    taps.first.resize(n);
    taps.count.resize(n);
    taps.weights.assign(n * static_cast<std::size_t>(taps.maxCount), 0);
    std::vector<double> w(static_cast<std::size_t>(taps.maxCount));
    for (std::size_t i = 0; i < n; ++i) {
        const double centre = (static_cast<double>(from + static_cast<int>(i) - pos) + 0.5) / scale;
        int lo = std::max(0, static_cast<int>(std::floor(centre - support)));
        int hi = std::min(srcSize, static_cast<int>(std::ceil(centre + support)));
        hi = std::min(hi, lo + taps.maxCount);
        double sum = 0;
        for (int s = lo; s < hi; ++s) {
            const double d = std::max(0.0, 1 - std::fabs(s + 0.5 - centre) / support);
            w[static_cast<std::size_t>(s - lo)] = d;
            sum += d;
        }
        std::int32_t* out = taps.weights.data() + i * static_cast<std::size_t>(taps.maxCount);
        if (sum <= 0) { // past the picture's edge: its nearest pixel
            lo = std::clamp(static_cast<int>(std::floor(centre)), 0, srcSize - 1);
            hi = lo + 1;
            out[0] = 1 << kShift;
        } else {
            std::int32_t total = 0;
            int largest = 0;
            for (int s = 0; s < hi - lo; ++s) {
                out[s] = static_cast<std::int32_t>(
                    std::lround(w[static_cast<std::size_t>(s)] / sum * (1 << kShift)));
                total += out[s];
                if (out[s] > out[largest])
                    largest = s;
            }
            out[largest] += (1 << kShift) - total;
        }
        taps.first[i] = lo;
        taps.count[i] = hi - lo;
    }
    return taps;
}

inline std::uint8_t Clamp8(std::int32_t v)
{
    v = (v + (1 << (kShift - 1))) >> kShift;
    return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// One source row through the horizontal taps into 3-byte pixels.
void ScaleRow(const std::uint8_t* in, std::ptrdiff_t xStep, const Taps& taps, std::uint8_t* out)
{
    const std::size_t n = taps.first.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* p = in + xStep * taps.first[i];
        const std::int32_t* w = taps.Weights(i);
        std::int32_t b = 0, g = 0, r = 0;
        for (int k = 0; k < taps.count[i]; ++k, p += xStep) {
            b += p[0] * w[k];
            g += p[1] * w[k];
            r += p[2] * w[k];
        }
        out[3 * i] = Clamp8(b);
        out[3 * i + 1] = Clamp8(g);
        out[3 * i + 2] = Clamp8(r);
    }
}

} // namespace

void CopyClipped(const PixelView& src, Canvas& dst, int left, int top)
{
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t { left } + src.width, dst.Width());
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t { top } + src.height, dst.Height());
    if (src.Empty() || x0 >= x1 || y0 >= y1)
        return;
    for (std::int64_t y = y0; y < y1; ++y) {
        std::uint8_t* out = dst.Row(static_cast<int>(y)) + 3 * x0;
        const std::uint8_t* in = src.At(static_cast<int>(x0 - left), static_cast<int>(y - top));
        if (src.Packed()) {
            std::memcpy(out, in, static_cast<std::size_t>(x1 - x0) * 3);
            continue;
        }
        for (std::int64_t x = x0; x < x1; ++x, out += 3, in += src.xStep) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
}

void DrawScaled(const PixelView& src, Canvas& dst, const platform::Rect& to)
{
    if (src.Empty() || to.width <= 0 || to.height <= 0)
        return;
    if (to.width == src.width && to.height == src.height) {
        CopyClipped(src, dst, to.x, to.y);
        return;
    }
    const int x0 = static_cast<int>(std::max<long long>(to.x, 0));
    const int x1
        = static_cast<int>(std::min<long long>(static_cast<long long>(to.x) + to.width, dst.Width()));
    const int y0 = static_cast<int>(std::max<long long>(to.y, 0));
    const int y1
        = static_cast<int>(std::min<long long>(static_cast<long long>(to.y) + to.height, dst.Height()));
    if (x0 >= x1 || y0 >= y1)
        return;
    const Taps across = MakeTaps(x0, x1, to.x, to.width, src.width);
    const Taps down = MakeTaps(y0, y1, to.y, to.height, src.height);

    // Source rows scaled across, kept in a ring while the rows below use them.
    const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0) * 3;
    const int ringRows = down.maxCount;
    std::vector<std::uint8_t> ring(rowBytes * static_cast<std::size_t>(ringRows));
    std::vector<int> held(static_cast<std::size_t>(ringRows), -1); // source row in each slot
    std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(ringRows));
    for (int y = y0; y < y1; ++y) {
        const std::size_t i = static_cast<std::size_t>(y - y0);
        const int first = down.first[i], count = down.count[i];
        for (int k = 0; k < count; ++k) {
            const int s = first + k;
            const std::size_t slot = static_cast<std::size_t>(s % ringRows);
            std::uint8_t* row = ring.data() + slot * rowBytes;
            if (held[slot] != s) {
                ScaleRow(src.Row(s), src.xStep, across, row);
                held[slot] = s;
            }
            rows[static_cast<std::size_t>(k)] = row;
        }
        const std::int32_t* w = down.Weights(i);
        std::uint8_t* out = dst.Row(y) + 3 * static_cast<std::size_t>(x0);
        if (count == 1) {
            std::memcpy(out, rows[0], rowBytes);
            continue;
        }
        for (std::size_t b = 0; b < rowBytes; ++b) {
            std::int32_t v = 0;
            for (int k = 0; k < count; ++k)
                v += rows[static_cast<std::size_t>(k)][b] * w[k];
            out[b] = Clamp8(v);
        }
    }
}

} // namespace render
