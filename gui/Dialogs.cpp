#include "gui/Dialogs.h"

#include <QColorDialog>
#include <QMessageBox>

namespace gui {

void QtDialogs::Message(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent_);
    box.exec();
}

bool QtDialogs::Question(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::Error(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent_);
    box.exec();
}

std::optional<QColor> QtDialogs::PickColour(const QColor& start)
{
    const QColor colour = QColorDialog::getColor(start, parent_);
    if (!colour.isValid()) {
        return std::nullopt;
    }
    return colour;
}

} // namespace gui
