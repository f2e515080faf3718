#include "ExportArtExpansion.h"

#include "AppContext.h"
#include "ExpansionDialog.h"
#include "MainWindow.h"
#include "app/GameInstallation.h"
#include "menu/GameArtBank.h"
#include "menu/MenuArt.h"

#include <optional>

namespace pitwall::gui {

namespace {

struct ExpansionChoice {
    std::vector<bool> flags; // one per art-bank entry: enlarge it
    bool keepBackup = false;
};

// Nothing when the user cancelled.
std::optional<ExpansionChoice> AskWhatToExpand(AppContext& app, const TransferContext& run,
                                               const ArtDirectory& directory)
{
    std::array<std::uint8_t, 256> marks{};
    for (int n : MenuBackgroundNumbers(app.workingSet().menuBackgrounds))
        marks.at(static_cast<std::size_t>(n)) = 1;
    ExpansionDialog dialog(app, directory, run.transfer.selection, marks, app.mainWindow);
    if (dialog.exec() != QDialog::Accepted || dialog.resultFlags().size() != kArtEntryCount)
        return std::nullopt;
    return ExpansionChoice{dialog.resultFlags(), dialog.keepBackup()};
}

bool Expand(TransferContext& run, const std::optional<ExpansionChoice>& choice)
{
    return choice && ExpandArtBankInRun(run, choice->flags, choice->keepBackup);
}

} // namespace

void UseExpansionDialogBeforeExports(AppContext& app)
{
    app.session.graphicsAreas().artPrecheck.expand = [&app](TransferContext& run, const ArtDirectory& directory,
                                                            const std::vector<int>&) {
        return Expand(run, AskWhatToExpand(app, run, directory));
    };
}

struct ExpansionChoiceForOneExport::Kept {
    // Outer: whether the dialog was shown; inner: nothing after Cancel.
    std::optional<std::optional<ExpansionChoice>> choice;
};

ExpansionChoiceForOneExport::ExpansionChoiceForOneExport(AppContext& app)
    : app_(app), kept_(std::make_shared<Kept>())
{
    app.session.graphicsAreas().artPrecheck.expand = [&app, kept = kept_](TransferContext& run,
                                                                          const ArtDirectory& directory,
                                                                          const std::vector<int>&) {
        if (!kept->choice)
            kept->choice = AskWhatToExpand(app, run, directory);
        return Expand(run, *kept->choice);
    };
}

ExpansionChoiceForOneExport::~ExpansionChoiceForOneExport()
{
    UseExpansionDialogBeforeExports(app_);
    if (kept_->choice && kept_->choice->has_value())
        ReadArtDirectory(GameFilePath(app_.program.settings.gameDirectory, kArtBankGamePath),
                         app_.workingSet().artIndex, nullptr);
}

} // namespace pitwall::gui
