// The six pages of the misc editor, with the settings of the demo
// installation imported and one car part highlighted on the damage page.

#include "AppContext.h"
#include "EditorWindow.h"
#include "MainWindow.h"

#include <QApplication>
#include <QEvent>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>

#include <iostream>

namespace pitwall::gui {

void SaveMiscEditorShots(MainWindow& window, AppContext& app, const QString& out)
{
    window.openEditor("TForm18");
    EditorWindow* editor = window.currentEditor();
    auto* pages = editor ? editor->findChild<QTabWidget*>("PageControl1") : nullptr;
    if (!pages) {
        std::cerr << "the misc editor did not open\n";
        return;
    }
    app.workingSet().transfer.selection = {};
    for (int item : {2, 3, 4, 103, 119, 120})
        app.workingSet().transfer.selection[static_cast<std::size_t>(item)] = 1;
    TransferUi ui = app.transferUi();
    app.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    window.restoreCurrentEditor();

    editor->show();
    if (auto* cameras = editor->findChild<QListWidget*>("ListBox1"))
        cameras->setCurrentRow(2);
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        if (page == 2)
            if (auto* field = editor->findChild<QSpinBox*>("PartEdit10")) {
                QEvent enter(QEvent::Enter);
                QApplication::sendEvent(field, &enter);
            }
        QApplication::processEvents();
        QString file = out + QString("/misc-page-%1.png").arg(page + 1);
        if (!editor->grab().save(file))
            std::cerr << "cannot write " << file.toStdString() << '\n';
    }
}

} // namespace pitwall::gui
