#include "gui/ColourSwatch.h"

#include <QMouseEvent>

namespace gui {

ColourSwatch::ColourSwatch(std::int32_t colour, QWidget* parent)
    : QLabel(parent)
{
    setFixedSize(24, 24);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    setCursor(Qt::PointingHandCursor);
    SetColour(colour);
}

void ColourSwatch::SetColour(std::int32_t colour)
{
    colour_ = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    setPalette(palette);
}

QColor ColourSwatch::ToQColor(std::int32_t colour)
{
    // Only the low three bytes are red, green and blue; a stored value with
    // other bits set is kept as it is but shown by its colour bytes.
    const auto value = static_cast<std::uint32_t>(colour);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
        static_cast<int>((value >> 16) & 0xFF));
}

std::int32_t ColourSwatch::FromQColor(const QColor& colour)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(colour.red())
        | (static_cast<std::uint32_t>(colour.green()) << 8)
        | (static_cast<std::uint32_t>(colour.blue()) << 16));
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace gui
