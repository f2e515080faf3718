#include "teams/TeamsArea.h"

#include "app/ProgramState.h"
#include "teams/TeamTableImage.h"
#include "teams/TeamsGameFiles.h"
#include "transfer/GameFile.h"

namespace pitwall {

namespace {
constexpr int kTeamsProgressText = 221;
}

void TeamsArea::importFromGame(TransferContext& context)
{
    if (!context.selected(kTeamsItem))
        return;
    context.progress(kTeamsProgressText, kTeamsItem);
    // Read into a copy: a short or damaged game file leaves the table as it was.
    TeamTable imported = table_;
    ReadTeamsFromGame(imported, *context.exe, *context.savegame, context.program.gameVersion,
                      context.program.savegameFormat);
    table_ = imported;
    context.markLoaded(kTeamsItem);
}

void TeamsArea::exportToGame(TransferContext& context)
{
    if (!context.selected(kTeamsItem))
        return;
    context.progress(kTeamsProgressText, kTeamsItem);
    WriteTeamsToGame(table_, *context.exe, *context.savegame, context.program.gameVersion,
                     context.program.savegameFormat);
}

void TeamsArea::loadFromCarset(TransferContext& context)
{
    if (!context.selected(kTeamsItem))
        return;
    context.progress(kTeamsProgressText, kTeamsItem);
    auto bytes = context.loadRecord(kTeamsMember, kTeamTableImageSize);
    if (!bytes)
        return;
    table_ = TeamTableFromImage(*bytes);
    context.markLoaded(kTeamsItem);
}

void TeamsArea::saveToCarset(TransferContext& context)
{
    if (!context.selected(kTeamsItem))
        return;
    context.progress(kTeamsProgressText, kTeamsItem);
    context.saveMember(kTeamsMember, TeamTableImage(table_));
}

} // namespace pitwall
