// The texts editor and the career window, in English and in German.

#include "TextsShots.h"

#include "AppContext.h"
#include "CareerWindow.h"
#include "EditorWindow.h"
#include "MainWindow.h"
#include "TextsEditor.h"
#include "app/Language.h"
#include "texts/LanguagesArea.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <iostream>

namespace pitwall::gui {

namespace {

void Grab(QWidget* w, const QString& file)
{
    w->show();
    QApplication::processEvents();
    if (!w->grab().save(file))
        std::cerr << "cannot write " << file.toStdString() << '\n';
}

} // namespace

void SaveTextsShots(AppContext& app, MainWindow& window, const QString& out)
{
    app.workingSet().transfer.selection = {};
    SelectAllLanguages(app.workingSet().transfer.selection, app.program.gameVersion);
    TransferUi ui = app.transferUi();
    app.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);

    const std::pair<const char*, const char*> languages[] = {{"ENGLISH.LNG", "en"}, {"DEUTSCH.LNG", "de"}};
    for (const auto& [file, tag] : languages) {
        QtMessages quiet;
        LoadLanguage(app.program.directories.program, file, app.program.texts, quiet);

        window.openEditor("TForm14");
        window.applyLanguage();
        auto* texts = qobject_cast<TextsEditor*>(window.currentEditor());
        if (!texts)
            return;
        texts->findChild<QListWidget*>("ListBox4")->setCurrentRow(tag == std::string("de") ? 0 : 1);
        texts->findChild<QPushButton*>("BitBtn10")->click();
        texts->resize(900, 560);
        Grab(texts, out + "/texts-" + tag + ".png");

        window.openEditor("TForm25");
        window.applyLanguage();
        auto* career = qobject_cast<CareerWindow*>(window.currentEditor());
        if (!career)
            return;
        career->importSeasonReport();
        career->resize(900, 560);
        Grab(career, out + "/career-" + tag + ".png");
    }
    QtMessages quiet;
    LoadLanguage(app.program.directories.program, app.program.settings.languageFile, app.program.texts, quiet);
    window.openEditor("TForm12");
    window.applyLanguage();
}

} // namespace pitwall::gui
