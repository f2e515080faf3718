#include "ExportArtExpansion.h"

#include "AppContext.h"
#include "ExpansionDialog.h"
#include "MainWindow.h"
#include "TransferSummary.h"
#include "formats/GameInstallation.h"
#include "graphics/ArtPrecheck.h"
#include "menu/GameArtBank.h"
#include "menu/MenuArt.h"
#include "transfer/ReportedFormats.h"

#include <optional>

namespace pitwall::gui {

namespace {

constexpr int kLeaveOutQuestionText = 961, kExportCancelledText = 962;

struct ExpansionChoice {
    std::vector<bool> flags; // one per art-bank entry: enlarge it
    bool keepBackup = false;
    // The dialog was cancelled and the export goes on without the items
    // whose pictures have no room.
    bool leaveOut = false;
};

std::vector<int> ItemsWithoutRoom(AppContext& app, const TransferContext& run, const std::vector<int>& entries)
{
    return ItemsWritingEntries(run.transfer.selection, MenuBackgroundNumbers(app.workingSet().menuBackgrounds),
                               entries);
}

// Nothing when the user cancelled the export. Cancelling the dialog asks
// whether the rest of the export goes on without what has no room.
std::optional<ExpansionChoice> AskWhatToExpand(AppContext& app, TransferContext& run, const ArtDirectory& directory,
                                               const std::vector<int>& entries)
{
    std::array<std::uint8_t, 256> marks{};
    for (int n : MenuBackgroundNumbers(app.workingSet().menuBackgrounds))
        marks.at(static_cast<std::size_t>(n)) = 1;
    ExpansionDialog dialog(app, directory, run.transfer.selection, marks, app.mainWindow);
    if (dialog.exec() == QDialog::Accepted && dialog.resultFlags().size() == kArtEntryCount)
        return ExpansionChoice{dialog.resultFlags(), dialog.keepBackup(), false};
    std::vector<std::string> lines;
    for (int item : ItemsWithoutRoom(app, run, entries))
        lines.push_back(ItemDescription(item, app.program.texts));
    if (!lines.empty() && run.messenger.ask(kLeaveOutQuestionText, Args(MessageList(lines, app.program.texts))))
        return ExpansionChoice{{}, false, true};
    run.messenger.show(kExportCancelledText);
    return std::nullopt;
}

// Carries the choice out on the run; false stops the export.
bool Apply(AppContext& app, TransferContext& run, const std::optional<ExpansionChoice>& choice,
           const std::vector<int>& entries)
{
    if (!choice)
        return false;
    if (choice->leaveOut) {
        LeaveOutItems(run, ItemsWithoutRoom(app, run, entries));
        return true;
    }
    return ExpandArtBankInRun(run, choice->flags, choice->keepBackup);
}

} // namespace

void UseExpansionDialogBeforeExports(AppContext& app)
{
    app.session.graphicsAreas().artPrecheck.expand = [&app](TransferContext& run, const ArtDirectory& directory,
                                                            const std::vector<int>& entries) {
        return Apply(app, run, AskWhatToExpand(app, run, directory, entries), entries);
    };
}

ExpansionChoiceForOneExport::ExpansionChoiceForOneExport(AppContext& app)
    : app_(app), expanded_(std::make_shared<bool>(false))
{
    app.session.graphicsAreas().artPrecheck.expand = [&app, expanded = expanded_](TransferContext& run,
                                                                                  const ArtDirectory& directory,
                                                                                  const std::vector<int>& entries) {
        std::optional<ExpansionChoice> choice = AskWhatToExpand(app, run, directory, entries);
        *expanded = *expanded || (choice && !choice->leaveOut);
        return Apply(app, run, choice, entries);
    };
}

ExpansionChoiceForOneExport::~ExpansionChoiceForOneExport()
{
    UseExpansionDialogBeforeExports(app_);
    if (*expanded_)
        ReadArtDirectory(GameFilePath(app_.program.settings.gameDirectory, kArtBankGamePath),
                         app_.workingSet().artIndex, nullptr);
}

} // namespace pitwall::gui
