#pragma once

#include "render/Canvas.h"
#include "render/DecodeTarget.h"
#include "render/Picture.h"

#include <string_view>

namespace render {

// True when one of Qt's image readers (PNG, GIF, TIFF, WebP and whatever
// else the installed plug-ins know) recognises data by its content.
bool QtCanRead(std::string_view data);

// Reads the picture in data through Qt. The declared size is checked
// against the picture budget before anything is decoded; Qt's readers hold
// up to four bytes a pixel, so they are held to the bytes of a canvas at
// the budget (kMaxQtPixels). Pictures of fewer bytes a pixel (grey,
// palettes) are widened to three, not four. Where the reader can shrink while decoding it does
// so down to the target size. Transparent parts are laid on background.
// Raises RenderError with the reason alone (too large, broken data).
Picture ReadWithQt(std::string_view data, const DecodeTarget& target, ColorRef background);

inline constexpr std::uint64_t kMaxQtPixels = Canvas::kMaxPixels * 3 / 4;

} // namespace render
