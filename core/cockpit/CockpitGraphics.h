#pragma once
// The cockpit's textures: two sets (software, hardware) of four JAMs (the two
// dashboard halves and the two steering-wheel sheets), and the pictures made
// from them: the 512 x 256 preview the editor draws over, and the 840 x 256
// sheet a set is saved as for painting in an image editor.

#include "formats/Image.h"
#include "formats/JamFile.h"

#include <array>
#include <string>
#include <vector>

namespace pitwall {

class Messenger;

inline constexpr int kCockpitJamCount = 4;
inline constexpr int kCockpitPreviewWidth = 512;
inline constexpr int kCockpitPreviewHeight = 256;
inline constexpr int kCockpitSheetWidth = 840;
inline constexpr int kCockpitSheetHeight = 256;

// Game path of slot 0..3 of a set (0 software, 1 hardware).
std::string CockpitJamGamePath(int set, int slot);
// Carset member of slot 0..3: "CockpitSoftware1.JAM" ...
std::string CockpitJamMember(int set, int slot);

struct CockpitGraphicsSet {
    // Empty until loaded; then the four JAMs in slot order.
    std::vector<TJAMFile> jams;
    Image preview;

    bool loaded() const { return jams.size() == kCockpitJamCount; }
};

// Dashboard halves side by side, the wheel sheets laid over them with the
// colour of their pixel (0, 0) left out.
Image ComposeCockpitPreview(const std::vector<TJAMFile>& jams);
Image ComposeCockpitSheet(const std::vector<TJAMFile>& jams);
// The inverse of the sheet: every pixel the sheet shows goes back into its
// JAM (8-bit JAMs take the nearest game colour and rebuild their colour
// tables). Throws std::invalid_argument when the picture is not 840 x 256.
void TakeCockpitSheet(std::vector<TJAMFile>& jams, const Image& sheet);

} // namespace pitwall
