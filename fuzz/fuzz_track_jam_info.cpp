// TrackJAMInfo.DAT from a carset: any text is read without fault, what is
// read survives being written and read again, and no path that passes the
// check could leave GP3JAMS or GP3JAMSH.

#include "tracks/TrackJams.h"

#include <cstdlib>

using namespace pitwall;

namespace {

bool Escapes(const std::string& path)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return true;
        start = end + 1;
    }
    return path.find('/') != std::string::npos || path.find(':') != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TrackJamLists lists = ParseTrackJamInfo(text);
    for (const auto& [slot, paths] : lists) {
        if (slot < 0 || slot >= kTrackCount)
            std::abort();
        for (const std::string& path : paths) {
            if (TrackJamPathProblem(path).empty() && Escapes(path))
                std::abort();
            if (TrackJamPathProblem(path).empty() && JamGamePath(JamMemberName(path)) != path)
                std::abort();
        }
    }
    if (ParseTrackJamInfo(BuildTrackJamInfo(lists)) != lists)
        std::abort();
    return 0;
}
