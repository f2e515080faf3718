// Screenshots of the tracks editor: its ten pages after an import of every
// track item (the picture page with the section markers), and TForm26.

#include "AppContext.h"
#include "DirectoryMaskChooser.h"
#include "EditorWindow.h"
#include "MainWindow.h"
#include "app/Language.h"
#include "tracks/TracksArea.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

#include <iostream>

namespace pitwall::gui {

namespace {

// The ten pages and TForm26 in the language loaded now; `suffix` tells the
// languages' files apart.
void SaveTracksPages(AppContext& app, EditorWindow* editor, const QString& out, const QString& suffix)
{
    auto* pages = editor->findChild<QTabWidget*>("PageControl1");
    // Wide enough for every page's full title, as on a screen with room for
    // them (the tab rectangles are the shortened titles once it is shown).
    editor->resize(std::max(1180, pages->tabBar()->sizeHint().width() + 330), 660);
    const char* names[] = {"records",        "track-data", "pit-stops", "track-information", "track-pictures",
                           "computer-setup", "bumps",      "gp3info",   "track-sections",    "track-texts"};
    for (int p = 0; p < pages->count(); ++p) {
        pages->setCurrentIndex(p);
        QApplication::processEvents();
        if (!editor->grab().save(out + "/tracks-" + names[p] + suffix + ".png"))
            std::cerr << "cannot write the tracks screenshots\n";
    }
    DirectoryMaskChooser chooser(app.program.texts, editor);
    chooser.setDirectory(QString::fromStdString(app.program.settings.gameDirectory));
    chooser.setMask("Track12-*.BMP");
    chooser.show();
    QApplication::processEvents();
    chooser.grab().save(out + "/tracks-picture-sequence" + suffix + ".png");
    chooser.hide();
}

} // namespace

void SaveTracksShots(AppContext& app, MainWindow& window, const QString& out)
{
    window.openEditor("TForm13");
    EditorWindow* editor = window.currentEditor();
    if (!editor)
        return;
    editor->findChild<QPushButton*>("Button2")->click(); // "Alles importieren"
    editor->findChild<QListWidget*>("ListBox2")->setCurrentRow(12);
    editor->findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    editor->show();
    SaveTracksPages(app, editor, out, "");

    // Once more in German, whose captions are the longer ones; then back.
    const std::string chosen = app.program.languageFiles.at(static_cast<std::size_t>(app.program.languageIndex));
    for (const std::string& language : {std::string("DEUTSCH.LNG"), chosen}) {
        LoadLanguage(app.program.directories.program, language, app.program.texts, app.messages);
        window.applyLanguage();
        window.restoreCurrentEditor();
        if (language != chosen)
            SaveTracksPages(app, editor, out, "-de");
    }
}

} // namespace pitwall::gui
