// track info: the information block and the JAM list of a track file.

#include "Commands.h"
#include "FormatCommandSupport.h"
#include "JsonOutput.h"
#include "TerminalText.h"

#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "formats/TrackFile.h"
#include "transfer/ReportedFormats.h"

namespace pitwall::cli {

void AddTrackCommands(CLI::App& app, CliContext& context)
{
    auto* track = app.add_subcommand("track", "Track files CIRCUITS\\*.DAT");
    track->require_subcommand(1);
    auto* cmd = track->add_subcommand("info", "The information block and the JAM textures of a track file");
    auto file = std::make_shared<std::string>();
    cmd->add_option("FILE", *file, "Track file")->required();
    AddJsonFlag(*cmd, context);
    cmd->callback([&context, file] {
        if (!FileExists(*file))
            throw CommandFailure(context.texts.format(349, Args(*file)));
        TrackInfoBlock block;
        ReadTrackInfo(*file, block, nullptr);
        if (context.json) {
            // The keys as the block spells them.
            Json info = Json::object();
            for (std::size_t i = 0; i < kTrackInfoFieldCount; ++i)
                SetGameText(info, kTrackInfoKeys[i], block.values[i]);
            Json jams = Json::array();
            for (const std::string& jam : ReadJamList(*file, nullptr))
                jams.push_back(GameTextValue(jam));
            PrintJson(context,
                      Json{{"gp3InfoFound", block.found}, {"info", std::move(info)}, {"jams", std::move(jams)}});
            return;
        }
        context.out << "#GP3INFO: " << (block.found ? "found" : "not found") << '\n';
        for (std::size_t i = 0; i < kTrackInfoFieldCount; ++i)
            context.out << kTrackInfoKeys[i] << ": " << TerminalGameText(block.values[i]) << '\n';
        auto jams = ReadJamList(*file, nullptr);
        context.out << "JAMs: " << jams.size() << '\n';
        for (const std::string& jam : jams)
            context.out << "  " << TerminalGamePath(jam) << '\n';
    });
}

} // namespace pitwall::cli
