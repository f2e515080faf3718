// sound list, sound extract, sound replace: the sound bank SAMPLES\GP3SOUND.DAT.

#include "Commands.h"
#include "FormatCommandSupport.h"
#include "GameWrites.h"

#include "formats/SoundBankFiles.h"
#include "transfer/FileUtils.h"

#include <cstdio>

namespace pitwall::cli {

namespace {

constexpr std::uint64_t kMaxBank = 512ull * 1024 * 1024;

SoundBank RequireBank(CliContext& context, const std::string& file)
{
    if (!FileExists(file))
        throw CommandFailure(context.texts.format(349, Args(file)));
    SoundBankParse parsed = ParseSoundBank(ReadWholeFile(file, kMaxBank));
    if (parsed.tooManySounds)
        throw CommandFailure(context.texts.format(kTooManySoundsText, Args(file, parsed.declaredCount)));
    if (parsed.truncated)
        throw CommandFailure("the sound bank is cut short: it holds " + std::to_string(parsed.bank.entries.size())
                             + " of " + std::to_string(parsed.declaredCount) + " sounds completely: " + file);
    return std::move(parsed.bank);
}

std::size_t RequireIndex(const SoundBank& bank, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= bank.entries.size())
        throw CommandFailure("no such sound: " + std::to_string(index) + " (the bank holds "
                             + std::to_string(bank.entries.size()) + ")");
    return static_cast<std::size_t>(index);
}

} // namespace

void AddSoundCommands(CLI::App& app, CliContext& context)
{
    auto* sound = app.add_subcommand("sound", "The sound bank SAMPLES\\GP3SOUND.DAT");
    sound->require_subcommand(1);
    {
        auto* cmd = sound->add_subcommand("list", "The sounds of the bank");
        auto game = std::make_shared<std::string>();
        cmd->add_option("--game", *game, "Game directory")->required();
        cmd->callback([&context, game] {
            SoundBank bank = RequireBank(context, GameFile(*game, kSoundBankGamePath));
            context.out << "sounds: " << bank.entries.size() << '\n';
            for (std::size_t i = 0; i < bank.entries.size(); ++i) {
                const SoundEntry& e = bank.entries[i];
                char line[96];
                std::snprintf(line, sizeof line, "%3zu  %8u bytes  %5u Hz  %2u bit  field %08X\n", i, e.dataSize,
                              e.sampleRate, e.bits, e.keptWord);
                context.out << line;
            }
        });
    }
    {
        auto* cmd = sound->add_subcommand("extract", "Save one sound as a WAV file");
        auto game = std::make_shared<std::string>();
        auto index = std::make_shared<int>();
        auto out = std::make_shared<std::string>();
        cmd->add_option("INDEX", *index, "Sound number (from 0)")->required();
        cmd->add_option("OUT", *out, "WAV file to write")->required();
        cmd->add_option("--game", *game, "Game directory")->required();
        cmd->callback([&context, game, index, out] {
            SoundBank bank = RequireBank(context, GameFile(*game, kSoundBankGamePath));
            const std::size_t i = RequireIndex(bank, *index);
            WriteWholeFile(*out, MakeSoundWav(bank.entries[i], bank.samples[i]));
        });
    }
    {
        auto* cmd = sound->add_subcommand("replace", "Replace one sound by a WAV file the program wrote");
        auto game = std::make_shared<std::string>();
        auto index = std::make_shared<int>();
        auto in = std::make_shared<std::string>();
        cmd->add_option("INDEX", *index, "Sound number (from 0)")->required();
        cmd->add_option("IN", *in, "WAV file (as written by sound extract)")->required();
        cmd->add_option("--game", *game, "Game directory")->required();
        cmd->callback([&context, game, index, in] {
            const std::string file = GameFile(*game, kSoundBankGamePath);
            SoundBank bank = RequireBank(context, file);
            const std::size_t i = RequireIndex(bank, *index);
            if (!FileExists(*in))
                throw CommandFailure(context.texts.format(349, Args(*in)));
            auto wav = ReadWholeFile(*in, kMaxBank);
            auto header = ReadWavHeader(wav);
            if (!HasGameWavSignature(wav) || !header)
                throw CommandFailure(context.texts.format(211, {}));
            SoundEntry& e = bank.entries[i];
            auto samples = WavSamples(wav, header->dataSize);
            e.dataSize = static_cast<std::uint32_t>(samples.size());
            e.sampleRate = static_cast<std::uint16_t>(header->sampleRate);
            e.bits = header->bits;
            bank.samples[i].assign(samples.begin(), samples.end());
            GameChangeSet changes(IncludeTrailingBackslash(*game));
            changes.replaceFile(kSoundBankGamePath, BuildSoundBank(bank));
            CommitGameChanges(context, changes, "sound replace " + std::to_string(i));
        });
    }
}

} // namespace pitwall::cli
