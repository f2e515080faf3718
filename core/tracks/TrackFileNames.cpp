#include "tracks/TrackFileNames.h"

#include "formats/TrackFile.h"
#include "tracks/TrackPositions.h"

#include <cctype>
#include <cstring>

namespace pitwall {

std::string TrackFileNameProblem(const std::string& name)
{
    if (name.empty())
        return "the track file name is empty";
    if (name.size() > kMaxTrackFileNameLength)
        return "the track file name " + name + " is longer than 10 characters";
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isalnum(u) && std::strchr("_-.!#$&()~", c) == nullptr)
            return "the track file name " + name + " is not a bare file name";
    }
    if (name.find_first_not_of('.') == std::string::npos)
        return "the track file name " + name + " is not a bare file name";
    return {};
}

std::string TrackFileGamePath(const std::string& name) { return std::string(kCircuitsPrefix) + name; }

} // namespace pitwall
