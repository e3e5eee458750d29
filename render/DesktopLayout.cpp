#include "render/DesktopLayout.h"

#include <algorithm>
#include <cmath>

namespace render {
namespace {

bool IsEmpty(const platform::Rect& r)
{
    return r.width <= 0 || r.height <= 0;
}

platform::Rect Intersect(const platform::Rect& a, const platform::Rect& b)
{
    const long long x0 = std::max<long long>(a.x, b.x), y0 = std::max<long long>(a.y, b.y);
    const long long x1
        = std::min<long long>(static_cast<long long>(a.x) + a.width, static_cast<long long>(b.x) + b.width);
    const long long y1
        = std::min<long long>(static_cast<long long>(a.y) + a.height, static_cast<long long>(b.y) + b.height);
    if (x0 >= x1 || y0 >= y1)
        return {};
    return { static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
        static_cast<int>(y1 - y0) };
}

} // namespace

DesktopLayout LayoutFor(const platform::DesktopState& desktop)
{
    DesktopLayout layout;
    std::vector<const platform::Monitor*> usable;
    for (const platform::Monitor& m : desktop.monitors)
        if (!IsEmpty(m.geometry))
            usable.push_back(&m);
    if (usable.empty()) {
        layout.width = desktop.screen.width;
        layout.height = desktop.screen.height;
        layout.textArea = { 0, 0, layout.width, layout.height };
        return layout;
    }
    const platform::Monitor* primary = usable.front();
    for (const platform::Monitor* m : usable)
        if (m->primary) {
            primary = m;
            break;
        }
    platform::Rect canvas = primary->geometry;
    if (desktop.placement == platform::Placement::Spanned) {
        long long x0 = canvas.x, y0 = canvas.y, x1 = x0 + canvas.width, y1 = y0 + canvas.height;
        for (const platform::Monitor* m : usable) {
            x0 = std::min<long long>(x0, m->geometry.x);
            y0 = std::min<long long>(y0, m->geometry.y);
            x1 = std::max<long long>(x1, static_cast<long long>(m->geometry.x) + m->geometry.width);
            y1 = std::max<long long>(y1, static_cast<long long>(m->geometry.y) + m->geometry.height);
        }
        // Sizes past what an int holds are past the picture budget anyway;
        // the canvas refuses them.
        canvas = { static_cast<int>(x0), static_cast<int>(y0),
            static_cast<int>(std::min<long long>(x1 - x0, 1 << 30)),
            static_cast<int>(std::min<long long>(y1 - y0, 1 << 30)) };
    }
    // An unknown or empty work area is the whole monitor; one reaching past
    // the monitor is cut to it.
    platform::Rect area
        = IsEmpty(primary->workArea) ? primary->geometry : Intersect(primary->workArea, primary->geometry);
    if (IsEmpty(area))
        area = primary->geometry;
    layout.width = canvas.width;
    layout.height = canvas.height;
    layout.textArea = { area.x - canvas.x, area.y - canvas.y, area.width, area.height };
    layout.scale = std::isfinite(primary->scale) && primary->scale > 0 ? primary->scale : 1.0;
    return layout;
}

} // namespace render
