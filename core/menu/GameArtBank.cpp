#include "menu/GameArtBank.h"

#include "app/ProgramState.h"
#include "formats/ArtBankExpansion.h"
#include "transfer/DataArea.h"
#include "transfer/FileUtils.h"
#include "transfer/GameChangeSet.h"
#include "transfer/PrivateFile.h"
#include "transfer/TransferUi.h"

#include <algorithm>

namespace pitwall {

namespace {

constexpr int kExpandQuestionText = 659;
constexpr std::uint64_t kMaxBankBytes = 1024ull * 1024 * 1024;

// The private copy lives in the working directory under a name no game file
// or carset member has.
std::string CopyPath(const TransferContext& context) { return context.program.directories.working + "ArtBank.edit"; }

std::optional<std::vector<std::uint8_t>> CurrentBank(TransferContext& context)
{
    std::optional<std::vector<std::uint8_t>> bytes;
    if (context.changes)
        bytes = context.changes->currentContent(kArtBankGamePath);
    if (!bytes)
        context.fail(349, Args(context.program.settings.gameDirectory + kArtBankGamePath));
    return bytes;
}

} // namespace

bool EditGameArtBank(TransferContext& context,
                     const std::function<bool(const std::string& file, const ArtDirectory& directory)>& edit)
{
    auto bytes = CurrentBank(context);
    if (!bytes)
        return false;
    ArtDirectory directory = ParseArtDirectory(*bytes);
    if (!directory.complete() || FirstEntryOutsideFile(directory, bytes->size())) {
        context.fail(1146, Args(std::string(kArtBankGamePath)));
        return false;
    }
    const std::string copy = CopyPath(context);
    WriteNewPrivateFile(copy, *bytes, Leftover::Replace);
    bool keep = false;
    try {
        keep = edit(copy, directory);
        if (keep)
            context.replaceGameFile(kArtBankGamePath, ReadWholeFile(copy, kMaxBankBytes));
    } catch (...) {
        DeleteFileForced(copy);
        throw;
    }
    DeleteFileForced(copy);
    return keep;
}

bool ExpandArtBankInRun(TransferContext& context, const std::vector<bool>& flags, bool keepBackup)
{
    auto bytes = CurrentBank(context);
    if (!bytes)
        return false;
    const ArtDirectory directory = ParseArtDirectory(*bytes);
    bool any = false;
    for (std::size_t e = 0; e < flags.size() && e < kArtEntryCount; ++e)
        any = any || (flags[e] && !directory.entries[e].fits());
    if (!any)
        return true;
    const std::string copy = CopyPath(context);
    WriteNewPrivateFile(copy, *bytes, Leftover::Replace);
    bool expanded = false;
    try {
        ArtDirectory result;
        expanded = ExpandArtBank(copy, flags, false, result, &context.messenger,
                                 [&](std::size_t, std::size_t) { context.loading.keepAlive(); });
        if (expanded) {
            context.replaceGameFile(kArtBankGamePath, ReadWholeFile(copy, kMaxBankBytes));
            if (keepBackup)
                context.replaceGameFile(std::string(kArtBankGamePath) + ".OLD", std::move(*bytes));
        } else {
            context.recordFailure("GP3ART5.BIN could not be expanded");
        }
    } catch (...) {
        DeleteFileForced(copy);
        throw;
    }
    DeleteFileForced(copy);
    return expanded;
}

bool MakeRoomInArtBank(TransferContext& context, const std::vector<std::size_t>& entries)
{
    if (entries.empty())
        return true;
    auto bytes = CurrentBank(context);
    if (!bytes)
        return false;
    ArtDirectory directory = ParseArtDirectory(*bytes);
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
