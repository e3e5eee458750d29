#include "render/PictureFile.h"

#include "platform/FileIo.h"
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
constexpr std::uint64_t kSlideShowReadLimit = std::uint64_t { 1 } << 20;

[[noreturn]] void CannotRead(const std::string& path, const std::string& reason)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    throw RenderError(texts::kPictureFilePrefix
        + platform::PathText(ec ? std::filesystem::path(path) : absolute.lexically_normal())
        + texts::kPictureFileNotRead + reason);
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
    return d.size() >= 3 && d.substr(0, 3) == "\xFF\xD8\xFF";
}
bool IsBmp(std::string_view d)
{
    return d.size() >= 2 && d.substr(0, 2) == "BM";
}

Picture ByContent(const std::string& path, const DecodeTarget& target, ColorRef background,
    std::chrono::local_seconds now, bool listAllowed)
{
    const std::string data = platform::ReadWholeFile(path, platform::kPictureReadLimit);
    try {
        if (IsJpeg(data))
            return FromJpeg(data, target);
        if (IsBmp(data))
            return FromBmp(data);
        if (IsWebp(data))
            if (std::optional<Picture> webp = DecodeWebp(data, target, background))
                return std::move(*webp);
    } catch (const RenderError& e) {
        CannotRead(path, e.what());
    }
    if (IsGnomeSlideShow(data)) {
        if (!listAllowed)
            CannotRead(path, texts::kNestedSlideShow);
        if (data.size() > kSlideShowReadLimit)
            CannotRead(path, texts::kNoSlideShowPicture);
        const int w = target.width > 0 ? target.width : 1920, h = target.height > 0 ? target.height : 1080;
        const std::string shown
            = SlideShowPicture(data, std::filesystem::path(path).parent_path(), now, w, h);
        if (shown.empty())
            CannotRead(path, texts::kNoSlideShowPicture);
        return ByContent(shown, target, background, now, false);
    }
    if (!QtCanRead(data))
        CannotRead(path, texts::kUnknownPictureKind);
    try {
        return ReadWithQt(data, target, background);
    } catch (const RenderError& e) {
        CannotRead(path, e.what());
    }
}

} // namespace

Picture LoadPicture(
    const std::string& path, const DecodeTarget& target, ColorRef background, std::chrono::local_seconds now)
{
    if (path.find(".jpg") != std::string::npos)
        return FromJpeg(platform::ReadWholeFile(path, platform::kPictureReadLimit), target);
    if (path.find(".bmp") != std::string::npos)
        return FromBmp(platform::ReadWholeFile(path, platform::kPictureReadLimit));
    return ByContent(path, target, background, now, true);
}

} // namespace render
