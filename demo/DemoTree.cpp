#include "DemoContext.h"

#include "base/FileUtils.h"

namespace pitwall::demo {

// The directories of an installation, spelled as the game's installer
// creates them.
void WriteDirectoryTree(DemoContext& context)
{
    static const char* const kDirectories[] = {
        "GP3JAMS",
        "GP3JAMS\\Liveries",
        "GP3JAMS\\Main",
        "GP3JAMS\\Cockpit",
        "GP3JAMS\\Helmets",
        "GP3JAMS\\Pitcrew",
        "GP3JAMSH",
        "GP3JAMSH\\Liveries",
        "GP3JAMSH\\Main",
        "GP3JAMSH\\Cockpit",
        "GP3JAMSH\\Helmets",
        "GP3JAMSH\\Pitcrew",
        "GP3JAMSH\\TECHJAM",
        "BITMAPS",
        "SAMPLES",
        "CIRCUITS",
        "LDATA",
        "gpsaves",
    };
    for (const char* d : kDirectories) {
        std::string path = context.directory;
        for (const char* c = d; *c; ++c)
            path += *c == '\\' ? kPathSeparator : *c;
        ForceDirectories(path);
    }
}

} // namespace pitwall::demo
