// What assistive technology hears: every enabled control of every window
// has a name through the platform's accessibility interface, in both
// languages; the selection dialog's graphics boxes say team and column.
#include "GuiTestSupport.h"

#include "EditorRegistry.h"
#include "OptionsDialog.h"
#include "SelectionDialogWindow.h"
#include "teams/TeamsArea.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {

QString AccessibleName(QWidget* w)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

bool IsControl(QWidget* w)
{
    // The scroll bars of a scrolling view and a table's header speak as part
    // of their view.
    if (qobject_cast<QHeaderView*>(w) || (w->parentWidget() && w->parentWidget()->objectName().startsWith("qt_scrollarea")))
        return false;
    if (qobject_cast<QLineEdit*>(w)
        && (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) || qobject_cast<QComboBox*>(w->parentWidget())))
        return false;
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSlider*>(w) || qobject_cast<QAbstractSpinBox*>(w)
        || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractItemView*>(w);
}

// Brings every page of every tab control of the window to the front once
// and lists the enabled controls shown without a name.
QStringList NamelessControls(QWidget* window)
{
    QStringList nameless;
    auto collect = [&] {
        for (QWidget* w : window->findChildren<QWidget*>())
            if (IsControl(w) && w->isVisible() && w->isEnabled() && w->window() == window && AccessibleName(w).isEmpty())
                nameless << window->objectName() + "/" + w->objectName() + " (" + w->metaObject()->className() + ")";
    };
    collect();
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            collect();
        }
    nameless.removeDuplicates();
    return nameless;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void everyEnabledControlHasAName_data();
    void everyEnabledControlHasAName();
};

void AccessibilityTest::everyEnabledControlHasAName_data()
{
    QTest::addColumn<QString>("ini");
    QTest::newRow("English") << QString::fromStdString(kEnglish);
    QTest::newRow("German") << QString("[General]\r\nLanguage=DEUTSCH.LNG\r\nFirstTime=0\r\n");
}

void AccessibilityTest::everyEnabledControlHasAName()
{
    QFETCH(QString, ini);
    GuiProgram p(2, ini.toStdString());
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->show();
    p.window->findChild<QAction*>("Allesimportieren1")->trigger(); // enabled as a user sees them
    QStringList nameless = NamelessControls(p.window.get());
    for (const EditorEntry& entry : Editors()) {
        if (!entry.enabled)
            continue;
        p.window->openEditor(entry.className);
        QCoreApplication::processEvents();
        nameless << NamelessControls(p.window->currentEditor());
    }
    SelectionDialogWindow& selection = *p.app->selectionDialog;
    selection.prepareExport(p.app->workingSet().transfer.loaded, false);
    selection.show();
    nameless << NamelessControls(&selection);
    // The team boxes say which team and which graphic.
    const QString teamName = FromGameText(p.app->workingSet().teams.teams[2].name.text());
    QVERIFY2(AccessibleName(selection.box(kCarSoftFirst + 2)).contains(teamName),
             qPrintable(AccessibleName(selection.box(kCarSoftFirst + 2))));
    selection.hide();
    OptionsDialog& options = *p.app->optionsDialog;
    options.show();
    nameless << NamelessControls(&options);
    options.hide();
    if (!nameless.isEmpty())
        QFAIL(qPrintable("Controls without an accessible name:\n" + nameless.join('\n')));
}

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
