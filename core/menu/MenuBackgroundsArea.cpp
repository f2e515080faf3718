#include "menu/MenuBackgroundsArea.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/ArtBankPictures.h"
#include "menu/GameArtBank.h"
#include "transfer/CarsetArchive.h"
#include "transfer/ReportedFormats.h"

#include <algorithm>

namespace pitwall {

namespace {

constexpr int kBackgroundProgressText = 932;
constexpr int kNotOnTheListText = 960;
// An 800 x 600 picture at 32 bits and its headers, with room to spare.
constexpr std::uint64_t kMaxPictureBytes = 4ull * 1024 * 1024;

std::string WorkFile(const TransferContext& context, int n)
{
    return context.program.directories.working + MenuReplacementName(n);
}

} // namespace

void MenuBackgroundsArea::importFromGame(TransferContext& context)
{
    if (context.selected(kMenuBackgroundsItem))
        context.markLoaded(kMenuBackgroundsItem);
}

void MenuBackgroundsArea::exportToGame(TransferContext& context)
{
    if (!context.selected(kMenuBackgroundsItem))
        return;
    const std::vector<int> listed = MenuBackgroundNumbers(exportList_);
    std::vector<int> numbers;
    for (int n : listed)
        if (FileExists(WorkFile(context, n)))
            numbers.push_back(n);
    // Only the list says what goes to the game: a background loaded and
    // left off the list is not written. Beside listed pictures that are
    // written it is the user's choice and no failure; when the list gives
    // nothing to write, the run says why nothing was.
    for (int n = 0; n < kMenuBackgroundCount && numbers.empty(); ++n)
        if (std::find(listed.begin(), listed.end(), n) == listed.end() && FileExists(WorkFile(context, n))) {
            context.currentItem = kMenuBackgroundsItem;
            context.recordFailure(
                context.program.texts.format(kNotOnTheListText, Args(MenuBackgroundLine(n, context.program.texts))));
        }
    if (numbers.empty())
        return;
    context.progress(kBackgroundProgressText, kMenuBackgroundsItem, Args(numbers.front()));
    // One copy of the bank takes every background; one that cannot be
    // written (a picture of another size) is reported and the others stay.
    EditGameArtBank(context, [&](std::vector<std::uint8_t>& bank, const ArtDirectory& directory) {
        bool any = false;
        for (int n : numbers) {
            if (n != numbers.front())
                context.progress(kBackgroundProgressText, kMenuBackgroundsItem, Args(n));
            if (ImportArtPicture(bank, directory, kMenuBackgroundFirstEntry + static_cast<std::size_t>(n),
                                 WorkFile(context, n), &context.messenger))
                any = true;
            else
                context.recordFailure(MenuReplacementName(n) + " was not written into GP3ART5.BIN");
        }
        return any;
    });
}

void MenuBackgroundsArea::loadFromCarset(TransferContext& context)
{
    if (!context.selected(kMenuBackgroundsItem))
        return;
    for (int n = 0; n < kMenuBackgroundCount; ++n) {
        const std::string member = MenuReplacementName(n);
        if (!context.source || !context.source->contains(member))
            continue;
        context.progress(kBackgroundProgressText, kMenuBackgroundsItem, Args(n));
        if (!context.loadMember(member, kMaxPictureBytes))
            continue;
        // What a carset brings is meant for export: it joins the list.
        AddMenuBackground(exportList_, MenuBackgroundLine(n, context.program.texts));
    }
    context.markLoaded(kMenuBackgroundsItem);
}

void MenuBackgroundsArea::saveToCarset(TransferContext& context)
{
    if (!context.selected(kMenuBackgroundsItem))
        return;
    const std::string bank = ResolveGamePath(context.program.settings.gameDirectory, kArtBankGamePath);
    for (int n : MenuBackgroundNumbers(exportList_)) {
        context.progress(kBackgroundProgressText, kMenuBackgroundsItem, Args(n));
        const std::string member = MenuReplacementName(n);
        std::string file = WorkFile(context, n);
        bool staged = false;
        if (!FileExists(file)) {
            // Not replaced: the game's own background goes into the carset.
            file = context.program.directories.staging + member;
            if (!ExportArtImage(bank, kMenuBackgroundFirstEntry + static_cast<std::size_t>(n), file,
                                &context.messenger)) {
                context.recordFailure(member + " could not be read from " + bank);
                continue;
            }
            staged = true;
        }
        auto bytes = ReadWholeFile(file, kMaxPictureBytes);
        if (staged)
            DeleteFileForced(file);
        context.saveMember(member, std::move(bytes));
    }
}

} // namespace pitwall
