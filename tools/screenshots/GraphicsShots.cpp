// The seven pages of the 3D graphics editor, on a working set that holds
// every team graphic of the demo installation.

#include "GraphicsShots.h"

#include "AppContext.h"
#include "GraphicsEditor.h"
#include "MainWindow.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>

namespace pitwall::gui {

void SaveGraphicsShots(AppContext& app, MainWindow& window, const QString& out)
{
    auto& transfer = app.workingSet().transfer;
    transfer.selection = {};
    for (int item : {6, 10, 77, 102, 189, 190})
        transfer.selection[static_cast<std::size_t>(item)] = 1;
    for (int item = 11; item <= 76; ++item)
        transfer.selection[static_cast<std::size_t>(item)] = 1;
    for (int item = 178; item <= 188; ++item)
        transfer.selection[static_cast<std::size_t>(item)] = 1;
    TransferUi ui = app.transferUi();
    app.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);

    window.openEditor("TForm15");
    auto* editor = qobject_cast<GraphicsEditor*>(window.currentEditor());
    if (!editor)
        return;
    editor->restore();
    auto* pages = editor->findChild<QTabWidget*>("PageControl2");
    const char* names[] = {"cars", "cockpits", "jacks", "helmets", "pit-crew", "tyres", "flags"};
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        if (page == 0) {
            // The outline of the focused number field, at its blink.
            QFocusEvent focus(QEvent::FocusIn);
            QApplication::sendEvent(editor->findChild<QLineEdit*>("Edit1"), &focus);
            if (!editor->blinkOn())
                editor->blinkCarOutline();
        }
        if (page == 3)
            editor->findChild<QListWidget*>("ListBox5")->setCurrentRow(0);
        editor->show();
        QApplication::processEvents();
        editor->grab().save(out + "/graphics-" + names[page] + ".png");
    }
}

} // namespace pitwall::gui
