// carset list, carset info: what a carset file holds; carset conflicts:
// where carsets would write over each other in an installation.

#include "CarsetInfoOptions.h"
#include "CliSession.h"
#include "Commands.h"
#include "GameOption.h"
#include "ItemNames.h"
#include "JsonOutput.h"
#include "TerminalText.h"

#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "session/ConflictWords.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetConflicts.h"
#include "transfer/CarsetHeader.h"
#include "transfer/CarsetInfo.h"

#include <algorithm>

namespace pitwall::cli {

namespace {

CarsetHeader RequireHeader(const CarsetArchive& archive, const CliContext& context)
{
    std::optional<CarsetHeader> header;
    if (archive.contains(kHeaderMember))
        header = ParseCarsetHeader(archive.read(kHeaderMember, kHeaderSize + kMemberSlack));
    if (!header)
        throw CommandFailure(Windows1252ToUtf8(context.texts.text(407)));
    return *header;
}

// The exit status when some carsets would write the same bytes.
constexpr int kCarsetsOverlap = 3;

// What the carset would change in the installation, worked out as
// `apply --dry-run` does and written nowhere: loaded whole into a session of
// its own, its export prepared against the installation.
CarsetChanges PreviewCarset(CliContext& context, const std::string& game, const std::string& file)
{
    CliSession s(context, game);
    s.require(s.engine().loadCarset(ItemChoice::AllHeld, file, s.ui(), CarsetInformation::Keep),
              "loading the carset " + file);
    CarsetChanges carset;
    carset.name = file;
    carset.items = s.engine().lastHeader().items;
    s.require(s.engine().exportToGame(ItemChoice::AsSelected, s.ui(), ExportMode::Preview),
              "working out what " + file + " changes");
    carset.changes = s.engine().lastReport().changes;
    s.finish();
    return carset;
}

// The lines saying what overlaps both change, UTF-8.
Json WordsJson(const std::vector<ItemOverlap>& overlaps, const ProgramState& program)
{
    Json words = Json::array();
    for (const std::string& line : OverlapWords(overlaps, program))
        words.push_back(Windows1252ToUtf8(line));
    return words;
}

} // namespace

void AddCarsetCommands(CLI::App& app, CliContext& context)
{
    auto* carset = app.add_subcommand("carset", "Inspect carset files");
    carset->require_subcommand(1);
    {
        auto* cmd = carset->add_subcommand("list", "Format number, items held and members of a carset");
        auto file = std::make_shared<std::string>();
        cmd->add_option("CARSET", *file, "Carset file (.GMS)")->required();
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, file] {
            CarsetArchive archive(*file, CarsetArchive::Mode::Read);
            CarsetHeader header = RequireHeader(archive, context);
            std::vector<int> held;
            for (int n = 1; n < kItemCount; ++n)
                if (header.items[static_cast<std::size_t>(n)])
                    held.push_back(n);
            if (context.json) {
                Json items = Json::array();
                for (int n : held)
                    items.push_back({{"number", n}, {"name", ItemName(n, context.texts)}});
                Json members = Json::array();
                for (const auto& m : archive.members())
                    members.push_back({{"name", m.name}, {"size", m.size}});
                PrintJson(context, Json{{"format", header.format}, {"items", items}, {"members", members}});
                return;
            }
            context.out << "format: " << header.format << '\n' << "items:\n";
            for (int n : held)
                context.out << "  " << n << "  " << TerminalGameText(ItemDescription(n, context.texts)) << '\n';
            context.out << "members:\n";
            for (const auto& m : archive.members())
                context.out << "  " << TerminalText(m.name) << "  " << m.size << '\n';
        });
    }
    {
        auto* cmd = carset->add_subcommand("info", "The author information of a carset");
        auto file = std::make_shared<std::string>();
        cmd->add_option("CARSET", *file, "Carset file (.GMS)")->required();
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, file] {
            CarsetArchive archive(*file, CarsetArchive::Mode::Read);
            RequireHeader(archive, context);
            if (!archive.contains(kInfoMember))
                throw CommandFailure("the carset holds no " + std::string(kInfoMember));
            auto bytes = archive.read(kInfoMember, kMaxCarsetInfoSize);
            const ShownCarsetInfo info = ShowCarsetInfo(ParseCarsetInfo(std::string(bytes.begin(), bytes.end())));
            if (context.json) {
                Json document = Json::object();
                SetGameText(document, "version", info.version);
                SetGameText(document, "author", info.author);
                SetGameText(document, "date", info.date);
                document["showOnLoad"] = info.showOnLoad;
                SetGameText(document, "name", info.name);
                Json description = Json::array();
                for (const auto& line : info.description)
                    description.push_back(GameTextValue(line));
                document["description"] = description;
                PrintJson(context, document);
                return;
            }
            auto field = [&context](const char* label, const std::string& windows1252) {
                context.out << label << ':' << (windows1252.empty() ? "" : " ") << TerminalGameText(windows1252)
                            << '\n';
            };
            field("version", info.version);
            field("author", info.author);
            field("date", info.date);
            context.out << "showOnLoad: " << (info.showOnLoad ? "yes" : "no") << '\n';
            field("name", info.name);
            if (info.description.empty())
                field("description", "");
            for (const auto& line : info.description)
                field("description", line);
        });
    }
    {
        auto* cmd = carset->add_subcommand(
            "conflicts", "Which items carsets both carry and which bytes of an installation they would both change");
        auto files = std::make_shared<std::vector<std::string>>();
        auto game = std::make_shared<std::string>();
        cmd->add_option("CARSETS", *files, "Two or more carset files (.GMS)")->required();
        AddGameOption(cmd, *game, context);
        cmd->add_flag("--yes", context.sink.answerYes,
                      "Answer Yes to the questions working out a carset's changes asks, as apply --yes would "
                      "(nothing is written either way)");
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, files, game] {
            if (files->size() < 2)
                throw CLI::ValidationError("carset conflicts needs at least two carsets to compare");
            std::vector<CarsetChanges> carsets;
            for (const std::string& file : *files) {
                CarsetArchive archive(file, CarsetArchive::Mode::Read);
                RequireHeader(archive, context);
                carsets.push_back(PreviewCarset(context, *game, file));
            }
            // The installation as the words need it: version, savegame
            // format, art bank.
            ProgramState program;
            program.texts = context.texts;
            program.settings.gameDirectory = IncludeTrailingBackslash(*game);
            RecogniseGame(program);

            const std::vector<CarsetPairConflicts> pairs = FindCarsetConflicts(carsets);
            const bool overlapping =
                std::any_of(pairs.begin(), pairs.end(), [](const auto& p) { return p.overlapping(); });
            if (context.json) {
                Json list = Json::array();
                for (const CarsetPairConflicts& pair : pairs) {
                    Json shared = Json::array();
                    for (int n : pair.sharedItems)
                        shared.push_back({{"number", n}, {"name", ItemName(n, context.texts)}});
                    Json overlaps = Json::array();
                    for (const ItemOverlap& o : pair.overlaps) {
                        Json ranges = Json::array();
                        for (const ByteRange& r : o.ranges)
                            ranges.push_back({{"offset", r.offset}, {"length", r.length}});
                        overlaps.push_back({{"path", o.relativePath},
                                            {"items", Json::array({o.firstItem, o.secondItem})},
                                            {"ranges", ranges},
                                            {"words", WordsJson({o}, program)}});
                    }
                    list.push_back({{"first", carsets[pair.first].name},
                                    {"second", carsets[pair.second].name},
                                    {"sharedItems", shared},
                                    {"overlapping", pair.overlapping()},
                                    {"overlaps", overlaps},
                                    {"words", WordsJson(pair.overlaps, program)}});
                }
                PrintJson(context, Json{{"pairs", list}, {"overlapping", overlapping}});
            } else {
                for (const CarsetPairConflicts& pair : pairs) {
                    context.out << TerminalText(carsets[pair.first].name) << " and "
                                << TerminalText(carsets[pair.second].name) << '\n';
                    if (pair.sharedItems.empty())
                        context.out << "  items both carry: none\n";
                    else
                        context.out << "  items both carry:\n";
                    for (int n : pair.sharedItems)
                        context.out << "    " << n << "  " << TerminalGameText(ItemDescription(n, context.texts))
                                    << '\n';
                    if (!pair.overlapping())
                        context.out << "  no bytes both would change\n";
                    for (const std::string& line : OverlapWords(pair.overlaps, program))
                        context.out << "  " << TerminalGameText(line) << '\n';
                }
            }
            if (overlapping)
                context.exitStatus = kCarsetsOverlap;
        });
    }
}

} // namespace pitwall::cli
