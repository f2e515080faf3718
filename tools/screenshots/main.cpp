// Renders the program's windows into PNG files for the documentation:
//   pitwall-screenshots OUTPUT_DIR
// (QT_SCALE_FACTOR=2 for 200 %, PITWALL_SCREENSHOT_LANGUAGE=DEUTSCH.LNG for German)
// Runs offscreen on a demo installation; no display is needed.

#include "AppContext.h"
#include "BackupWindow.h"
#include "CarsetInfoWindow.h"
#include "CockpitShots.h"
#include "DemoInstallation.h"
#include "EditorWindow.h"
#include "ExportConfirmDialog.h"
#include "GraphicsShots.h"
#include "MainWindow.h"
#include "MediaShots.h"
#include "OptionsDialog.h"
#include "RestoreWindow.h"
#include "SelectionDialogWindow.h"
#include "TextsShots.h"
#include "WorkshopsShots.h"
#include "app/GamePalette.h"
#include "app/Language.h"
#include "app/ProgramState.h"
#include "base/FileUtils.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <iostream>
#include <utility>

using namespace pitwall;
using namespace pitwall::gui;

namespace pitwall::gui {
void SaveTracksShots(AppContext& app, MainWindow& window, const QString& out);
}

namespace {

void Save(QWidget* w, const QString& file)
{
    w->show();
    QApplication::processEvents();
    QPixmap shot = w->grab();
    if (!shot.save(file))
        std::cerr << "cannot write " << file.toStdString() << '\n';
    w->hide();
}

// The main window with the editor below it, as the user sees them.
void SaveMainWithEditor(MainWindow& window, const QString& file)
{
    window.show();
    EditorWindow* editor = window.currentEditor();
    editor->show();
    QApplication::processEvents();
    QPixmap top = window.grab();
    QPixmap bottom = editor->grab();
    // Sizes in device pixels, drawing in logical ones: right at any scale.
    QPixmap both(std::max(top.width(), bottom.width()), top.height() + bottom.height());
    both.setDevicePixelRatio(top.devicePixelRatio());
    both.fill(Qt::white);
    QPainter p(&both);
    p.drawPixmap(0, 0, top);
    p.drawPixmap(QPointF(0, top.deviceIndependentSize().height()), bottom);
    p.end();
    both.save(file);
}

} // namespace

// Further windows, each in a file of its own.
namespace pitwall::gui {
void SaveMiscEditorShots(MainWindow& window, AppContext& app, const QString& out);
void SaveShellShots(AppContext& app, MainWindow& window, const QString& out);
void SaveEditingShots(AppContext& app, MainWindow& window, const QString& out);
void SaveLibraryShots(AppContext& app, MainWindow& window, const std::string& root, const QString& out);
} // namespace pitwall::gui

int main(int argc, char** argv)
{
    // Offscreen unless a platform is named (under Xvfb: QT_QPA_PLATFORM=xcb).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: pitwall-screenshots OUTPUT_DIR\n";
        return 2;
    }
    QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    QTemporaryDir root;
    // The user's folders inside the temporary one: the pictures show no
    // path of this machine's, and nothing lands in the real home.
    const std::pair<const char*, const char*> userFolders[] = {
        {"XDG_DATA_HOME", "/home/.local/share"}, {"XDG_CONFIG_HOME", "/home/.config"}, {"XDG_CACHE_HOME", "/home/.cache"}};
    for (const auto& [name, folder] : userFolders)
        qputenv(name, QByteArray::fromStdString(root.path().toStdString() + folder));
    std::string programDir = root.path().toStdString() + "/program/";
    ForceDirectories(programDir);
    std::string runtime = IncludeTrailingBackslash(QCoreApplication::applicationDirPath().toStdString()) + "../bin/";
    for (const char* f : {"ENGLISH.LNG", "DEUTSCH.LNG", "Standard.DAT", "GP3 Palette.pal", "Font.BMP", "HISTORYE.TXT"})
        CopyFileForced(runtime + f, programDir + f);
    std::string game = root.path().toStdString() + "/GP3/";
    demo::WriteDemoInstallation(game, {2, 1});

    ProgramState program;
    QtMessages startupMessages;
    StartProgram(program, programDir, startupMessages);
    program.settings.gameDirectory = game;
    // PITWALL_SCREENSHOT_LANGUAGE=DEUTSCH.LNG shoots every window in German.
    if (qEnvironmentVariableIsSet("PITWALL_SCREENSHOT_LANGUAGE")) {
        program.settings.languageFile = qEnvironmentVariable("PITWALL_SCREENSHOT_LANGUAGE").toStdString();
        LoadLanguage(program.directories.program, program.settings.languageFile, program.texts, startupMessages);
        // The language's index also chooses Qt's own texts (standard buttons).
        for (std::size_t i = 0; i < program.languageFiles.size(); ++i)
            if (EqualsIgnoreAsciiCase(FileNameOf(program.languageFiles[i]), FileNameOf(program.settings.languageFile)))
                program.languageIndex = static_cast<int>(i);
    }
    AppContext app(program);
    MainWindow window(app);
    window.firstActivation();

    // Teams imported, so the dialogs show a working set that holds something.
    app.workingSet().transfer.selection = {};
    app.workingSet().transfer.selection[1] = 1;
    TransferUi ui = app.transferUi();
    app.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    window.restoreCurrentEditor();

    SaveMainWithEditor(window, out + "/main-window.png");
    SaveEditingShots(app, window, out);
    SaveTextsShots(app, window, out);
    // Options with two installations in the list of game folders.
    const std::string second = root.path().toStdString() + "/Games/gp3-lutris/drive_c/GP3/";
    demo::WriteDemoInstallation(second, {1, 1});
    program.settings.gameDirectories = {game, second};
    // ... and the user's game palette chosen (here a copy of the stand-in's
    // colours in reverse, so that it is not the stand-in), then the stand-in
    // again for the pictures that follow.
    {
        Palette reversed;
        for (int i = 0; i < Palette::kSize; ++i)
            reversed.setColor(i, program.palette.color(Palette::kSize - 1 - i));
        const std::string paletteFile = root.path().toStdString() + "/GP3/gp3-colours.pal";
        const std::string text = FormatPalette(reversed);
        WriteWholeFile(paletteFile, std::vector<std::uint8_t>(text.begin(), text.end()));
        UsePaletteFile(program, paletteFile, startupMessages);
        window.applyLanguage();
        Save(app.optionsDialog, out + "/options.png");
        UsePaletteFile(program, "", startupMessages);
        window.applyLanguage();
    }

    SelectionDialogWindow& selection = *app.selectionDialog;
    selection.prepareImport(app.workingSet().transfer.loaded, false, program.gameVersion);
    selection.box(1)->setChecked(true);
    selection.box(13)->setChecked(true);
    selection.box(24)->setChecked(true);
    auto* tabs = selection.findChild<QTabWidget*>();
    const char* pages[] = {"selection-data.png", "selection-graphics.png", "selection-tracks.png"};
    for (int i = 0; i < 3; ++i) {
        tabs->setCurrentIndex(i);
        Save(&selection, out + "/" + pages[i]);
    }

    CarsetInfoWindow info(app, app.workingSet().carsetInfo);
    Save(&info, out + "/carset-information.png");

    BackupWindow backup(app);
    backup.show();
    backup.list()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    backup.list()->topLevelItem(1)->setCheckState(0, Qt::Checked);
    Save(&backup, out + "/backup.png");

    // Two exports of changed teams: the confirmation of the second with its
    // details open, and the restore points both leave.
    program.restorePointRoot = root.path().toStdString() + "/restore-points/";
    for (int run = 0; run < 2; ++run) {
        TeamRecord& team = app.workingSet().teams.teams[static_cast<std::size_t>(run)];
        team.tqp ^= 0x100;
        team.name.assign("Pitwall Racing");
        team.drivers[0].carNumber = static_cast<std::uint8_t>(90 + run);
        app.workingSet().transfer.selection = app.workingSet().transfer.loaded;
        PreparedExport prepared;
        app.engine().prepareExport(ItemChoice::AsSelected, ui, prepared);
        if (run == 1) {
            ExportConfirmDialog confirm(program.texts, prepared.changes());
            confirm.toggleDetails();
            Save(&confirm, out + "/export-confirmation.png");
        }
        app.engine().commitExport(prepared, ui);
    }
    SaveLibraryShots(app, window, root.path().toStdString(), out);
    RestoreWindow restore(app);
    // Wide enough for the operations' words.
    restore.resize(800, 300);
    Save(&restore, out + "/restore.png");
    SaveShellShots(app, window, out);
    SaveCockpitShots(app, window, out);
    SaveMiscEditorShots(window, app, out);
    SaveWorkshopsShots(window, game, out);
    SaveMediaShots(window, app, out);
    SaveTracksShots(app, window, out);
    SaveGraphicsShots(app, window, out);
    app.shutdown();
    return 0;
}
