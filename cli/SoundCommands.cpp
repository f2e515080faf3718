// sound list, sound extract, sound replace, sound extract-all, sound
// replace-all: the sound bank SAMPLES\GP3SOUND.DAT.

#include "CliSession.h"
#include "Commands.h"
#include "FormatCommandSupport.h"
#include "GameOption.h"
#include "GameWrites.h"
#include "JsonOutput.h"
#include "OutputOptions.h"

#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "formats/SoundBankFiles.h"
#include "sounds/SoundConversionText.h"
#include "sounds/SoundFolder.h"
#include "sounds/SoundsArea.h"

#include <algorithm>
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
        throw CommandFailure("the sound bank is cut short: it holds " + std::to_string(parsed.completeCount) + " of "
                             + std::to_string(parsed.declaredCount) + " sounds completely: " + file);
    return std::move(parsed.bank);
}

// The installation's sounds as the transfers import them.
void ImportSounds(CliSession& s)
{
    s.workingSet().transfer.selection = {};
    s.workingSet().transfer.selection[kSoundsItem] = 1;
    s.require(s.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, s.ui()),
              "the import of the sounds");
}

std::string RequireFolder(const std::string& folder)
{
    if (!DirectoryExists(folder))
        throw CommandFailure("no such folder: " + folder);
    return IncludeTrailingBackslash(folder);
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
        AddGameOption(cmd, *game, context);
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, game] {
            SoundBank bank = RequireBank(context, GameFile(*game, kSoundBankGamePath));
            if (context.json) {
                Json sounds = Json::array();
                for (std::size_t i = 0; i < bank.entries.size(); ++i) {
                    const SoundEntry& e = bank.entries[i];
                    sounds.push_back({{"number", i},
                                      {"dataSize", e.dataSize},
                                      {"sampleRate", e.sampleRate},
                                      {"bits", e.bits},
                                      {"field", e.keptWord}});
                }
                PrintJson(context, Json{{"sounds", sounds}});
                return;
            }
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
        cmd->add_option("INDEX", *index, "Sound number (from 0)")->required();
        auto out = std::make_shared<std::string>();
        AddOutputOption(cmd, *out, "OUT", "WAV file to write");
        AddGameOption(cmd, *game, context);
        cmd->callback([&context, game, index, out] {
            const std::string& file = RequireNoGameFileAt(RequireOutput(*out));
            SoundBank bank = RequireBank(context, GameFile(*game, kSoundBankGamePath));
            const std::size_t i = RequireIndex(bank, *index);
            MakeFolderOf(file);
            WriteWholeFile(file, MakeSoundWav(bank.entries[i], bank.samples[i]));
            Note(context, "wrote " + file);
        });
    }
    {
        auto* cmd = sound->add_subcommand(
            "replace", "Replace one sound by a WAV file (converted to the shape of the game's sounds where needed)");
        auto game = std::make_shared<std::string>();
        auto index = std::make_shared<int>();
        auto in = std::make_shared<std::string>();
        cmd->add_option("INDEX", *index, "Sound number (from 0)")->required();
        cmd->add_option("IN", *in, "WAV file (any rate, 8 to 32 bits or float, mono or stereo)")->required();
        AddGameOption(cmd, *game, context);
        cmd->callback([&context, game, index, in] {
            const std::string file = GameFile(*game, kSoundBankGamePath);
            const FileStamp read = StampOf(file);
            SoundBank bank = RequireBank(context, file);
            const KeptWordLayout layout = KeptWordLayoutOf(bank);
            const std::size_t i = RequireIndex(bank, *index);
            if (!FileExists(*in))
                throw CommandFailure(context.texts.format(349, Args(*in)));
            if (FileSizeOf(*in) > kMaxSoundWavBytes)
                throw CommandFailure(MessageTextToUtf8(context.texts.format(kSoundTooLongText, Args(*in))));
            auto wav = ReadWholeFile(*in, kMaxSoundWavBytes);
            // The same conversion as every other way a sound comes in; a
            // refusal names the file and why.
            BankSound sound = ConvertForBank(wav, *in, bank.entries, bank.entries[i]);
            SoundEntry& e = bank.entries[i];
            e.dataSize = static_cast<std::uint32_t>(sound.samples.size());
            e.sampleRate = static_cast<std::uint16_t>(sound.shape.to.sampleRate);
            e.bits = sound.shape.to.bits;
            bank.samples[i] = std::move(sound.samples);
            GameChangeSet changes(IncludeTrailingBackslash(*game));
            changes.replaceFile(kSoundBankGamePath, BuildSoundBank(bank, layout), read);
            CommitGameChanges(context, changes, PointOperation{point_kind::kSoundReplace, {std::to_string(i)}});
            if (sound.shape.converted())
                Note(context, MessageTextToUtf8(SoundConversionText(*in, sound.shape, context.texts)));
        });
    }
    {
        auto* cmd = sound->add_subcommand("extract-all", "Save every sound as Sound<i>.WAV into a folder");
        auto game = std::make_shared<std::string>();
        auto folder = std::make_shared<std::string>();
        AddOutputOption(cmd, *folder, "DIR", "Folder to write into (made when missing)");
        AddGameOption(cmd, *game, context);
        cmd->callback([&context, game, folder] {
            const std::string dir = MakeOutputFolder(RequireOutput(*folder));
            CliSession s(context, *game);
            ImportSounds(s);
            const SoundTable& table = s.workingSet().sounds;
            auto failed = ExtractAllSounds(table, s.session().program.directories.working, dir);
            if (!failed.empty())
                throw CommandFailure(std::to_string(failed.size()) + " of " + std::to_string(table.entries.size())
                                     + " sounds could not be written into " + dir);
            Note(context, MessageTextToUtf8(context.texts.format(531, Args(dir))));
        });
    }
    {
        auto* cmd = sound->add_subcommand(
            "replace-all", "Replace every sound i for which the folder holds SOUND<i>.WAV (any letter case)");
        auto game = std::make_shared<std::string>();
        auto folder = std::make_shared<std::string>();
        cmd->add_option("DIR", *folder, "Folder with the WAV files")->required();
        AddGameOption(cmd, *game, context);
        cmd->callback([&context, game, folder] {
            const std::string dir = RequireFolder(*folder);
            CliSession s(context, *game);
            ImportSounds(s);
            CommandMessages messages(context);
            std::vector<ConvertedSound> converted;
            auto replaced = ReplaceAllSounds(s.workingSet().sounds, dir, s.session().program.directories.working,
                                             messages.get(), &converted);
            // A file refused (no sound, empty, too long) stops the run before
            // anything is written; each is named with the reason.
            if (!messages.shown().empty()) {
                std::string failure = std::to_string(messages.shown().size()) + " file(s) in " + dir
                                      + " cannot be taken in as sounds; nothing was written:";
                for (const Message& m : messages.shown())
                    failure += "\n" + MessageTextToUtf8(m.text);
                throw CommandFailure(failure);
            }
            if (replaced.empty())
                throw CommandFailure("no SOUND<i>.WAV in " + dir);
            s.workingSet().transfer.selection = {};
            s.workingSet().transfer.selection[kSoundsItem] = 1;
            s.require(s.engine().exportToGame(ItemChoice::AsSelected, s.ui()), "the export of the sounds");
            s.finish();
            for (std::size_t i : replaced)
                Detail(context, "replaced sound " + std::to_string(i));
            for (const ConvertedSound& c : converted)
                Note(context, MessageTextToUtf8(SoundConversionText(c.file, c.conversion, context.texts)));
            Note(context, "replaced " + std::to_string(replaced.size()) + " sounds");
        });
    }
}

} // namespace pitwall::cli
