#pragma once

#include "render/Canvas.h"

#include <string_view>

namespace render {

// A decoded picture and the size the file declares. The image may be smaller
// than the declared size when a reduced decode was asked for.
struct DecodedJpeg {
    int fullWidth = 0;
    int fullHeight = 0;
    Canvas image;
};

// The most scans a progressive picture may have; past it the decode fails
// with libjpeg's bad-progression error.
inline constexpr int kMaxJpegScans = 100;
// libjpeg's number of that error (JERR_BAD_PROGRESSION).
extern const int kJpegTooManyScansError;

// Decodes JPEG data into 24-bit colour through libjpeg. When the declared
// picture is at least coverWidth x coverHeight, it may be decoded with
// libjpeg's reduced-size DCT (1/2, 1/4, 1/8) as long as the result still
// covers that size; pass 0, 0 for a full-size decode. A decode that would
// hold more than four times the cover size and more than the largest screen
// is reduced further (down to 1/8) even when it then covers less. A failure
// raises RenderError "JPEG エラー #n" with libjpeg's message number.
DecodedJpeg DecodeJpeg(std::string_view data, int coverWidth = 0, int coverHeight = 0);

// The size the JPEG data declares, from its header alone; 0 x 0 when the
// header cannot be read (DecodeJpeg then says why).
DecodedJpeg JpegHeaderSize(std::string_view data);

} // namespace render
