// items: every selection item with its number, group and name, as the
// selection dialog shows it; --items takes the names and groups.

#include "Commands.h"
#include "ItemNames.h"
#include "TerminalText.h"

#include <nlohmann/json.hpp>

namespace pitwall::cli {

void AddItemsCommand(CLI::App& app, CliContext& context)
{
    auto* cmd = app.add_subcommand("items", "List the selection items: number, group and name (for --items)");
    auto json = std::make_shared<bool>(false);
    cmd->add_flag("--json", *json, "Print one JSON document");
    cmd->callback([&context, json] {
        if (*json) {
            nlohmann::ordered_json items = nlohmann::ordered_json::array();
            for (int n = 1; n <= kLastItem; ++n) {
                std::string group = ItemGroupOf(n);
                items.push_back(
                    {{"number", n},
                     {"group", group.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(group)},
                     {"name", ItemName(n, context.texts)}});
            }
            nlohmann::ordered_json groups = nlohmann::ordered_json::object();
            for (const auto& g : ItemGroups())
                groups[g.name] = g.items;
            context.out << nlohmann::ordered_json{{"items", items}, {"groups", groups}}.dump(2) << '\n';
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
