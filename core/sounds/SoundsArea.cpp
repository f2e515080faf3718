#include "sounds/SoundsArea.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/PrivateFile.h"
#include "transfer/CarsetArchive.h"
#include "transfer/GameChangeSet.h"

#include <algorithm>

namespace pitwall {

namespace {

constexpr int kSoundsProgressText = 243;
// A bank that ends before the sounds it lists (placeholder: the file name).
constexpr int kBankCutShortText = 668;
constexpr std::uint64_t kMaxBankBytes = 512ull * 1024 * 1024;

std::string WorkFile(const TransferContext& context, std::size_t index)
{
    return context.program.directories.working + SoundWorkFileName(index);
}

} // namespace

void SoundsArea::importFromGame(TransferContext& context)
{
    if (!context.selected(kSoundsItem))
        return;
    context.progress(kSoundsProgressText, kSoundsItem);
    const std::string file = ResolveGamePath(context.program.settings.gameDirectory, kSoundBankGamePath);
    if (!FileExists(file)) {
        context.fail(349, Args(file));
        return;
    }
    // Everything is checked before the first working file is written, so a
    // damaged bank leaves the sounds already held as they were.
    SoundBankParse parsed = ParseSoundBank(ReadWholeFile(file, kMaxBankBytes));
    if (parsed.tooManySounds) {
        context.fail(kTooManySoundsText, Args(file, parsed.declaredCount));
        return;
    }
    if (parsed.truncated) {
        context.fail(kBankCutShortText, Args(file));
        return;
    }
    // Working files are the program's own: written plainly, without the
    // sync and rename a game file gets (one sync per sound made the import
    // wait for the disk a hundred times).
    for (std::size_t i = 0; i < parsed.bank.entries.size(); ++i)
        WriteNewPrivateFile(WorkFile(context, i), MakeSoundWav(parsed.bank.entries[i], parsed.bank.samples[i]),
                            Leftover::Replace);
    table_.entries = std::move(parsed.bank.entries);
    table_.marks.assign(table_.entries.size(), 0);
    context.markLoaded(kSoundsItem);
}

void SoundsArea::exportToGame(TransferContext& context)
{
    if (!context.selected(kSoundsItem))
        return;
    context.progress(kSoundsProgressText, kSoundsItem);
    // A sound that has no working file (a carset brought only some sounds
    // into a working set that never imported them) keeps what the
    // installation's bank holds for it.
    std::optional<SoundBank> current;
    if (context.changes)
        if (auto bytes = context.changes->currentContent(kSoundBankGamePath)) {
            SoundBankParse parsed = ParseSoundBank(*bytes);
            if (!parsed.tooManySounds)
                current = std::move(parsed.bank);
        }
    SoundBank bank;
    for (std::size_t i = 0; i < table_.entries.size(); ++i) {
        const std::string file = WorkFile(context, i);
        if (FileExists(file)) {
            auto wav = ReadWholeFile(file, kMaxSoundWavBytes);
            auto samples = WavSamples(wav, table_.entries[i].dataSize);
            SoundEntry entry = table_.entries[i];
            entry.dataSize = static_cast<std::uint32_t>(samples.size());
            bank.entries.push_back(entry);
            bank.samples.emplace_back(samples.begin(), samples.end());
        } else if (current && i < current->entries.size()) {
            bank.entries.push_back(current->entries[i]);
            bank.samples.push_back(current->samples[i]);
        } else {
            context.fail(349, Args(file));
            return;
        }
    }
    // Replaced as a whole: written beside the old bank and renamed over it
    // only once complete. Where the installation's bank gives each sound's
    // position in its third field, the new bank does so for its own layout.
    const KeptWordLayout layout = current ? KeptWordLayoutOf(*current) : KeptWordLayout::AsTheyWere;
    context.replaceGameFile(kSoundBankGamePath, BuildSoundBank(bank, layout));
}

void SoundsArea::loadFromCarset(TransferContext& context)
{
    if (!context.selected(kSoundsItem))
        return;
    context.progress(kSoundsProgressText, kSoundsItem);
    auto table = context.loadRecord(kSoundsMember, kSoundsDatSize);
    if (!table || !context.source)
        return;
    const CarsetArchive& carset = *context.source;
    std::vector<SoundEntry> entries = ParseSoundsDat(*table);
    const bool held = context.transfer.loaded[kSoundsItem] != 0;

    // What the carried sounds hold together is checked on the sizes the
    // carset declares, before any of them is unpacked (no member is read
    // beyond its declared size).
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (auto size = carset.declaredSize(SoundWorkFileName(i)))
            total += *size;
    if (total > kMaxCarsetSoundBytes) {
        context.fail("The sounds of " + FileNameOf(carset.path()) + " are not loaded: together they hold "
                     + std::to_string(total / 1'000'000) + " MB, more than the game's sound bank takes from a carset ("
                     + std::to_string(kMaxCarsetSoundBytes / 1'000'000) + " MB).");
        return;
    }
    // Each carried sound is checked as any WAV file taken in is, and all of
    // them before the first working file changes: a bad one leaves the
    // sounds held as they were.
    std::vector<std::optional<std::vector<std::uint8_t>>> wavs(entries.size());
    SoundTable loaded;
    loaded.entries = entries;
    loaded.marks.assign(entries.size(), 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string member = SoundWorkFileName(i);
        if (!carset.contains(member))
            continue;
        const auto bytes = carset.read(member, kMaxSoundWavBytes);
        std::string problem;
        const auto data = CheckSoundWav(bytes, &problem);
        if (!data) {
            context.fail("The sounds of " + FileNameOf(carset.path()) + " are not loaded: " + carset.memberLabel(member)
                         + " is not a sound of the game: " + problem + ".");
            return;
        }
        // The carset's own record describes the sound it carries; a member
        // shorter than that record gives what it holds. Rate and bits are
        // the checked ones of the sound itself.
        SoundEntry& entry = loaded.entries[i];
        entry.dataSize = static_cast<std::uint32_t>(std::min<std::size_t>(entry.dataSize, data->samples.size()));
        entry.sampleRate = static_cast<std::uint16_t>(data->sampleRate);
        entry.bits = data->bits;
        wavs[i] = MakeSoundWav(entry, data->samples.first(entry.dataSize));
        loaded.marks[i] = 1;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (wavs[i]) {
            try {
                WriteNewPrivateFile(WorkFile(context, i), *wavs[i], Leftover::Replace);
            } catch (const std::exception&) {
                // The carset's sounds written so far are in the working
                // files now: their records go with them, so every held
                // sound keeps the record of the samples it has.
                for (std::size_t w = 0; w < i && w < table_.entries.size(); ++w)
                    if (loaded.marks[w] && !wavs[w]) {
                        table_.entries[w] = loaded.entries[w];
                        if (w < table_.marks.size())
                            table_.marks[w] = 1;
                    }
                throw;
            }
            wavs[i].reset();
        } else if (held && i < table_.entries.size() && FileExists(WorkFile(context, i))) {
            // Not in the carset: the sound the working set already holds
            // stays, with its own record and the user's mark (it still
            // goes into the next carset).
            loaded.entries[i] = table_.entries[i];
            if (i < table_.marks.size() && i < loaded.marks.size())
                loaded.marks[i] = table_.marks[i];
        } else {
            // Neither: an old file of that name is not this sound; export
            // keeps the installation's own sound.
            DeleteFileForced(WorkFile(context, i));
        }
    }
    table_ = std::move(loaded);
    context.markLoaded(kSoundsItem);
}

void SoundsArea::saveToCarset(TransferContext& context)
{
    if (!context.selected(kSoundsItem))
        return;
    context.progress(kSoundsProgressText, kSoundsItem);
    for (std::size_t i = 0; i < table_.entries.size(); ++i) {
        if (i >= table_.marks.size() || !table_.marks[i])
            continue;
        const std::string file = WorkFile(context, i);
        if (!FileExists(file)) {
            context.fail(349, Args(file));
            continue;
        }
        context.saveMember(SoundWorkFileName(i), ReadWholeFile(file, kMaxSoundWavBytes));
    }
    context.saveMember(kSoundsMember, BuildSoundsDat(table_.entries));
}

} // namespace pitwall
