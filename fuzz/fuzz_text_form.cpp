// The plain text form of a language: any text gives strings without line
// breaks; strings without a caret survive being written and read again.

#include "formats/StringFile.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto strings = ParseTextForm(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& s : strings) {
        if (s.find_first_of("\r\n") != std::string::npos && s.find('^') == std::string::npos)
            std::abort();
        if (s.find('^') == std::string::npos) {
            auto back = ParseTextForm(BuildTextForm({s}));
            if (back.size() != 1 || back[0] != s)
                std::abort();
        }
    }
    return 0;
}
