#include "menu/GameArtBank.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/PrivateFile.h"
#include "formats/ArtBankExpansionBytes.h"
#include "transfer/FormatMessages.h"
#include "transfer/DataArea.h"
#include "transfer/GameChangeSet.h"
#include "transfer/ReportedFormats.h"
#include "transfer/TransferUi.h"

#include <algorithm>

namespace pitwall {

namespace {

constexpr int kExpandQuestionText = 659;

// The bank as the run has it so far, held by the change set (no copy of a
// file that may hold 180 MB).
std::vector<std::uint8_t>* RunBank(TransferContext& context)
{
    std::vector<std::uint8_t>* bank = context.changes ? context.changes->holdWholeFile(kArtBankGamePath) : nullptr;
    if (!bank)
        context.fail(349, Args(context.program.settings.gameDirectory + kArtBankGamePath));
    return bank;
}

} // namespace

bool EditGameArtBank(TransferContext& context,
                     const std::function<bool(std::vector<std::uint8_t>& bank, const ArtDirectory& directory)>& edit)
{
    std::vector<std::uint8_t>* bank = RunBank(context);
    if (!bank)
        return false;
    ArtDirectory directory = ParseArtDirectory(*bank);
    if (!directory.complete() || FirstEntryOutsideFile(directory, bank->size())) {
        context.fail(1146, Args(std::string(kArtBankGamePath)));
        return false;
    }
    bool wrote = false;
    try {
        wrote = edit(*bank, directory);
    } catch (...) {
        // An edit cut off half-way must not reach the game.
        context.changes->discardReplacement(kArtBankGamePath);
        throw;
    }
    if (wrote)
        context.changes->editWholeFile(kArtBankGamePath);
    return wrote;
}

bool ExpandArtBankInRun(TransferContext& context, const std::vector<bool>& flags, bool keepBackup)
{
    const std::vector<std::uint8_t>* bank = RunBank(context);
    if (!bank)
        return false;
    const ArtDirectory directory = ParseArtDirectory(*bank);
    bool any = false;
    for (std::size_t e = 0; e < flags.size() && e < kArtEntryCount; ++e)
        any = any || (flags[e] && !directory.entries[e].fits());
    if (!any)
        return true;
    // Expanded in memory: the new bank replaces the one the run holds and
    // reaches the game, synced, with the run's other files.
    std::vector<std::uint8_t> before;
    if (keepBackup)
        before = *bank;
    ArtDirectory result;
    std::vector<std::uint8_t> expandedBank;
    const bool expanded = ReportFormatErrors(&context.messenger, [&] {
        expandedBank = ExpandArtBankBytes(*bank, context.program.settings.gameDirectory + kArtBankGamePath, flags,
                                          result, [&] { context.loading.keepAlive(); });
    });
    if (expanded) {
        *context.changes->editWholeFile(kArtBankGamePath) = std::move(expandedBank);
        if (keepBackup)
            context.replaceGameFile(std::string(kArtBankGamePath) + ".OLD", std::move(before));
    } else {
        context.recordFailure("GP3ART5.BIN could not be expanded");
    }
    return expanded;
}

bool MakeRoomInArtBank(TransferContext& context, const std::vector<std::size_t>& entries)
{
    if (entries.empty())
        return true;
    const std::vector<std::uint8_t>* bank = RunBank(context);
    if (!bank)
        return false;
    ArtDirectory directory = ParseArtDirectory(*bank);
    std::vector<bool> flags(kArtEntryCount, false);
    int without = 0;
    for (std::size_t e : entries)
        if (e < kArtEntryCount && !directory.entries[e].fits()) {
            flags[e] = true;
            ++without;
        }
    if (without == 0)
        return true;
    if (!context.messenger.ask(kExpandQuestionText, Args(without))) {
        context.recordFailure(context.program.texts.format(kExpandQuestionText, Args(without)));
        return false;
    }
    return ExpandArtBankInRun(context, flags, false);
}

} // namespace pitwall
