#include "render/PictureFile.h"

#include "render/BmpReader.h"
#include "render/GnomeSlideShow.h"
#include "render/JpegDecoder.h"
#include "render/Orientation.h"
#include "render/QtPictureReader.h"
#include "render/RenderError.h"
#include "render/Texts.h"
#include "render/WebpDecoder.h"

#include <filesystem>
#include <optional>
#include <utility>

namespace render {
namespace {

// A background list is a few kilobytes; anything near this is no list.
constexpr std::size_t kSlideShowReadLimit = std::size_t { 1 } << 20;

[[noreturn]] void CannotRead(const PictureFile& file, const std::string& reason)
{
    throw RenderError(texts::kPictureFilePrefix + file.name + texts::kPictureFileNotRead + reason);
}

Picture FromJpeg(std::string_view data, const DecodeTarget& target)
{
    Picture picture;
    // The header is read twice: once for the size the target asks of it,
    // as the picture is shown (a photo turned by its Exif orientation).
    const int orientation = JpegOrientation(data);
    const bool swap = SwapsSides(orientation);
    const DecodedJpeg probe = JpegHeaderSize(data);
    DecodeTarget::Size drawn = swap ? target.For(probe.fullHeight, probe.fullWidth)
                                    : target.For(probe.fullWidth, probe.fullHeight);
    if (swap)
        std::swap(drawn.width, drawn.height);
    DecodedJpeg jpeg = DecodeJpeg(data, drawn.width, drawn.height);
    picture.fullWidth = swap ? jpeg.fullHeight : jpeg.fullWidth;
    picture.fullHeight = swap ? jpeg.fullWidth : jpeg.fullHeight;
    picture.image = std::move(jpeg.image);
    picture.orientation = orientation;
    return picture;
}

Picture FromBmp(std::string_view data)
{
    Picture picture;
    picture.image = ReadBmp(data);
    picture.fullWidth = picture.image.Width();
    picture.fullHeight = picture.image.Height();
    return picture;
}

bool IsJpeg(std::string_view d)
{
    return d.starts_with("\xFF\xD8\xFF");
}
bool IsBmp(std::string_view d)
{
    return d.starts_with("BM");
}

} // namespace

bool IsPictureList(const PictureFile& file)
{
    return file.path.find(".jpg") == std::string::npos && file.path.find(".bmp") == std::string::npos
        && !IsJpeg(file.bytes) && !IsBmp(file.bytes) && !IsWebp(file.bytes) && IsGnomeSlideShow(file.bytes);
}

std::string PictureListChoice(const PictureFile& list, std::chrono::local_seconds now, int width, int height)
{
    if (list.bytes.size() > kSlideShowReadLimit)
        CannotRead(list, texts::kNoSlideShowPicture);
    const std::string shown = SlideShowPicture(list.bytes, std::filesystem::path(list.path).parent_path(),
        now, width > 0 ? width : 1920, height > 0 ? height : 1080);
    if (shown.empty())
        CannotRead(list, texts::kNoSlideShowPicture);
    return shown;
}

Picture DecodePicture(const PictureFile& file, const DecodeTarget& target, ColorRef background)
{
    if (file.path.find(".jpg") != std::string::npos)
        return FromJpeg(file.bytes, target);
    if (file.path.find(".bmp") != std::string::npos)
        return FromBmp(file.bytes);
    const std::string& data = file.bytes;
    try {
        if (IsJpeg(data))
            return FromJpeg(data, target);
        if (IsBmp(data))
            return FromBmp(data);
        if (IsWebp(data))
            if (std::optional<Picture> webp = DecodeWebp(data, target, background))
                return std::move(*webp);
    } catch (const RenderError& e) {
        CannotRead(file, e.what());
    }
    if (IsGnomeSlideShow(data))
        CannotRead(file, texts::kNestedSlideShow);
    if (!QtCanRead(data))
        CannotRead(file, texts::kUnknownPictureKind);
    try {
        return ReadWithQt(data, target, background);
    } catch (const RenderError& e) {
        CannotRead(file, e.what());
    }
}

} // namespace render
