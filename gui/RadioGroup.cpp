#include "gui/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace gui {

RadioGroup::RadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(title, parent)
    , group_(new QButtonGroup(this))
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(2);
    const int perColumn = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setFocusPolicy(Qt::TabFocus);
        group_->addButton(button, i);
        layout->addWidget(button, i % perColumn, i / perColumn);
    }
}

int RadioGroup::ItemIndex() const
{
    return group_->checkedId();
}

void RadioGroup::SetItemIndex(int index)
{
    if (index >= Count()) {
        index = Count() - 1;
    }
    if (index < 0) {
        // An exclusive group refuses to uncheck its checked button.
        group_->setExclusive(false);
        for (QAbstractButton* button : group_->buttons()) {
            button->setChecked(false);
        }
        group_->setExclusive(true);
        return;
    }
    group_->button(index)->setChecked(true);
}

int RadioGroup::Count() const
{
    return static_cast<int>(group_->buttons().size());
}

QRadioButton* RadioGroup::Button(int index) const
{
    return qobject_cast<QRadioButton*>(group_->button(index));
}

} // namespace gui
