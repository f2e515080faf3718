// The track-map labels stream of GP3.EXE: any bytes are read without fault,
// a slot that was read whole is written back in exactly its fixed size, and
// a stream written from slots read whole reads back to the same labels.

#include "tracks/TrackSections.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const SectionsRead read = ReadTrackSections({data, size});
    std::vector<std::uint8_t> rebuilt(data, data + std::min(size, kSectionsLead));
    rebuilt.resize(kSectionsLead, 0);
    bool whole = !read.overran;
    for (int slot = 0; slot < kTrackCount; ++slot) {
        const bool damaged = std::find(read.damaged.begin(), read.damaged.end(), slot) != read.damaged.end();
        auto bytes = SlotSectionsBytes(read.bySlot[static_cast<std::size_t>(slot)], slot);
        if (bytes && bytes->size() != kSectionsSlotBytes[static_cast<std::size_t>(slot)])
            std::abort();
        if (damaged || !bytes) {
            whole = false;
            continue;
        }
        rebuilt.insert(rebuilt.end(), bytes->begin(), bytes->end());
    }
    if (whole) {
        const SectionsRead again = ReadTrackSections(rebuilt);
        if (again.overran || !again.damaged.empty())
            std::abort();
        for (std::size_t slot = 0; slot < kTrackCount; ++slot)
            for (std::size_t v = 0; v < kTrackViews; ++v) {
                const TrackView& a = read.bySlot[slot].views[v];
                const TrackView& b = again.bySlot[slot].views[v];
                if (a.count != b.count || a.sections != b.sections)
                    std::abort();
            }
    }
    return 0;
}
