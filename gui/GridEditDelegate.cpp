#include "gui/GridEditDelegate.h"

#include <QLineEdit>

namespace gui {

QWidget* GridEditDelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        connect(line, &QLineEdit::textEdited, this,
            [this, line] { emit const_cast<GridEditDelegate*>(this)->commitData(line); });
    }
    return editor;
}

void GridEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    // Writing back what the editor just handed over would move its cursor.
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        const QString text = index.data(Qt::EditRole).toString();
        if (line->text() != text) {
            line->setText(text);
        }
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

} // namespace gui
