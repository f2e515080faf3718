// The cockpit editor's four pages, over the demo installation's cockpit,
// the LCD page on a screen with a text, a placeholder and a highlight.

#include "CockpitShots.h"

#include "AppContext.h"
#include "CockpitEditor.h"
#include "MainWindow.h"
#include "cockpit/CockpitData.h"

#include <QApplication>
#include <QListWidget>
#include <QTabWidget>

namespace pitwall::gui {

void SaveCockpitShots(AppContext& app, MainWindow& window, const QString& out)
{
    app.workingSet().transfer.selection = {};
    for (int item : {kCockpitSoftwareItem, kCockpitHardwareItem, kCockpitObjectsItem, kLcdTextsItem, LcdDisplayItem(1)})
        app.workingSet().transfer.selection[static_cast<std::size_t>(item)] = 1;
    TransferUi ui = app.transferUi();
    app.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);

    // A screen with a text, a placeholder and a highlight side by side.
    LcdScreen& screen = app.workingSet().cockpit.displays[1].screens[static_cast<std::size_t>(
        LcdScreenIndex("JACKED_UP_TYRE_CHOICE_TEXT"))];
    for (LcdElement& e : screen)
        e = LcdElement{};
    screen[0].setType(LcdType::Text);
    screen[0].setText("TYRES");
    screen[0][1] = 1;
    screen[0][3] = 0;
    screen[1].setType(LcdType::Placeholder);
    screen[1][LcdElement::kIndex] = 8;
    screen[1].setText("lcdp_TYRE_LAPS_DONE");
    screen[1][1] = 13;
    screen[1][3] = 0;
    screen[2].setType(LcdType::Text);
    screen[2].setText("A  B  C  D");
    screen[2][1] = 1;
    screen[2][3] = 2;
    screen[3].setType(LcdType::Highlight);
    screen[3][LcdElement::kIndex] = 6; // row 20
    screen[3][1] = 0;
    screen[3][3] = 2;
    screen[3].setText("HLIGHT_PREFERENCES");

    app.editorStates.cockpit.language = 1;
    app.editorStates.cockpit.screen = 0;
    app.editorStates.cockpit.element = 0;
    app.editorStates.cockpit.object = 32;
    window.openEditor("TForm16");
    auto* editor = qobject_cast<CockpitEditor*>(window.currentEditor());
    if (!editor)
        return;
    auto* pages = editor->findChild<QTabWidget*>("PageControl6");
    const char* files[] = {"cockpit-graphics.png", "cockpit-objects.png", "cockpit-lcd-texts.png",
                           "cockpit-lcd-display.png"};
    editor->resize(editor->sizeHint().expandedTo(QSize(900, 600)));
    for (int page = 0; page < CockpitEditor::kPageCount; ++page) {
        pages->setCurrentIndex(page);
        editor->show();
        QApplication::processEvents();
        editor->grab().save(out + "/" + files[page]);
    }
    editor->hide();
}

} // namespace pitwall::gui
