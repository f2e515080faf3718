// art info, art export, art import, art expand: the art bank BITMAPS\GP3ART5.BIN.

#include "CliSession.h"
#include "Commands.h"
#include "FormatCommandSupport.h"
#include "GameOption.h"
#include "GameWrites.h"
#include "JsonOutput.h"
#include "OutputOptions.h"

#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "formats/ArtBankExpansion.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "transfer/FormatMessages.h"
#include "transfer/ReportedFormats.h"

#include <cctype>
#include <cstdio>
#include <string_view>

namespace pitwall::cli {

namespace {

std::string EntryLine(std::size_t i, const ArtEntry& e)
{
    char line[128];
    std::snprintf(line, sizeof line, "%3zu  %4u x %-4u  reserved %8u  offset %9u  %s\n", i, e.width, e.height,
                  e.reservedSize, e.dataOffset, e.fits() ? "fits" : "compressed");
    return line;
}

Json EntryJson(std::size_t i, const ArtEntry& e)
{
    return Json{{"number", i},
                {"width", e.width},
                {"height", e.height},
                {"reservedSize", e.reservedSize},
                {"dataOffset", e.dataOffset},
                {"fits", e.fits()}};
}

ArtDirectory RequireDirectory(CliContext& context, const std::string& bank)
{
    CommandMessages messages(context);
    ArtDirectory dir;
    if (!ReadArtDirectory(bank, dir, messages.get()))
        messages.fail("cannot read " + bank);
    if (!dir.complete())
        throw CommandFailure("the art bank is damaged: its directory holds " + std::to_string(dir.entriesRead)
                             + " of 840 entries: " + bank);
    return dir;
}

// An entry number on the command line: out of range is a usage error, as
// every value out of range is (a negative --entry would otherwise mean "all").
CLI::Range EntryRange() { return CLI::Range(0, static_cast<int>(kArtEntryCount) - 1); }

std::size_t RequireEntry(int entry)
{
    if (entry < 0 || entry >= static_cast<int>(kArtEntryCount))
        throw CommandFailure("no such art-bank entry: " + std::to_string(entry) + " (0-839)");
    return static_cast<std::size_t>(entry);
}

// "017 Helmet 3.png": the entry number and its name, with the characters
// no file name may hold replaced.
std::string ExportFileName(std::size_t entry, const std::string& name, const std::string& extension)
{
    char number[8];
    std::snprintf(number, sizeof number, "%03zu", entry);
    std::string safe = Windows1252ToUtf8(name);
    for (char& c : safe)
        if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 32)
            c = '_';
    return std::string(number) + (safe.empty() ? "" : " " + safe) + extension;
}

} // namespace

void AddArtCommands(CLI::App& app, CliContext& context)
{
    auto* art = app.add_subcommand("art", "The art bank BITMAPS\\GP3ART5.BIN");
    art->require_subcommand(1);
    {
        auto* cmd = art->add_subcommand("info", "The entries of an art bank, or one entry");
        auto game = std::make_shared<std::string>();
        auto file = std::make_shared<std::string>();
        auto where = std::make_shared<std::string>();
        auto entry = std::make_shared<int>(-1);
        cmd->add_option("--game", *game, "Game directory (default: $PITWALL_GAME, else the desktop program's game)");
        cmd->add_option("--file", *file, "An art bank file outside a game");
        cmd->add_option("--entry", *entry, "Only this entry, 0-839")->check(EntryRange());
        // The older spelling: art info GAME_OR_FILE [ENTRY].
        cmd->add_option("GAME_OR_FILE", *where, "Game directory or art bank file")->group("");
        cmd->add_option("ENTRY", *entry, "Entry 0-839")->check(EntryRange())->group("");
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, game, file, where, entry] {
            std::string bank = *file;
            if (bank.empty() && !where->empty())
                bank = DirectoryExists(*where) ? GameFile(*where, kArtBankGamePath) : *where;
            if (bank.empty())
                bank = GameFile(game->empty() ? DefaultGameDirectory(context) : *game, kArtBankGamePath);
            ArtDirectory dir = RequireDirectory(context, bank);
            if (*entry >= 0) {
                const std::size_t i = RequireEntry(*entry);
                if (context.json)
                    PrintJson(context, EntryJson(i, dir.entries[i]));
                else
                    context.out << EntryLine(i, dir.entries[i]);
                return;
            }
            std::size_t fitting = 0;
            for (const ArtEntry& e : dir.entries)
                fitting += e.fits() ? 1 : 0;
            if (context.json) {
                Json entries = Json::array();
                for (std::size_t i = 0; i < dir.entries.size(); ++i)
                    entries.push_back(EntryJson(i, dir.entries[i]));
                PrintJson(context,
                          Json{{"entryCount", dir.entriesRead},
                               {"fitting", fitting},
                               {"fileSize", FileSizeOf(bank)},
                               {"entries", entries}});
                return;
            }
            context.out << "entries: " << dir.entriesRead << "\nfitting: " << fitting
                        << "\nfile size: " << FileSizeOf(bank) << '\n';
            for (std::size_t i = 0; i < dir.entries.size(); ++i)
                context.out << EntryLine(i, dir.entries[i]);
        });
    }
    {
        auto* cmd = art->add_subcommand("export", "Save an entry as a BMP, JPG or PNG picture");
        auto game = std::make_shared<std::string>();
        auto entry = std::make_shared<int>();
        cmd->add_option("ENTRY", *entry, "Entry 0-839")->required()->check(EntryRange());
        auto out = std::make_shared<std::string>();
        AddOutputOption(cmd, *out, "OUT", "Picture file (.BMP, .JPG or .PNG)");
        AddGameOption(cmd, *game, context);
        cmd->callback([&context, game, entry, out] {
            const std::string& file = RequireNoGameFileAt(RequireOutput(*out));
            const std::string bank = GameFile(*game, kArtBankGamePath);
            CommandMessages messages(context);
            MakeFolderOf(file);
            if (!ExportArtImage(bank, RequireEntry(*entry), file, messages.get()))
                messages.fail("nothing was exported");
            Note(context, "wrote " + file);
        });
    }
    {
        auto* cmd = art->add_subcommand("export-all", "Save every entry as a picture, named by number and name");
        auto game = std::make_shared<std::string>();
        auto format = std::make_shared<std::string>("bmp");
        auto out = std::make_shared<std::string>();
        AddOutputOption(cmd, *out, "OUT_DIR", "Folder for the pictures (made when missing)");
        AddGameOption(cmd, *game, context);
        cmd->add_option("--format", *format, "bmp, png or jpg")
            ->check(CLI::IsMember({"bmp", "png", "jpg"}, CLI::ignore_case));
        cmd->callback([&context, game, out, format] {
            const std::string bank = GameFile(*game, kArtBankGamePath);
            RequireDirectory(context, bank);
            const std::string folder = MakeOutputFolder(RequireOutput(*out));
            std::string extension = "." + *format;
            for (char& c : extension)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            std::size_t written = 0;
            std::string firstFailure;
            for (std::size_t i = 0; i < kArtEntryCount; ++i) {
                CommandMessages messages(context);
                const std::string file =
                    folder + ExportFileName(i, ArtEntryLabel(i, context.texts), extension);
                try {
                    if (ExportArtImage(bank, i, file, messages.get())) {
                        ++written;
                        Detail(context, "wrote " + file);
                        continue;
                    }
                    messages.fail("entry " + std::to_string(i) + " was not exported");
                } catch (const std::exception& e) {
                    if (firstFailure.empty())
                        firstFailure = "entry " + std::to_string(i) + ": " + e.what();
                }
            }
            Note(context, "wrote " + std::to_string(written) + " of " + std::to_string(kArtEntryCount) + " pictures to "
                              + RequireOutput(*out));
            if (!firstFailure.empty())
                throw CommandFailure(std::to_string(kArtEntryCount - written) + " entries were not exported; "
                                     + firstFailure);
        });
    }
    {
        auto* cmd = art->add_subcommand("import", "Write a picture file into an entry");
        auto game = std::make_shared<std::string>();
        auto entry = std::make_shared<int>();
        auto in = std::make_shared<std::string>();
        cmd->add_option("ENTRY", *entry, "Entry 0-839")->required()->check(EntryRange());
        cmd->add_option("IN", *in, "Picture file (.BMP, .PNG or .JPG) of the entry's size")->required();
        AddGameOption(cmd, *game, context);
        cmd->callback([&context, game, entry, in] {
            const std::string bank = GameFile(*game, kArtBankGamePath);
            const std::size_t i = RequireEntry(*entry);
            ArtDirectory dir = RequireDirectory(context, bank);
            RequirePictureFile(context, *in);
            if (!FileExists(*in))
                throw CommandFailure(context.texts.format(349, Args(*in)));
            CommandMessages messages(context);
            // The picture is checked (loaded, of the entry's size, encodable
            // into it) before the restore point: a refused picture leaves the
            // installation and its points as they were.
            std::optional<ArtPicture> picture;
            if (!PrepareArtPicture(dir, i, *in, picture, messages.get()) || !picture)
                messages.fail("nothing was imported");
            bool imported = RunWithRestorePoint(
                context, IncludeTrailingBackslash(*game), PointOperation{point_kind::kArtImport, {std::to_string(i)}},
                {kArtBankGamePath}, [&] {
                    // Another run may have rewritten the bank since its
                    // directory was read (an expansion moves the entries):
                    // the picture goes where its entry lies now.
                    const ArtDirectory now = RequireDirectory(context, bank);
                    if (now.entries[i] != dir.entries[i]
                        && (!PrepareArtPicture(now, i, *in, picture, messages.get()) || !picture))
                        return false;
                    return WriteArtImage(bank, now.entries[i], i, *picture, messages.get());
                });
            if (!imported)
                messages.fail("nothing was imported");
            messages.relay(context);
        });
    }
    {
        auto* cmd = art->add_subcommand("expand", "Enlarge entries so that any picture of their size fits");
        auto game = std::make_shared<std::string>();
        auto entries = std::make_shared<std::string>();
        auto keep = std::make_shared<bool>(false);
        cmd->add_option("--entries", *entries, "Entries: all, or a list such as 1,5,755-839")->required();
        cmd->add_flag("--keep-backup", *keep, "Keep the old bank as GP3ART5.BIN.OLD");
        AddGameOption(cmd, *game, context);
        cmd->callback([&context, game, entries, keep] {
            const std::string bank = GameFile(*game, kArtBankGamePath);
            std::vector<bool> flags(kArtEntryCount, false);
            for (int i : ParseNumberList(*entries, 0, static_cast<int>(kArtEntryCount) - 1, "entry"))
                flags[static_cast<std::size_t>(i)] = true;
            const ArtDirectory before = RequireDirectory(context, bank);
            // Entries that fit already need nothing: with none left, the bank
            // is not rewritten and no restore point is made.
            std::size_t toExpand = 0;
            for (std::size_t i = 0; i < kArtEntryCount; ++i)
                toExpand += flags[i] && !before.entries[i].fits() ? 1 : 0;
            if (toExpand == 0)
                throw CommandFailure("every chosen entry fits already; nothing was expanded");
            CommandMessages messages(context);
            ArtDirectory after;
            const std::string backup = std::string(kArtBankGamePath) + ".OLD";
            bool expanded = RunWithRestorePoint(
                context, IncludeTrailingBackslash(*game), PointOperation{point_kind::kArtExpand, {}},
                {kArtBankGamePath, backup}, [&] { return ExpandArtBank(bank, flags, *keep, after, messages.get()); });
            if (!expanded)
                messages.fail("the art bank was not expanded");
            std::size_t count = 0;
            for (std::size_t i = 0; i < kArtEntryCount; ++i)
                count += before.entries[i].fits() != after.entries[i].fits() ? 1 : 0;
            Note(context, "expanded " + std::to_string(count) + " entries; the bank now holds "
                              + std::to_string(FileSizeOf(bank)) + " bytes");
        });
    }
}

} // namespace pitwall::cli
