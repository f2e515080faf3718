#include "WidgetHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace pitwall::gui {

QLabel* Label(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption, int uiText)
{
    QPushButton* button = Button(parent, name, caption);
    button->setProperty("uiText", uiText);
    return button;
}

QSpinBox* Spin(QWidget* parent, const QString& name, int minimum, int maximum)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    return spin;
}

QSpinBox* NumberField(QWidget* parent, const QString& name, int minimum, int maximum)
{
    QSpinBox* spin = Spin(parent, name, minimum, maximum);
    spin->setMinimumWidth(80);
    return spin;
}

QLineEdit* Edit(QWidget* parent, const QString& name, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace pitwall::gui
