#include "ControlCaption.h"

#include "Mnemonics.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWidget>

#include <limits>

namespace pitwall::gui {

namespace {

QString Cleaned(QString text)
{
    text = WithoutMnemonic(text).replace('|', ' ').replace('\n', ' ').simplified();
    while (text.endsWith(':') || text.endsWith('.'))
        text.chop(1);
    return text.trimmed();
}

// The label whose buddy the control is, or the nearest label on its left
// in the same row of the same parent (the forms' usual "Label  [field]").
const QLabel* LabelBeside(const QWidget* control)
{
    const QWidget* parent = control->parentWidget();
    if (!parent)
        return nullptr;
    for (const QLabel* label : control->window()->findChildren<QLabel*>())
        if (label->buddy() == control)
            return label;
    const QRect own = control->geometry();
    if (own.isEmpty())
        return nullptr; // not laid out yet
    const QLabel* left = nullptr;
    const QLabel* above = nullptr;
    int leftDistance = std::numeric_limits<int>::max();
    int aboveDistance = std::numeric_limits<int>::max();
    for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const QRect r = label->geometry();
        if (label->text().isEmpty() || label->isHidden())
            continue;
        const bool sameRow = r.bottom() >= own.top() && r.top() <= own.bottom();
        const bool sameColumn = r.right() >= own.left() && r.left() <= own.right();
        if (sameRow && r.right() <= own.left() + 2 && own.left() - r.right() < leftDistance) {
            leftDistance = own.left() - r.right();
            left = label;
        } else if (sameColumn && r.bottom() <= own.top() + 2 && own.top() - r.bottom() < aboveDistance) {
            aboveDistance = own.top() - r.bottom();
            above = label;
        }
    }
    // A label right beside the field names it; one far to the left belongs
    // to something else more often than the caption just above.
    if (left && (leftDistance <= 120 || !above))
        return left;
    return above;
}

} // namespace

QString ControlCaption(const QWidget* control)
{
    if (!control)
        return {};
    if (auto* button = qobject_cast<const QAbstractButton*>(control); button && !Cleaned(button->text()).isEmpty())
        return Cleaned(button->text());
    if (!control->accessibleName().isEmpty() && !control->property("pitwallAutoAccessibleName").toBool())
        return Cleaned(control->accessibleName());
    // A spin box's line edit speaks for the spin box.
    if (auto* spin = qobject_cast<const QAbstractSpinBox*>(control->parentWidget()))
        return ControlCaption(spin);
    if (const QLabel* label = LabelBeside(control); label && !Cleaned(label->text()).isEmpty())
        return Cleaned(label->text());
    for (const QWidget* up = control->parentWidget(); up && !up->isWindow(); up = up->parentWidget())
        if (auto* group = qobject_cast<const QGroupBox*>(up); group && !Cleaned(group->title()).isEmpty())
            return Cleaned(group->title());
    if (!control->toolTip().isEmpty())
        return Cleaned(control->toolTip());
    // A table says what its columns are.
    if (auto* tree = qobject_cast<const QTreeWidget*>(control); tree && tree->headerItem()) {
        QStringList columns;
        for (int c = 0; c < tree->columnCount(); ++c)
            if (!tree->isColumnHidden(c) && !tree->headerItem()->text(c).isEmpty())
                columns << Cleaned(tree->headerItem()->text(c));
        if (!columns.isEmpty())
            return columns.join(", ");
    }
    // A list alone on a page is the page's list: its tab's title.
    for (const QWidget* up = control; up && !up->isWindow(); up = up->parentWidget())
        if (auto* stack = qobject_cast<const QStackedWidget*>(up->parentWidget()))
            if (auto* tabs = qobject_cast<const QTabWidget*>(stack->parentWidget()))
                if (const int page = tabs->indexOf(const_cast<QWidget*>(up)); page >= 0)
                    return Cleaned(tabs->tabText(page));
    return {};
}

} // namespace pitwall::gui
