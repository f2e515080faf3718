// import, apply: moving items between installations through carsets.

#include "CliSession.h"
#include "Commands.h"

namespace pitwall::cli {

void AddTransferCommands(CLI::App& app, CliContext& context)
{
    {
        auto* cmd = app.add_subcommand("import", "Import items from an installation and save them as a carset");
        auto game = std::make_shared<std::string>();
        auto items = std::make_shared<std::string>();
        auto output = std::make_shared<std::string>();
        cmd->add_option("--game", *game, "Game directory")->required();
        cmd->add_option("--items", *items, "Items to import: 1,2,11-21 or all")->required();
        cmd->add_option("-o,--output", *output, "Carset file to write (.GMS)")->required();
        cmd->callback([&context, game, items, output] {
            ItemBytes selection = ParseItemList(*items);
            CliSession s(context, *game);
            s.workingSet().transfer.selection = selection;
            s.require(s.engine().importFromGame(false, false, s.ui()), "the import");
            s.require(s.engine().saveCarset(false, false, *output, s.ui()), "saving the carset");
        });
    }
    {
        auto* cmd = app.add_subcommand("apply", "Load a carset (all of it or the listed items) and export it to an installation");
        auto carset = std::make_shared<std::string>();
        auto game = std::make_shared<std::string>();
        auto items = std::make_shared<std::string>();
        cmd->add_option("CARSET", *carset, "Carset file (.GMS)")->required();
        cmd->add_option("--game", *game, "Game directory")->required();
        cmd->add_option("--items", *items, "Only these items: 1,2,11-21 or all");
        cmd->callback([&context, carset, game, items] {
            CliSession s(context, *game);
            bool complete = items->empty();
            if (!complete)
                s.workingSet().transfer.selection = ParseItemList(*items);
            s.require(s.engine().loadCarset(false, complete, *carset, s.ui()), "loading the carset");
            // Export exactly what the carset load brought in.
            s.require(s.engine().exportToGame(false, s.ui()), "the export");
        });
    }
}

} // namespace pitwall::cli
