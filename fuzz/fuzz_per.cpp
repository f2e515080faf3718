// .PER team files: any file either loads or is refused; what loads saves into
// a new file that loads back to the same teams and drivers.

#include "FuzzTempFile.h"

#include "teams/PerFile.h"
#include "teams/TeamTable.h"

#include <cstdlib>
#include <stdexcept>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::TempFile input("in.PER");
    static const fuzz::TempFile saved("out.PER");
    input.write(data, size);
    TeamTable table;
    try {
        if (!LoadPerFile(table, input.path()))
            return 0;
    } catch (const std::runtime_error&) {
        return 0;
    }
    saved.remove(); // a save updates an existing file key by key
    SavePerFile(table, saved.path());
    TeamTable back;
    if (!LoadPerFile(back, saved.path()) || !(back == table))
        std::abort();
    return 0;
}
