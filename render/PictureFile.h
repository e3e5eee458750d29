#pragma once

#include "render/Canvas.h"
#include "render/DecodeTarget.h"
#include "render/Picture.h"

#include <chrono>
#include <string>

namespace render {

// Loads the picture a wallpaper path names.
//  - A path with ".jpg" in it (case-sensitively, anywhere) is decoded as
//    JPEG, else one with ".bmp" as a Windows bitmap, as the older platform
//    did: their errors are the decoders' own ("JPEG エラー #n",
//    "ビットマップイメージが不正です").
//  - Any other path is decided by the file's content: JPEG (libjpeg-turbo),
//    a bitmap, WebP (libwebp), a GNOME background list (the picture it
//    shows at local time now; see GnomeSlideShow.h), or anything Qt's image
//    readers know (PNG, GIF, TIFF, SVG, animated WebP). A file that is none of them, or whose data is
//    broken, raises RenderError "ファイル "<name>" は絵として読めません。<reason>".
// Photos are turned by their orientation tag (Exif in JPEG, TIFF's own), as
// desktops show them. The picture budget (Canvas::kMaxPixels) is checked against the declared
// size before decoding in every case. Decoders that can shrink while
// decoding do so down to the size target gives for the picture.
// Transparent parts are laid on background. A file that cannot be opened
// raises the file unit's cannot-open error.
Picture LoadPicture(
    const std::string& path, const DecodeTarget& target, ColorRef background, std::chrono::local_seconds now);

} // namespace render
