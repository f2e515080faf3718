// carset list, carset info: what a carset file holds.

#include "CarsetInfoOptions.h"
#include "CliSession.h"
#include "Commands.h"
#include "ItemNames.h"
#include "JsonOutput.h"
#include "TerminalText.h"

#include "base/Windows1252.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"
#include "transfer/CarsetInfo.h"

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
}

} // namespace pitwall::cli
