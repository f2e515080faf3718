#include "app/Session.h"

#include "teams/TeamDefaults.h"

namespace pitwall {

Session::Session(ProgramState& programState)
    : program(programState),
      engine(programState, workingSet.transfer, workingSet.carsetInfo),
      teamsArea_(workingSet.teams),
      menuBackgroundsArea_(),
      graphicsAreas_(workingSet.graphics)
{
    ResetTeamsDrivers(workingSet.teams, program.texts);
    // Every area of the game's transfer steps, by its place in the steps.
    engine.registerArea(AreaId::Teams, teamsArea_);
    engine.registerArea(AreaId::MenuBackgrounds, menuBackgroundsArea_);
    graphicsAreas_.registerWith(engine);
}

} // namespace pitwall
