#include "AccessibleNames.h"

#include "ControlCaption.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <QWidget>

namespace pitwall::gui {

namespace {

constexpr const char* kAutoName = "pitwallAutoAccessibleName";

bool IsControl(const QWidget* w)
{
    // The scroll bars of a scrolling view and a table's header speak as part
    // of their view.
    if (qobject_cast<const QHeaderView*>(w)
        || (w->parentWidget() && w->parentWidget()->objectName().startsWith("qt_scrollarea")))
        return false;
    // A spin box's or combo box's own line edit is spoken for by its owner.
    if (qobject_cast<const QLineEdit*>(w)
        && (qobject_cast<const QAbstractSpinBox*>(w->parentWidget()) || qobject_cast<const QComboBox*>(w->parentWidget())))
        return false;
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractSlider*>(w)
        || qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w)
        || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractItemView*>(w);
}

QString NameQtGives(QWidget* w)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

} // namespace

void NameControls(QWidget* root)
{
    if (!root)
        return;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!IsControl(w))
            continue;
        const bool ours = w->property(kAutoName).toBool();
        if (!ours && !w->accessibleName().isEmpty())
            continue; // the window named it itself
        if (ours)
            w->setAccessibleName(QString());
        if (!ours && !NameQtGives(w).isEmpty())
            continue; // its caption or buddy label names it already
        const QString caption = ControlCaption(w);
        if (caption.isEmpty())
            continue;
        w->setAccessibleName(caption);
        w->setProperty(kAutoName, true);
    }
}

bool NamesControlsWhenShown(const QWidget* widget)
{
    return widget->isWindow() || qobject_cast<const QStackedWidget*>(widget->parentWidget());
}

} // namespace pitwall::gui
