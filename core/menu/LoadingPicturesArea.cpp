#include "menu/LoadingPicturesArea.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/PrivateFile.h"
#include "formats/Bmp.h"
#include "formats/PaletteReduction.h"
#include "menu/MenuArt.h"

#include <algorithm>
#include <array>

namespace pitwall {

namespace {

constexpr int kLoadingProgressText = 240;
// A 640 x 480 picture at 32 bits and its headers, with room to spare.
constexpr std::uint64_t kMaxPictureBytes = 4ull * 1024 * 1024;

std::string WorkFile(const TransferContext& context, int n)
{
    return context.program.directories.working + LoadingPictureName(n);
}

// The picture must be one the program can read: what is carried on is what
// the game will load while a race starts.
bool IsPicture(TransferContext& context, const std::vector<std::uint8_t>& bytes, const std::string& name)
{
    try {
        DecodeBmp(bytes);
        return true;
    } catch (const FormatError& e) {
        context.fail(name + " is not a picture the game can show: " + e.what());
        return false;
    }
}

// The picture in the kind of the game file it replaces: the game's loading
// pictures are 8-bit, each with a colour table of its own, while a picture
// taken in from a paint program is usually true-colour. Such a picture
// over an 8-bit game file is reduced to that file's colour table.
std::vector<std::uint8_t> InFormatOf(const std::string& gameFile, std::vector<std::uint8_t> picture)
{
    if (!FileExists(gameFile))
        return picture;
    Image game, taken;
    try {
        game = DecodeBmp(ReadWholeFile(gameFile, kMaxPictureBytes));
        taken = DecodeBmp(picture);
    } catch (const std::exception&) {
        return picture; // the export writes what was checked when it was taken in
    }
    // An 8-bit picture brings its own colour table, as each game file has.
    if (game.depth() != 8 || game.colorTable().empty() || taken.depth() <= 8)
        return picture;
    // Entries a short table lacks repeat its first colour, which the nearest
    // match never prefers to the original.
    std::array<Pixel, Palette::kSize> entries;
    entries.fill(game.colorTable().front());
    std::copy_n(game.colorTable().begin(), std::min(game.colorTable().size(), entries.size()), entries.begin());
    Image reduced = ReduceToPalette(taken, Palette(entries), Dithering::FloydSteinberg);
    reduced.setColorTable(game.colorTable());
    return EncodeBmp(reduced);
}

} // namespace

std::vector<int> LoadingPicturesArea::items() const { return {kLoadingPicturesItem}; }

void LoadingPicturesArea::importFromGame(TransferContext& context)
{
    if (!context.selected(kLoadingPicturesItem))
        return;
    context.progress(kLoadingProgressText, kLoadingPicturesItem);
    // All six are read and checked before any working copy changes.
    std::array<std::vector<std::uint8_t>, kLoadingPictureCount> pictures;
    for (int n = 1; n <= kLoadingPictureCount; ++n) {
        const std::string file = ResolveGamePath(context.program.settings.gameDirectory, LoadingPictureGamePath(n));
        if (!FileExists(file)) {
            context.fail(349, Args(file));
            return;
        }
        if (FileSizeOf(file) > kMaxPictureBytes) {
            context.fail(file + " is larger than any loading picture");
            return;
        }
        auto& bytes = pictures[static_cast<std::size_t>(n - 1)];
        bytes = ReadWholeFile(file, kMaxPictureBytes);
        if (!IsPicture(context, bytes, file))
            return;
    }
    for (int n = 1; n <= kLoadingPictureCount; ++n)
        WriteNewPrivateFile(WorkFile(context, n), pictures[static_cast<std::size_t>(n - 1)], Leftover::Replace);
    context.markLoaded(kLoadingPicturesItem);
}

void LoadingPicturesArea::exportToGame(TransferContext& context)
{
    if (!context.selected(kLoadingPicturesItem))
        return;
    context.progress(kLoadingProgressText, kLoadingPicturesItem);
    // LOADING0.BMP is written too when the working directory has one; a
    // picture missing there leaves the game's own.
    for (int n = 0; n <= kLoadingPictureCount; ++n) {
        const std::string file = WorkFile(context, n);
        if (!FileExists(file))
            continue;
        const std::string gameFile = ResolveGamePath(context.program.settings.gameDirectory, LoadingPictureGamePath(n));
        context.replaceGameFile(LoadingPictureGamePath(n), InFormatOf(gameFile, ReadWholeFile(file, kMaxPictureBytes)));
    }
}

void LoadingPicturesArea::loadFromCarset(TransferContext& context)
{
    if (!context.selected(kLoadingPicturesItem))
        return;
    context.progress(kLoadingProgressText, kLoadingPicturesItem);
    // Each picture the carset lacks, or that is no picture, is reported and
    // left out; the others come in, and the export writes just those.
    bool any = false;
    for (int n = 1; n <= kLoadingPictureCount; ++n) {
        auto bytes = context.loadMember(LoadingPictureName(n), kMaxPictureBytes);
        if (!bytes || !IsPicture(context, *bytes, LoadingPictureName(n)))
            DeleteFileForced(WorkFile(context, n));
        else
            any = true;
    }
    if (any)
        context.markLoaded(kLoadingPicturesItem);
}

void LoadingPicturesArea::saveToCarset(TransferContext& context)
{
    if (!context.selected(kLoadingPicturesItem))
        return;
    context.progress(kLoadingProgressText, kLoadingPicturesItem);
    for (int n = 1; n <= kLoadingPictureCount; ++n) {
        const std::string file = WorkFile(context, n);
        if (!FileExists(file)) {
            context.fail(349, Args(file));
            continue;
        }
        context.saveMember(LoadingPictureName(n), ReadWholeFile(file, kMaxPictureBytes));
    }
}

} // namespace pitwall
