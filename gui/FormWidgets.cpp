#include "gui/FormWidgets.h"

#include "gui/RadioGroup.h"
#include "platform/SjisText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace gui {

QString Q(std::string_view sjis)
{
    return platform::FromSjis(sjis);
}

void SetHint(QWidget* widget, std::string_view hint)
{
    const QString text = Q(hint);
    const qsizetype bar = text.indexOf(QChar('|'));
    widget->setStatusTip(bar < 0 ? text : text.mid(bar + 1));
    widget->setToolTip(bar < 0 ? text : text.left(bar));
}

QPushButton* SpeedButton(QWidget* parent, const char* name, std::string_view caption, QRect geometry)
{
    auto* button = new QPushButton(Q(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(geometry);
    return button;
}

namespace {

// The caption on the left of a one-line control, named after the control.
QLabel* CaptionLabel(QWidget* parent, const char* name, std::string_view label, int left, int top, int width)
{
    auto* caption = new QLabel(Q(label), parent);
    caption->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    caption->setGeometry(left, top, width, 21);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return caption;
}

} // namespace

QLineEdit* LabelledEdit(QWidget* parent, const char* name, std::string_view label, const QString& text,
    int left, int top, int labelWidth, int editWidth)
{
    QLabel* caption = CaptionLabel(parent, name, label, left, top, labelWidth);
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(left + labelWidth + 4, top, editWidth, 21);
    caption->setBuddy(edit);
    return edit;
}

QComboBox* LabelledCombo(QWidget* parent, const char* name, std::string_view label, const QStringList& items,
    int left, int top, int labelWidth, int comboWidth)
{
    QLabel* caption = CaptionLabel(parent, name, label, left, top, labelWidth);
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(items);
    combo->setGeometry(left + labelWidth + 4, top, comboWidth, 21);
    caption->setBuddy(combo);
    return combo;
}

QLabel* PlainLabel(QWidget* parent, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

QGroupBox* Group(QWidget* parent, const char* name, std::string_view title, QRect geometry)
{
    auto* group = new QGroupBox(Q(title), parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    return group;
}

RadioGroup* Radios(QWidget* parent, const char* name, std::string_view title, const QStringList& items,
    int columns, int index, QRect geometry)
{
    auto* group = new RadioGroup(Q(title), items, columns, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    group->SetItemIndex(index);
    return group;
}

QCheckBox* Check(QWidget* parent, const char* name, std::string_view caption, bool ticked, QRect geometry)
{
    auto* box = new QCheckBox(Q(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(ticked);
    box->setGeometry(geometry);
    return box;
}

} // namespace gui
