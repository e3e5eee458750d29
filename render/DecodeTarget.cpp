#include "render/DecodeTarget.h"

#include <algorithm>
#include <cmath>

namespace render {

DecodeTarget::Size DecodeTarget::For(int w, int h) const
{
    if (fit == Fit::Full || w <= 0 || h <= 0 || width <= 0 || height <= 0)
        return {};
    if (fit == Fit::Each)
        return { width, height };
    const double sx = static_cast<double>(width) / w, sy = static_cast<double>(height) / h;
    const double s = fit == Fit::Cover ? std::max(sx, sy) : std::min(sx, sy);
    return { std::max(1, static_cast<int>(std::ceil(w * s - 1e-9))),
        std::max(1, static_cast<int>(std::ceil(h * s - 1e-9))) };
}

} // namespace render
