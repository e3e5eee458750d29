#include "gui/GridEditDelegate.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

namespace gui {
namespace {

// The editor keeps the text its cell had when it opened, for Esc.
constexpr char kOpeningText[] = "corkpaneOpeningText";

} // namespace

QWidget* GridEditDelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setProperty(kOpeningText, index.data(Qt::EditRole).toString());
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

bool GridEditDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* line = qobject_cast<QLineEdit*>(object);
    if (line != nullptr && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // The cell already holds every keystroke: hand the opening text
        // over again before the editor closes.
        const QString opening = line->property(kOpeningText).toString();
        if (line->text() != opening) {
            line->setText(opening);
            emit commitData(line);
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

void GridEditDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
    if (view != nullptr && view->currentIndex().isValid() && view->currentIndex().row() == index.row()
        && !(option->state & QStyle::State_Selected)) {
        QColor tint = option->palette.color(QPalette::Highlight);
        tint.setAlpha(48);
        option->backgroundBrush = tint;
    }
}

} // namespace gui
