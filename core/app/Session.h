#pragma once
// A running program: its state, the working set with the data areas' default
// contents, and the transfer engine with every data area registered. The
// desktop editor and the command line each make one.

#include "app/ProgramState.h"
#include "app/WorkingSet.h"
#include "graphics/GraphicsAreas.h"
#include "teams/TeamsArea.h"
#include "transfer/MenuBackgroundsArea.h"
#include "transfer/TransferEngine.h"

namespace pitwall {

class Session {
public:
    // The program state must be set up (directories, texts); the working
    // set gets its defaults.
    explicit Session(ProgramState& program);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ProgramState& program;
    WorkingSet workingSet;
    TransferEngine engine;
    GraphicsAreas& graphicsAreas() { return graphicsAreas_; }

private:
    TeamsArea teamsArea_;
    MenuBackgroundsArea menuBackgroundsArea_;
    GraphicsAreas graphicsAreas_;
};

} // namespace pitwall
