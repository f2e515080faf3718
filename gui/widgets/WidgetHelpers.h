#pragma once
// The small control factories the windows share. Every control gets its
// object name, by which the language tables and the tests find it.

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;

namespace pitwall::gui {

QLabel* Label(QWidget* parent, const QString& name, const QString& text = {});
QPushButton* Button(QWidget* parent, const QString& name, const QString& text = {});
// A button whose caption the language routine sets from UI text uiText.
QPushButton* Button(QWidget* parent, const QString& name, const QString& caption, int uiText);
QSpinBox* Spin(QWidget* parent, const QString& name, int minimum, int maximum);
// A spin box wide enough for its numbers whatever the layout gives it.
QSpinBox* NumberField(QWidget* parent, const QString& name, int minimum, int maximum);
QLineEdit* Edit(QWidget* parent, const QString& name, int maxLength);

} // namespace pitwall::gui
