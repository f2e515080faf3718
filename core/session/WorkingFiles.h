#pragma once
// The working files the editors write (the sounds' WAV files, the loading
// pictures, the replaced menu backgrounds, the tracks' pictures), by their
// full names in the working directory (with trailing separator): what the
// edit history watches before an editor's action can change them.

#include <string>
#include <vector>

namespace pitwall {

std::vector<std::string> SoundWorkingFiles(const std::string& workDirectory);
std::vector<std::string> MenuPictureWorkingFiles(const std::string& workDirectory);
std::vector<std::string> TrackPictureWorkingFiles(const std::string& workDirectory);

} // namespace pitwall
