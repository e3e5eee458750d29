#pragma once

// Small builders for the window's controls, so that a page's layout reads
// as one line per control: the control's name, caption and place.

#include <QRect>
#include <QString>
#include <QStringList>
#include <string_view>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace gui {

class RadioGroup;

// Shift_JIS text as Qt shows it.
QString Q(std::string_view sjis);

// The status bar shows the part of a hint after its bar; the part before it
// (always empty here) would be a tool tip.
void SetHint(QWidget* widget, std::string_view hint);

// A push button that takes no keyboard focus.
QPushButton* SpeedButton(QWidget* parent, const char* name, std::string_view caption, QRect geometry);

// A one-line edit with its caption label on its left.
QLineEdit* LabelledEdit(QWidget* parent, const char* name, std::string_view label, const QString& text,
    int left, int top, int labelWidth, int editWidth);

// A drop-down list of fixed items with its caption label on its left.
QComboBox* LabelledCombo(QWidget* parent, const char* name, std::string_view label, const QStringList& items,
    int left, int top, int labelWidth, int comboWidth);

QLabel* PlainLabel(QWidget* parent, const QString& text, QRect geometry);
QGroupBox* Group(QWidget* parent, const char* name, std::string_view title, QRect geometry);
RadioGroup* Radios(QWidget* parent, const char* name, std::string_view title, const QStringList& items,
    int columns, int index, QRect geometry);
QCheckBox* Check(QWidget* parent, const char* name, std::string_view caption, bool ticked, QRect geometry);

} // namespace gui
