// Screenshots of the tracks editor: its ten pages after an import of every
// track item (the picture page with the section markers), and TForm26.

#include "AppContext.h"
#include "DirectoryMaskChooser.h"
#include "EditorWindow.h"
#include "MainWindow.h"
#include "tracks/TracksArea.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include <iostream>

namespace pitwall::gui {

void SaveTracksShots(AppContext& app, MainWindow& window, const QString& out)
{
    window.OpenEditor("TForm13");
    EditorWindow* editor = window.currentEditor();
    if (!editor)
        return;
    editor->findChild<QPushButton*>("Button2")->click(); // "Alles importieren"
    editor->findChild<QListWidget*>("ListBox2")->setCurrentRow(12);
    editor->findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    auto* pages = editor->findChild<QTabWidget*>("PageControl1");
    const char* names[] = {"records", "track-data", "pit-stops", "track-information", "track-pictures",
                           "computer-setup", "bumps", "gp3info", "track-sections", "track-texts"};
    editor->resize(980, 640);
    editor->show();
    for (int p = 0; p < pages->count(); ++p) {
        pages->setCurrentIndex(p);
        QApplication::processEvents();
        if (!editor->grab().save(out + "/tracks-" + names[p] + ".png"))
            std::cerr << "cannot write the tracks screenshots\n";
    }
    DirectoryMaskChooser chooser(app.program.texts, editor);
    chooser.setDirectory(QString::fromStdString(app.program.settings.gameDirectory));
    chooser.setMask("Track12-*.BMP");
    chooser.show();
    QApplication::processEvents();
    chooser.grab().save(out + "/tracks-picture-sequence.png");
    chooser.hide();
}

} // namespace pitwall::gui
