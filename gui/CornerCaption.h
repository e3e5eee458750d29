#pragma once

// Paints the text of a table view's corner button as a header cell, so the
// fixed cell above the row numbers shows its caption like the other
// headers. Qt's own corner button draws an empty section.

#include <QObject>

class QAbstractButton;

namespace gui {

class CornerCaption : public QObject {
    Q_OBJECT
public:
    // Takes over painting of `corner` (the view's corner button) and shows
    // its text(); the filter is owned by the button.
    static void Install(QAbstractButton* corner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace gui
