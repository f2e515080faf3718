// The main window's tool bar, the scrolling text in the editors' status bar,
// and the message after an export.

#include "GuiTestSupport.h"

#include "EditorRegistry.h"
#include "EditorStatusBar.h"
#include "OptionsDialog.h"
#include "SelectionDialogWindow.h"
#include "TracksEditor.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Child;
using pitwall::gui::test::Click;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::kEnglish;
using pitwall::gui::test::OnModal;
using pitwall::gui::test::ToolButtonOf;

namespace {

QLabel* MarqueePanel(GuiProgram& p)
{
    return StatusPanel(Child<QStatusBar>(p.window->currentEditor(), "StatusBar1"), 1);
}

// Changes the slot's grip so that an export has something to write.
void EditGrip(QWidget* editor)
{
    auto* grip = Child<QSpinBox>(editor, "SpinEdit1");
    grip->setValue(grip->value() == 1000 ? 1001 : 1000);
}

} // namespace

class MainWindowBarsTest : public QObject {
    Q_OBJECT
private slots:
    void toolButtonsRunTheirCommandsAndNameThem();
    void longStatusTextScrollsAndShortStaysPut();
    void exportFinishedIsSaidOnlyWhenWantedAndDone();
};

void MainWindowBarsTest::toolButtonsRunTheirCommandsAndNameThem()
{
    GuiProgram p(2, kEnglish);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    // Every editor's button opens that editor.
    for (const EditorEntry& e : Editors()) {
        if (!e.enabled)
            continue;
        QToolButton* b = ToolButtonOf(p, e.menuAction);
        QVERIFY2(b, e.menuAction);
        QVERIFY(b->isEnabled());
        b->click();
        QCOMPARE(p.window->currentEditor()->objectName(), QString(e.className));
        // The hint is the command's caption in the language chosen, not
        // the German caption the button was built with.
        QCOMPARE(b->toolTip(), FromGameText(p.program.texts.text(e.captionText)));
    }
    QCOMPARE(ToolButtonOf(p, "Strecken1")->toolTip(), QString("Tracks"));

    // The import button runs "Importieren" with its dialog; its drop-down
    // offers both imports.
    QToolButton* import = ToolButtonOf(p, "MenuItem1");
    QVERIFY(import && import->menu());
    QCOMPARE(import->menu()->actions().size(), qsizetype(2));
    QCOMPARE(import->menu()->actions()[1]->text(), FromGameText(p.program.texts.text(1107)));
    bool asked = false;
    OnModal([&](QWidget* modal) {
        auto* d = qobject_cast<SelectionDialogWindow*>(modal);
        if (!d)
            return true;
        asked = true;
        d->reject();
        return false;
    });
    import->click();
    QVERIFY(asked);
    QVERIFY(!p.app->workingSet().transfer.isLoaded(1));
}

void MainWindowBarsTest::longStatusTextScrollsAndShortStaysPut()
{
    GuiProgram p(2, kEnglish);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    const std::vector<std::string> texts = p.program.texts.all();

    // A text narrower than the scrolling width stays as it is.
    p.program.texts.assign(texts, "ABC");
    p.window->openEditor("TForm13");
    QCOMPARE(MarqueePanel(p)->text(), QString("ABC"));
    for (int step = 0; step < 3; ++step)
        p.window->scrollMarquee();
    QCOMPARE(MarqueePanel(p)->text(), QString("ABC"));

    // A long one moves on by one character a step and starts again after
    // " *** ", in whichever editor is open.
    const QString marquee = "Pitwall edits the teams, tracks, texts, sounds and graphics of Grand Prix 3, "
                            "one editor at a time";
    p.program.texts.assign(texts, marquee.toStdString());
    p.window->openEditor("TForm14");
    QLabel* panel = MarqueePanel(p);
    QCOMPARE(panel->text(), marquee);
    const QFontMetrics metrics(panel->font());
    p.window->scrollMarquee();
    const QString first = panel->text();
    const qsizetype start = marquee.indexOf(first.left(12));
    QVERIFY2(start > 0, qPrintable(first));
    QVERIFY(metrics.horizontalAdvance(first) >= 250);
    QVERIFY(metrics.horizontalAdvance(first.chopped(1)) < 250);
    p.window->scrollMarquee();
    QCOMPARE(panel->text().left(12), marquee.mid(start + 1, 12));
    bool wrapped = false;
    for (qsizetype step = 0; step < marquee.size() && !wrapped; ++step) {
        p.window->scrollMarquee();
        const qsizetype stars = panel->text().indexOf(" *** ");
        if (stars >= 0) {
            wrapped = true;
            QVERIFY(marquee.startsWith(panel->text().mid(stars + 5)));
            QVERIFY(marquee.endsWith(panel->text().left(stars)));
        }
    }
    QVERIFY(wrapped);
    p.window->openEditor("TForm13");
    p.window->scrollMarquee();
    QVERIFY(MarqueePanel(p)->text() != marquee);
    QVERIFY(metrics.horizontalAdvance(MarqueePanel(p)->text()) >= 250);
}

void MainWindowBarsTest::exportFinishedIsSaidOnlyWhenWantedAndDone()
{
    GuiProgram p(2, kEnglish + "ShowExportOK=1\r\n");
    QVERIFY(p.program.settings.showExportOK);
    auto* editor = pitwall::gui::test::openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    Click(editor, "Button2");
    EditGrip(editor);
    p.messages.clear();
    Click(editor, "Button15"); // "Exportieren"
    QCOMPARE(p.numbers(), std::vector<int>{753});

    // Turned off in the options dialog: nothing is said.
    OptionsDialog* options = p.app->optionsDialog;
    options->show();
    Child<QCheckBox>(options, "CheckBox1")->click();
    options->hide();
    QVERIFY(!p.program.settings.showExportOK);
    EditGrip(editor);
    p.messages.clear();
    Click(editor, "Button15");
    QVERIFY(p.numbers().empty());

    // Wanted again, but the export cannot run: no success is claimed.
    options->show();
    Child<QCheckBox>(options, "CheckBox1")->click();
    options->hide();
    QVERIFY(p.program.settings.showExportOK);
    QVERIFY(QFile::remove(QString::fromStdString(p.path("game/F1GSTATE.SAV"))));
    EditGrip(editor);
    p.messages.clear();
    Click(editor, "Button15");
    QCOMPARE(p.numbers(), std::vector<int>{349});
}

QTEST_MAIN(MainWindowBarsTest)
#include "MainWindowBarsTest.moc"
