#include "render/QtPictureReader.h"

#include "render/RenderError.h"
#include "render/Texts.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <utility>

namespace render {
namespace {

// A reader over data without copying it; the bytes outlive the reader.
class DataReader {
public:
    explicit DataReader(std::string_view data)
        : bytes_(QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())))
        , buffer_(&bytes_)
    {
        buffer_.open(QIODevice::ReadOnly);
        reader_.setDevice(&buffer_);
        reader_.setDecideFormatFromContent(true);
        reader_.setAutoTransform(true);
        // Qt's own ceiling (in megabytes) as a second guard behind ours:
        // formats of more than four bytes a pixel are decoded wider first.
        reader_.setAllocationLimit(static_cast<int>(kMaxQtPixels * 4 >> 20) + 1);
    }
    QImageReader& operator*() { return reader_; }
    QImageReader* operator->() { return &reader_; }

private:
    QByteArray bytes_;
    QBuffer buffer_;
    QImageReader reader_;
};

// Lays a picture with transparency on the colour, leaving Qt's 32-bit RGB.
void FlattenOnto(QImage& image, ColorRef background)
{
    image.convertTo(QImage::Format_ARGB32);
    const unsigned bb = (background >> 16) & 0xFF, bg = (background >> 8) & 0xFF, br = background & 0xFF;
    for (int y = 0; y < image.height(); ++y) {
        std::uint8_t* p = image.scanLine(y); // blue, green, red, alpha
        for (int x = 0; x < image.width(); ++x, p += 4) {
            const unsigned a = p[3];
            if (a != 255) {
                p[0] = static_cast<std::uint8_t>((p[0] * a + bb * (255 - a) + 127) / 255);
                p[1] = static_cast<std::uint8_t>((p[1] * a + bg * (255 - a) + 127) / 255);
                p[2] = static_cast<std::uint8_t>((p[2] * a + br * (255 - a) + 127) / 255);
                p[3] = 255;
            }
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

} // namespace

bool QtCanRead(std::string_view data)
{
    DataReader reader(data);
    return reader->canRead();
}

Picture ReadWithQt(std::string_view data, const DecodeTarget& target, ColorRef background)
{
    DataReader reader(data);
    const QSize size = reader->size();
    if (!size.isValid() || size.isEmpty())
        throw RenderError(texts::kBrokenPicture);
    if (static_cast<std::uint64_t>(size.width()) * static_cast<std::uint64_t>(size.height()) > kMaxQtPixels)
        throw RenderError(texts::kPictureTooLarge);
    Picture picture;
    picture.fullWidth = size.width();
    picture.fullHeight = size.height();
    // Only readers that shrink while decoding are asked to (the PNG reader
    // says it can, but decodes in full and then scales, which the
    // composition does better); a drawing (SVG) is drawn at the size it is
    // shown at, larger or smaller.
    const DecodeTarget::Size drawn = target.For(size.width(), size.height());
    const bool drawing = reader->format().startsWith("svg");
    if (drawn.width > 0 && (drawing || (drawn.width < size.width() && drawn.height < size.height()))
        && reader->supportsOption(QImageIOHandler::ScaledSize) && reader->format() != "png") {
        if (static_cast<std::uint64_t>(drawn.width) * static_cast<std::uint64_t>(drawn.height) > kMaxQtPixels)
            throw RenderError(texts::kPictureTooLarge);
        reader->setScaledSize(QSize(drawn.width, drawn.height));
    }
    QImage image;
    if (!reader->read(&image) || image.isNull())
        throw RenderError(texts::kBrokenPicture);
    // A picture turned by its orientation tag (TIFF), as desktops show it.
    if (reader->transformation() & QImageIOHandler::TransformationRotate90)
        std::swap(picture.fullWidth, picture.fullHeight);
    if (image.hasAlphaChannel())
        FlattenOnto(image, background);
    else if (image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_BGR888); // three bytes a pixel, not four
    if (image.isNull())
        throw RenderError(texts::kBrokenPicture);
    picture.qtImage = std::move(image);
    return picture;
}

} // namespace render
