#pragma once
// How the program tells the user that a sound file was converted to the
// shape of the game's sounds ("44100 Hz 16-bit stereo" to "22050 Hz 8-bit mono").

#include "formats/WavConversion.h"

#include <string>

namespace pitwall {

class UITexts;

// A shape in the words of `texts`: rate, bits, channels.
std::string SoundShapeText(const SoundShape& shape, const UITexts& texts);
// UI text 1155: `file` was converted from one shape to the other.
std::string SoundConversionText(const std::string& file, const SoundConversion& conversion, const UITexts& texts);

} // namespace pitwall
