#pragma once
// The synthetic Grand Prix 3 installation: every file the program reads,
// byte-exact in layout, at realistic size, with plausible values at every
// position the program reads. Deterministic: the same options give the same
// bytes.

#include <cstdint>
#include <string>

namespace pitwall::demo {

struct DemoOptions {
    int gameVersion = 2; // 1 v1.00, 2 v1.13, 3 v1.13 (Gp3Video)
    std::uint64_t seed = 1;
};

// Writes the installation into `directory` (created if needed; existing game
// files are replaced). Throws std::runtime_error on a write failure.
void WriteDemoInstallation(const std::string& directory, const DemoOptions& options);

// The savegame format that belongs to a game version (1 for v1.00, else 2).
int SavegameFormatOfVersion(int gameVersion);

} // namespace pitwall::demo
