#pragma once
// The neutral teams the teams tests start from: the program's defaults with
// simple name patterns.

#include "base/UITexts.h"
#include "teams/TeamDefaults.h"
#include "teams/TeamTable.h"

namespace pitwall::test {

inline UITexts DefaultTeamTexts()
{
    std::vector<std::string> texts(1134, "");
    texts[2] = "Team %d";
    texts[127] = "Driver %d";
    texts[740] = "Engine";
    UITexts ui;
    ui.assign(std::move(texts), "");
    return ui;
}

inline TeamTable DefaultTeamTable()
{
    TeamTable table;
    ResetTeamsDrivers(table, DefaultTeamTexts());
    return table;
}

} // namespace pitwall::test
