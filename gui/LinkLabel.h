#pragma once

// A label that looks and acts like a link: blue, underlined, a hand cursor,
// and a clicked signal.

#include <QLabel>

namespace gui {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace gui
