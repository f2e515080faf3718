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
    static const std::string path = fuzz::TempFileName("in.PER");
    static const std::string saved = fuzz::TempFileName("out.PER");
    fuzz::WriteTempFile(path, data, size);
    TeamTable table;
    try {
        if (!LoadPerFile(table, path))
            return 0;
    } catch (const std::runtime_error&) {
        return 0;
    }
    std::filesystem::remove(saved);
    SavePerFile(table, saved);
    TeamTable back;
    if (!LoadPerFile(back, saved) || !(back == table))
        std::abort();
    return 0;
}
