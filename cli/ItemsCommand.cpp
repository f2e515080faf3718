// items: every selection item with its number, group and name, as the
// selection dialog shows it; --items takes the names and groups.

#include "Commands.h"
#include "ItemNames.h"
#include "JsonOutput.h"
#include "TerminalText.h"

namespace pitwall::cli {

void AddItemsCommand(CLI::App& app, CliContext& context)
{
    auto* cmd = app.add_subcommand("items", "List the selection items: number, group and name (for --items)");
    AddJsonFlag(*cmd, context);
    cmd->callback([&context] {
        if (context.json) {
            Json items = Json::array();
            for (int n = 1; n <= kLastItem; ++n) {
                std::string group = ItemGroupOf(n);
                items.push_back(
                    {{"number", n},
                     {"group", group.empty() ? Json(nullptr) : Json(group)},
                     {"name", ItemName(n, context.texts)}});
            }
            Json groups = Json::object();
            for (const auto& g : ItemGroups())
                groups[g.name] = g.items;
            PrintJson(context, Json{{"items", items}, {"groups", groups}});
            return;
        }
        for (int n = 1; n <= kLastItem; ++n) {
            std::string group = ItemGroupOf(n);
            context.out << n << '\t' << (group.empty() ? "-" : group) << '\t'
                        << TerminalGameText(ItemDescription(n, context.texts)) << '\n';
        }
    });
}

} // namespace pitwall::cli
