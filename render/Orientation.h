#pragma once

#include <string_view>

namespace render {

// The orientation a JPEG's Exif data gives (1 to 8, as cameras write it:
// 6 is turned a quarter clockwise for showing, 8 a quarter anticlockwise,
// 3 half a turn, 2, 4, 5 and 7 mirrored); 1 when it gives none. Desktops
// show photos turned so, and so does the draw (see Oriented in Picture.h).
int JpegOrientation(std::string_view jpeg);

// True for the orientations that swap width and height (5 to 8).
inline bool SwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

} // namespace render
