#pragma once

#include "render/Canvas.h"
#include "render/DecodeTarget.h"
#include "render/Picture.h"

#include <optional>
#include <string_view>

namespace render {

// True for data in the WebP container ("RIFF" .... "WEBP").
bool IsWebp(std::string_view data);

// Decodes a still WebP picture through libwebp straight into a canvas,
// shrunk while decoding to the size target gives when that is smaller, on
// two threads. Transparent parts are laid on background. The declared size
// is checked against the picture budget first. Raises RenderError with the
// reason alone (too large, broken data); nullopt for an animation, which
// libwebp alone does not decode (Qt's reader shows its first frame).
std::optional<Picture> DecodeWebp(std::string_view data, const DecodeTarget& target, ColorRef background);

} // namespace render
