#include "LanguageTable.h"

#include "Mnemonics.h"
#include "QtMessages.h"
#include "base/UITexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QWidget>

namespace pitwall::gui {

namespace {

QObject* Find(QObject* window, const char* name)
{
    if (!name || !*name || window->objectName() == name)
        return window;
    return window->findChild<QObject*>(name);
}

void SetCaption(QObject* o, const QString& text)
{
    if (auto* action = qobject_cast<QAction*>(o))
        action->setText(text);
    else if (auto* menu = qobject_cast<QMenu*>(o))
        menu->setTitle(text);
    else if (auto* label = qobject_cast<QLabel*>(o))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(o))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(o))
        group->setTitle(text);
    else if (auto* bar = qobject_cast<QToolBar*>(o))
        bar->setWindowTitle(text); // the name of its show-and-hide entry
    else if (auto* widget = qobject_cast<QWidget*>(o); widget && widget->isWindow())
        widget->setWindowTitle(text);
}

void SetTabTitle(QObject* o, const QString& text)
{
    auto* page = qobject_cast<QWidget*>(o);
    if (!page)
        return;
    for (QWidget* p = page->parentWidget(); p; p = p->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(p)) {
            int index = tabs->indexOf(page);
            if (index < 0)
                return;
            tabs->setTabText(index, text);
            // Where titles are shortened to fit ("Strecken..."), pointing at
            // a tab tells its whole title.
            if (tabs->elideMode() != Qt::ElideNone)
                tabs->setTabToolTip(index, WithoutMnemonic(text));
            return;
        }
}

} // namespace

void ApplyTexts(QObject* window, std::span<const TextBinding> table, const UITexts& texts)
{
    for (const TextBinding& b : table) {
        QObject* o = Find(window, b.objectName);
        if (!o)
            continue;
        QString text = FromGameText(texts.text(b.text));
        switch (b.role) {
        case TextRole::Caption:
            SetCaption(o, text);
            break;
        case TextRole::Hint:
            if (auto* w = qobject_cast<QWidget*>(o))
                w->setToolTip(text);
            else if (auto* a = qobject_cast<QAction*>(o))
                a->setToolTip(text);
            break;
        case TextRole::TabTitle:
            SetTabTitle(o, text);
            break;
        case TextRole::Item:
            if (auto* combo = qobject_cast<QComboBox*>(o); combo && b.index < combo->count())
                combo->setItemText(b.index, text);
            else if (auto* list = qobject_cast<QListWidget*>(o); list && b.index < list->count())
                list->item(b.index)->setText(text);
            break;
        case TextRole::Column:
            if (auto* tree = qobject_cast<QTreeWidget*>(o); tree && b.index < tree->columnCount())
                tree->headerItem()->setText(b.index, text);
            else if (auto* table = qobject_cast<QTableWidget*>(o); table && b.index < table->columnCount()) {
                if (auto* item = table->horizontalHeaderItem(b.index))
                    item->setText(text);
                else
                    table->setHorizontalHeaderItem(b.index, new QTableWidgetItem(text));
            }
            break;
        }
    }
}

} // namespace pitwall::gui
