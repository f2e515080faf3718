// carset list, carset info: what a carset file holds.

#include "CliSession.h"
#include "Commands.h"
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
        cmd->callback([&context, file] {
            CarsetArchive archive(*file, CarsetArchive::Mode::Read);
            CarsetHeader header = RequireHeader(archive, context);
            context.out << "format: " << header.format << '\n' << "items:\n";
            for (int n = 1; n < kItemCount; ++n)
                if (header.items[static_cast<std::size_t>(n)])
                    context.out << "  " << n << "  " << TerminalGameText(ItemDescription(n, context.texts)) << '\n';
            context.out << "members:\n";
            for (const auto& m : archive.members())
                context.out << "  " << TerminalText(m.name) << "  " << m.size << '\n';
        });
    }
    {
        auto* cmd = carset->add_subcommand("info", "The author information lines of a carset");
        auto file = std::make_shared<std::string>();
        cmd->add_option("CARSET", *file, "Carset file (.GMS)")->required();
        cmd->callback([&context, file] {
            CarsetArchive archive(*file, CarsetArchive::Mode::Read);
            RequireHeader(archive, context);
            if (!archive.contains(kInfoMember))
                throw CommandFailure("the carset holds no " + std::string(kInfoMember));
            auto bytes = archive.read(kInfoMember, 1'000'000);
            for (const auto& line : ParseCarsetInfo(std::string(bytes.begin(), bytes.end())).lines)
                context.out << TerminalGameText(line) << '\n';
        });
    }
}

} // namespace pitwall::cli
