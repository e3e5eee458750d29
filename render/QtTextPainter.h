#pragma once

#include "platform/DesktopState.h"
#include "render/TextPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <memory>
#include <string>

namespace render {

// Text on the canvas through QtGui: a QImage wraps the canvas memory (no
// copy) and a QPainter draws on it. Fonts come from the process's
// QGuiApplication, which the program creates (the command-line tool on the
// offscreen platform: drawing into an image needs no display).
class QtTextPainter : public TextPainter {
public:
    // face is the font name as the program stores it (Shift_JIS);
    // pixelHeight the character height in pixels.
    QtTextPainter(Canvas& canvas, const std::string& face, int pixelHeight);
    ~QtTextPainter() override;

    int TextWidth(const std::string& text) override;
    void SetColor(ColorRef color) override;
    void DrawText(int x, int y, const std::string& text) override;

    const QFont& Font() const { return font_; }
    // Nothing is drawn outside the rectangle from now on.
    void ClipTo(const platform::Rect& area);

private:
    QImage image_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    std::unique_ptr<QFontMetrics> metrics_;
};

// The font families to ask Qt for, for a face name as Windows knows it.
// "ＭＳ ゴシック" has no namesake here; IPAGothic has the same metrics
// (half-width characters half as wide as full-width ones).
QStringList FontFamiliesFor(const std::string& face);

// Font pixel height for a size in points: round(points x dpi / 72), at least 1.
int FontPixelHeight(int points, int pixelsPerInch);
// The same on a monitor of that scale (device pixels per logical pixel):
// at 200 % twice the pixels, as the desktop's own text.
int FontPixelHeight(int points, int pixelsPerInch, double scale);

} // namespace render
