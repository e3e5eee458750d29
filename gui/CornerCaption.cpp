#include "gui/CornerCaption.h"

#include <QAbstractButton>
#include <QEvent>
#include <QStyleOptionHeader>
#include <QStylePainter>

namespace gui {

void CornerCaption::Install(QAbstractButton* corner)
{
    if (corner != nullptr) {
        corner->installEventFilter(new CornerCaption(corner));
    }
}

bool CornerCaption::eventFilter(QObject* watched, QEvent* event)
{
    auto* corner = qobject_cast<QAbstractButton*>(watched);
    if (corner == nullptr || event->type() != QEvent::Paint) {
        return QObject::eventFilter(watched, event);
    }
    QStylePainter painter(corner);
    QStyleOptionHeader option;
    option.initFrom(corner);
    // The corner takes no clicks, but it reads like the enabled headers.
    option.state |= QStyle::State_Enabled;
    option.rect = corner->rect();
    option.text = corner->text();
    option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.orientation = Qt::Horizontal;
    option.position = QStyleOptionHeader::OnlyOneSection;
    painter.drawControl(QStyle::CE_Header, option);
    return true;
}

} // namespace gui
