// Windows on a small screen: this program runs on a virtual 1280 x 800
// screen (the offscreen platform's screen file), in both languages.
#include "GuiTestSupport.h"

#include "EditorRegistry.h"
#include "EditorWindow.h"
#include "Mnemonics.h"
#include "ScreenPlacement.h"
#include "SimulationWindow.h"
#include "SmallScreen.h"

#include <QScreen>
#include <QTabBar>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

class WindowPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void framesAreMovedOntoTheArea();
    void everyEditorFitsBelowAnUngrownMainWindow();
    void simulationOpensOnScreen();
};

void WindowPlacementTest::framesAreMovedOntoTheArea()
{
    const QRect area(0, 0, 1280, 770);
    QCOMPARE(MovedOntoScreen(QRect(100, 100, 400, 300), area), QRect(100, 100, 400, 300)); // fits: stays
    QCOMPARE(MovedOntoScreen(QRect(1378, 150, 400, 300), area), QRect(880, 150, 400, 300)); // off the right
    QCOMPARE(MovedOntoScreen(QRect(100, 600, 400, 300), area), QRect(100, 470, 400, 300));  // off the bottom
    QCOMPARE(MovedOntoScreen(QRect(-50, -20, 400, 300), area), QRect(0, 0, 400, 300));
    // Larger than the area: the title bar's corner stays on the screen.
    QCOMPARE(MovedOntoScreen(QRect(200, 300, 1400, 900), area), QRect(0, 0, 1400, 900));
    // A second screen to the right keeps its own coordinates.
    QCOMPARE(MovedOntoScreen(QRect(2500, 0, 400, 300), QRect(1280, 0, 1024, 768)), QRect(1904, 0, 400, 300));
}

void WindowPlacementTest::everyEditorFitsBelowAnUngrownMainWindow()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(screen.size(), QSize(1280, 800));
    for (const std::string& ini : {kEnglish, std::string("[General]\r\nLanguage=DEUTSCH.LNG\r\nFirstTime=0\r\n")}) {
        GuiProgram p(2, ini);
        p.program.settings.gameDirectory = p.path("game/");
        QVERIFY(p.window->firstActivation());
        p.window->show();
        const int mainWidth = p.window->frameGeometry().width();
        for (const EditorEntry& entry : Editors()) {
            if (!entry.enabled)
                continue;
            p.window->openEditor(entry.className);
            QWidget* editor = p.window->currentEditor();
            QVERIFY2(editor && editor->objectName() == entry.className, entry.className);
            const QSize opened = editor->size();
            QCoreApplication::processEvents();
            const QString where = QString("%1 in %2").arg(entry.className, QString::fromStdString(ini.substr(ini.find("Language=") + 9, 7)));
            auto text = [](const QRect& r) { return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); };
            // Placed and painted at its final size: it does not grow once
            // the event loop runs (and so cannot grow off the screen).
            QVERIFY2(editor->size() == opened, qPrintable(where + QString(" opened %1 wide, then grew to %2").arg(opened.width()).arg(editor->width())));
            QVERIFY2(screen.contains(editor->frameGeometry()),
                     qPrintable(where + " lies off the screen at " + text(editor->frameGeometry())));
            QVERIFY2(screen.contains(p.window->frameGeometry()), qPrintable(where + ": main window off the screen"));
            QCOMPARE(p.window->frameGeometry().width(), mainWidth); // never grown by an editor
            QVERIFY2(editor->frameGeometry().top() >= p.window->frameGeometry().bottom(),
                     qPrintable(where + " covers the main window"));
            // Every page of every tab control is in view, none behind scroll
            // arrows; a title shortened to fit is whole in the tab's tooltip.
            for (QTabBar* bar : editor->findChildren<QTabBar*>())
                for (int i = 0; bar->isVisible() && i < bar->count(); ++i) {
                    QVERIFY2(bar->rect().contains(bar->tabRect(i)),
                             qPrintable(where + ": tab " + bar->tabText(i) + " out of view"));
                    if (bar->tabRect(i).width() < bar->fontMetrics().horizontalAdvance(bar->tabText(i)))
                        QVERIFY2(bar->tabToolTip(i) == WithoutMnemonic(bar->tabText(i)),
                                 qPrintable(where + ": tab " + bar->tabText(i) + " shortened without a tooltip"));
                }
        }
    }
}

void WindowPlacementTest::simulationOpensOnScreen()
{
    GuiProgram p(2, kEnglish);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->show();
    p.app->workingSet().transfer.loaded[1] = 1;
    p.window->currentEditor()->restore();
    Click(p.window->currentEditor(), "Button53"); // "Simulate qualifying"
    auto* simulation = p.window->findChild<SimulationWindow*>("TForm2");
    QVERIFY(simulation && simulation->isVisible());
    const QRect at = simulation->frameGeometry();
    QVERIFY2(QGuiApplication::primaryScreen()->availableGeometry().contains(at),
             qPrintable(QString("%1,%2 %3x%4").arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height())));
}

int main(int argc, char** argv) { return RunOnSmallScreen<WindowPlacementTest>(argc, argv); }

#include "WindowPlacementTest.moc"
