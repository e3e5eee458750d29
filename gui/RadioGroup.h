#pragma once

// A titled group of radio buttons read and set by item index, like the
// settings file stores it: -1 is "none selected".

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace gui {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent = nullptr);

    int ItemIndex() const;
    // An index beyond the last item selects the last one; below 0 selects none.
    void SetItemIndex(int index);
    int Count() const;
    QRadioButton* Button(int index) const;

private:
    QButtonGroup* group_;
};

} // namespace gui
