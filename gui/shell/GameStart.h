#pragma once

namespace pitwall::gui {

class AppContext;

// Starts GP3.EXE of the current installation in its own folder: directly on
// Windows, else through Wine or the start command set in the options. A
// missing game or a command that does not start is reported.
void StartGame(AppContext& app);

} // namespace pitwall::gui
