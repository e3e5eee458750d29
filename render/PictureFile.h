#pragma once

#include "render/Canvas.h"
#include "render/DecodeTarget.h"
#include "render/Picture.h"

#include <chrono>
#include <string>

namespace render {

// A picture file as the caller read it: its path as the desktop names it,
// its name for messages (Shift_JIS, in full) and its bytes.
struct PictureFile {
    std::string path;
    std::string name;
    std::string bytes;
};

// Decodes the picture in file.
//  - A path with ".jpg" in it (case-sensitively, anywhere) is decoded as
//    JPEG, else one with ".bmp" as a Windows bitmap, as the older platform
//    did: their errors are the decoders' own ("JPEG エラー #n",
//    "ビットマップイメージが不正です").
//  - Any other file is decided by its content: JPEG (libjpeg-turbo), a
//    bitmap, WebP (libwebp), or anything Qt's image readers know (PNG, GIF,
//    TIFF, SVG, animated WebP). A file that is none of them, whose data is
//    broken or that is too large raises RenderError "ファイル "<name>" は絵
//    として読めません。<reason>". A GNOME background list is resolved by
//    the caller first (IsPictureList); one met here names another list.
// Photos are turned by their orientation tag (Exif in JPEG, TIFF's own), as
// desktops show them. The picture budget (Canvas::kMaxPixels) is checked
// against the declared size before decoding in every case. Decoders that
// can shrink while decoding do so down to the size target gives for the
// picture. Transparent parts are laid on background.
Picture DecodePicture(const PictureFile& file, const DecodeTarget& target, ColorRef background);

// True for a GNOME background list (slide show, day and night): the
// caller reads the picture it shows (PictureListChoice) and decodes that.
bool IsPictureList(const PictureFile& file);
// The path of the picture the list shows at local time now on a width x
// height screen (GnomeSlideShow.h). A list too large to be one, or naming
// no picture, raises RenderError naming it.
std::string PictureListChoice(const PictureFile& list, std::chrono::local_seconds now, int width, int height);

} // namespace render
