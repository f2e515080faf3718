// What assistive technology hears: every enabled control of every window
// has a name through the platform's accessibility interface, in both
// languages; the selection dialog's graphics boxes say team and column;
// every picture shown is named and says what it shows.
#include "GuiTestSupport.h"

#include "EditorRegistry.h"
#include "GP3Image.h"
#include "OptionsDialog.h"
#include "SelectionDialogWindow.h"
#include "ZoomView.h"
#include "teams/TeamsArea.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <functional>

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
// and lists the widgets shown that `lacks` finds wanting.
QStringList Wanting(QWidget* window, const std::function<bool(QWidget*)>& lacks)
{
    QStringList found;
    auto collect = [&] {
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->isVisible() && w->window() == window && lacks(w))
                found << window->objectName() + "/" + w->objectName() + " (" + w->metaObject()->className() + ")";
    };
    collect();
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            collect();
        }
    found.removeDuplicates();
    return found;
}

// The enabled controls shown without a name.
QStringList NamelessControls(QWidget* window)
{
    return Wanting(window, [](QWidget* w) { return IsControl(w) && w->isEnabled() && AccessibleName(w).isEmpty(); });
}

bool ShowsPicture(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return !label->pixmap().isNull();
    return qobject_cast<GP3Image*>(w) || qobject_cast<ZoomView*>(w);
}

QString AccessibleDescription(QWidget* w)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Description).trimmed() : QString();
}

// The pictures shown that assistive technology cannot tell about.
QStringList UndescribedPictures(QWidget* window)
{
    return Wanting(window, [](QWidget* w) {
        return ShowsPicture(w) && (AccessibleName(w).isEmpty() || AccessibleDescription(w).isEmpty());
    });
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void everyEnabledControlHasAName_data();
    void everyEnabledControlHasAName();
    void everyPictureIsDescribed_data() { everyEnabledControlHasAName_data(); }
    void everyPictureIsDescribed();
    void descriptionFollowsThePicture();
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

void AccessibilityTest::everyPictureIsDescribed()
{
    QFETCH(QString, ini);
    GuiProgram p(2, ini.toStdString());
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->show();
    p.window->findChild<QAction*>("Allesimportieren1")->trigger();
    QStringList undescribed;
    int pictures = 0;
    for (const EditorEntry& entry : Editors()) {
        if (!entry.enabled)
            continue;
        p.window->openEditor(entry.className);
        QCoreApplication::processEvents();
        QWidget* editor = p.window->currentEditor();
        undescribed << UndescribedPictures(editor);
        pictures += static_cast<int>(Wanting(editor, ShowsPicture).size());
    }
    QVERIFY2(pictures >= 10, qPrintable(QString::number(pictures) + " pictures found"));
    OnModal([&](QWidget* modal) {
        undescribed << UndescribedPictures(modal);
        modal->close();
        return false;
    });
    p.window->findChild<QAction*>("About1")->trigger();
    if (!undescribed.isEmpty())
        QFAIL(qPrintable("Pictures without a name or description:\n" + undescribed.join('\n')));
}

void AccessibilityTest::descriptionFollowsThePicture()
{
    // The livery shown for another team is described as that team's.
    for (const std::string& ini : {kEnglish, std::string("[General]\r\nLanguage=DEUTSCH.LNG\r\nFirstTime=0\r\n")}) {
        GuiProgram p(2, ini);
        p.program.settings.gameDirectory = p.path("game/");
        QVERIFY(p.window->firstActivation());
        p.window->show();
        p.window->findChild<QAction*>("Allesimportieren1")->trigger();
        p.window->openEditor("TForm15");
        QWidget* editor = p.window->currentEditor();
        auto* pages = editor->findChild<QTabWidget*>();
        QWidget* picture = Child<QWidget>(editor, "ListBox6Image");
        pages->setCurrentIndex(pages->indexOf(picture->parentWidget()));
        auto* teams = Child<QListWidget>(editor, "ListBox6");
        for (int row : {2, 5}) {
            teams->setCurrentRow(row);
            QCoreApplication::processEvents();
            const QString description = AccessibleDescription(picture);
            QVERIFY2(description.contains(teams->item(row)->text()), qPrintable(description));
            QVERIFY2(description.contains(pages->tabText(pages->currentIndex()).remove('&')), qPrintable(description));
        }
    }
}

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
