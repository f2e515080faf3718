// The carset library with three demo carsets and their pictures, after two
// of them were applied, a settings change and the undo of the second apply,
// so that the history and the restore points that follow show each kind.

#include "AppContext.h"
#include "LibraryWindow.h"
#include "MainWindow.h"
#include "base/FileUtils.h"
#include "settings/SettingsKeys.h"
#include "transfer/CarsetInfo.h"
#include "transfer/RunUndo.h"

#include <QApplication>
#include <QTabWidget>
#include <QTreeWidget>

#include <iostream>

using namespace pitwall;
using namespace pitwall::gui;

namespace {

void Grab(QWidget* w, const QString& file)
{
    w->show();
    QApplication::processEvents();
    if (!w->grab().save(file))
        std::cerr << "cannot write " << file.toStdString() << '\n';
}

struct DemoCarset {
    const char* name;
    const char* author;
    const char* version;
    int team; // renamed
    const char* teamName;
    int firstLivery; // recoloured: `liveries` from this team on
    int liveries;
    std::vector<int> items;
};

// Another look for a livery: every colour moved two ramps of the palette
// on (black stays), so the carset's pictures differ from the game's.
void Recolour(TJAMFile& jam, int ramps)
{
    if (!jam.is8Bit())
        return;
    for (Pixel& p : jam.page().pixels()) {
        const int index = jam.palette().findPixel(p);
        if (index > 0)
            p = jam.palette().pixel((index + 16 * ramps) % 256);
    }
    for (int i = 0; i < jam.imageCount(); ++i)
        jam.RebuildTables(i);
}

std::string SaveDemoCarset(AppContext& app, const std::string& folder, const DemoCarset& c,
                           const std::vector<std::string>& gameNames)
{
    WorkingSet& set = app.workingSet();
    CarsetInfoFields fields = CarsetInfoToFields(set.carsetInfo);
    fields.author = c.author;
    fields.version = c.version;
    ApplyCarsetInfoEdits(set.carsetInfo, fields);
    for (std::size_t t = 0; t < gameNames.size(); ++t)
        set.teams.teams[t].name.assign(gameNames[t]);
    set.teams.teams[static_cast<std::size_t>(c.team)].name.assign(c.teamName);
    for (int t = c.firstLivery; t < c.firstLivery + c.liveries; ++t)
        if (auto& jam = set.graphics.cars.soft.at(static_cast<std::size_t>(t)))
            Recolour(*jam, 2 + t % 5);
    set.transfer.selection = {};
    for (int item : c.items)
        set.transfer.selection[static_cast<std::size_t>(item)] = 1;
    const std::string file = folder + c.name + ".GMS";
    TransferUi ui = app.transferUi();
    app.engine().saveCarset(ItemChoice::AsSelected, file, ui);
    return file;
}

std::vector<int> Range(int first, int count, std::vector<int> more = {})
{
    for (int n = first; n < first + count; ++n)
        more.push_back(n);
    return more;
}

// The apply as the library window makes it, without its confirmation.
void Apply(AppContext& app, const LibraryCarset& carset, const std::string& libraryFolder)
{
    TransferUi ui = app.transferUi();
    const TransferOutcome loaded =
        app.engine().loadCarset(ItemChoice::AllHeld, carset.path, ui, CarsetInformation::Keep);
    const TransferOutcome exported = app.engine().exportToGame(ItemChoice::AsSelected, ui);
    const TransferReport& report = app.engine().lastReport();
    if (loaded != TransferOutcome::Done || exported != TransferOutcome::Done || report.restorePointId.empty())
        std::cerr << "library: the apply of " << carset.name << " wrote nothing\n";
    if (!report.restorePointId.empty())
        LibraryHistory(libraryFolder, app.program.settings.gameDirectory)
            .record(MakeAppliedCarset(carset, report.restorePointId, report.changes));
}

} // namespace

namespace pitwall::gui {

void SaveLibraryShots(AppContext& app, MainWindow& window, const std::string& root, const QString& out)
{
    const std::string folder = root + "/library/";
    const std::string files = root + "/carsets/";
    ForceDirectories(files);
    qputenv("PITWALL_LIBRARY", QByteArray::fromStdString(folder));
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(root + "/cache/"));

    // The team graphics and art the carsets take their pictures from.
    TransferUi ui = app.transferUi();
    app.workingSet().transfer.selection = {};
    for (int item : Range(kCarSoftFirst, 11, Range(kTeamArtFirst, 11, {1, 77, 102, kMiscItem})))
        app.workingSet().transfer.selection[static_cast<std::size_t>(item)] = 1;
    app.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);

    std::vector<std::string> gameNames;
    for (const TeamRecord& team : app.workingSet().teams.teams)
        gameNames.push_back(team.name.text());
    const DemoCarset demo[] = {
        {"Season 1998 Liveries", "M. Schneider", "v2.1", 0, "Schneider Grand Prix", 0, 6,
         Range(kCarSoftFirst, 6, {1, 77})},
        {"Midfield Team Art", "J. Carter", "v1.0", 4, "Carter Motorsport", 0, 0, Range(kTeamArtFirst, 11, {1})},
        {"Backmarkers", "A. Rossi", "v0.9", 0, "Rossi Corse", 6, 5,
         Range(kCarSoftFirst + 6, 5, Range(kTeamArtFirst + 6, 5, {1}))},
    };
    CarsetLibrary library(folder);
    for (const DemoCarset& c : demo) {
        try {
            library.add(SaveDemoCarset(app, files, c, gameNames));
        } catch (const std::exception& e) {
            std::cerr << "library: " << e.what() << '\n';
        }
    }
    const std::vector<LibraryCarset> carsets = library.list();
    if (carsets.size() == 3) {
        try {
            // Applies of two carsets, a change of settings, the second apply undone
            // (the first replaced whole JAM files, which only a restore puts back).
            Apply(app, carsets[2], folder);
            Apply(app, carsets[1], folder);
            SetSettingValue(app.workingSet().settings, "quick-race-laps", "13");
            app.workingSet().transfer.selection = {};
            app.workingSet().transfer.selection[static_cast<std::size_t>(kMiscItem)] = 1;
            ui.operation = PointOperation{point_kind::kSettings, {}};
            if (app.engine().exportToGame(ItemChoice::AsSelected, ui) != TransferOutcome::Done)
                std::cerr << "library: the settings change wrote nothing\n";
            ui.operation = {};
            LibraryHistory history(folder, app.program.settings.gameDirectory);
            const std::vector<AppliedCarset> entries = history.entries();
            const AppliedCarset* undone = history.lastInEffect(entries, carsets[1].name);
            if (!undone)
                std::cerr << "library: no apply of " << carsets[1].name << " in the history\n";
            if (undone) {
                RestorePoints store(app.program.restorePointRoot, app.program.settings.gameDirectory,
                                    app.program.settings.restorePointsKept, app.program.settings.restorePointsMB);
                UndoPlan plan = PlanRunUndo(store, undone->restorePointId);
                if (!plan.possible() && plan.refusal.empty())
                    plan = PlanRunUndo(store, undone->restorePointId, true);
                if (!plan.refusal.empty())
                    std::cerr << "library: no undo: " << plan.refusal << '\n';
                if (plan.refusal.empty()) {
                    CommitResult result = UndoRuns(store, plan, carsets[1].name);
                    for (const RestorePoint& run : plan.runs)
                        history.markUndone(run.id, result.restorePointId);
                }
            }
        } catch (const std::exception& e) {
            std::cerr << "library: " << e.what() << '\n';
        }
    }

    LibraryWindow window1(app, &window);
    window1.list()->setCurrentItem(window1.list()->topLevelItem(2));
    Grab(&window1, out + "/library.png");
    window1.pages()->setCurrentIndex(1);
    Grab(&window1, out + "/library-history.png");
    window1.list()->clearSelection();
    window1.list()->topLevelItem(0)->setSelected(true);
    window1.list()->topLevelItem(1)->setSelected(true);
    window1.pages()->setCurrentIndex(2);
    Grab(&window1, out + "/library-conflicts.png");
    window1.hide();
}

} // namespace pitwall::gui
