#pragma once

// A small coloured square that stands for a colour setting. The colour is
// held as the settings file stores it: a signed integer 0x00BBGGRR.

#include <QLabel>
#include <cstdint>

namespace gui {

class ColourSwatch : public QLabel {
    Q_OBJECT
public:
    explicit ColourSwatch(std::int32_t colour, QWidget* parent = nullptr);

    std::int32_t Colour() const { return colour_; }
    void SetColour(std::int32_t colour);

    static QColor ToQColor(std::int32_t colour);
    static std::int32_t FromQColor(const QColor& colour);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::int32_t colour_ = 0;
};

} // namespace gui
