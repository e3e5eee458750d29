#include "render/QtTextPainter.h"

#include "platform/SjisText.h"
#include "render/Texts.h"

#include <QColor>
#include <algorithm>
#include <cmath>

namespace render {

QStringList FontFamiliesFor(const std::string& face)
{
    if (face == texts::kMsGothic || face == "MS Gothic")
        return { "IPAGothic", "IPAexGothic", "Noto Sans Mono CJK JP", "VL Gothic", "TakaoGothic" };
    return { platform::FromSjis(face) };
}

int FontPixelHeight(int points, int pixelsPerInch)
{
    const long long product = static_cast<long long>(points) * pixelsPerInch;
    // Round half away from zero, as MulDiv does.
    const long long rounded = product >= 0 ? (product + 36) / 72 : (product - 36) / 72;
    if (rounded < 1)
        return 1;
    return rounded > 10000 ? 10000 : static_cast<int>(rounded);
}

int FontPixelHeight(int points, int pixelsPerInch, double scale)
{
    if (scale == 1.0 || !(scale > 0) || !std::isfinite(scale))
        return FontPixelHeight(points, pixelsPerInch);
    const double pixels = std::round(static_cast<double>(points) * pixelsPerInch * scale / 72);
    return static_cast<int>(std::clamp(pixels, 1.0, 10000.0));
}

QtTextPainter::QtTextPainter(Canvas& canvas, const std::string& face, int pixelHeight)
    : image_(canvas.Data(), canvas.Width(), canvas.Height(), static_cast<qsizetype>(canvas.Stride()),
        QImage::Format_BGR888)
{
    font_.setFamilies(FontFamiliesFor(face));
    font_.setPixelSize(pixelHeight);
    font_.setStyleHint(QFont::TypeWriter);
    font_.setKerning(false);
    metrics_ = std::make_unique<QFontMetrics>(font_);
    if (!canvas.Empty()) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setFont(font_);
        painter_->setBackgroundMode(Qt::TransparentMode);
    }
}

QtTextPainter::~QtTextPainter()
{
    if (painter_)
        painter_->end();
}

void QtTextPainter::ClipTo(const platform::Rect& area)
{
    if (painter_)
        painter_->setClipRect(QRect(area.x, area.y, area.width, area.height));
}

int QtTextPainter::TextWidth(const std::string& text)
{
    return metrics_->horizontalAdvance(platform::FromSjis(text));
}

void QtTextPainter::SetColor(ColorRef color)
{
    if (painter_)
        painter_->setPen(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
}

void QtTextPainter::DrawText(int x, int y, const std::string& text)
{
    if (!painter_ || text.empty())
        return;
    // Qt places text by its baseline; the caller gives the top of the cell.
    painter_->drawText(x, y + metrics_->ascent(), platform::FromSjis(text));
}

} // namespace render
