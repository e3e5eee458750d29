#pragma once

// The grid's in-place editor hands its text to the cell on every change, as
// the user types, and again when it leaves the cell; the model's edit hook
// sees each hand-over. So the cell always holds what the editor shows, even
// when the window is closed with the editor still open. Esc gives the cell
// back the text it had when the editor opened.
//
// The row of the view's current cell is drawn highlighted, so that it is
// clear which row typing and the row buttons act on even while the editor
// covers the current cell itself.

#include <QStyledItemDelegate>

namespace gui {

class GridEditDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(
        QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool eventFilter(QObject* object, QEvent* event) override;
};

} // namespace gui
