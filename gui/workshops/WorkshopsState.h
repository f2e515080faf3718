#pragma once
// What the workshop window remembers from one opening to the next during a
// run (the window is made anew each time): kept with the main window, which
// lives for the whole run.

#include <string>
#include <vector>

namespace pitwall::gui {

class AppContext;

struct WorkshopsState {
    int artEntry = 1;                    // art-bank entry shown (1..839)
    std::vector<std::string> recentJams; // most recent first
    bool dither = false;                 // dithering when a picture is reduced to the palette
};

WorkshopsState& WorkshopsStateOf(AppContext& app);

} // namespace pitwall::gui
