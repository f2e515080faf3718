// INI (profile) files: any text parses; written out and parsed again it gives
// the same text; every key of every section reads; a value written reads
// back as written, and so does any key and value without a line break.

#include "app/IniFile.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    IniFile ini;
    ini.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string text = ini.text();
    IniFile again;
    again.parse(text);
    if (again.text() != text)
        std::abort();
    for (const auto& section : ini.sectionNames()) {
        if (!ini.hasSection(section))
            std::abort();
        for (const auto& key : ini.keyNames(section)) {
            if (!ini.hasKey(section, key))
                std::abort();
            ini.readInteger(section, key, 0);
            ini.readBool(section, key, false);
        }
    }
    again.writeString("Fuzz", "Key", "value 1");
    if (again.readString("fuzz", "KEY", "") != "value 1" || again.readInteger("Fuzz", "Key", 7) != 7)
        std::abort();
    again.writeInteger("Fuzz", "Number", -42);
    if (again.readInteger("Fuzz", "Number", 0) != -42)
        std::abort();
    // Saved and read again, the values stay.
    IniFile reread;
    reread.parse(again.text());
    if (reread.readString("Fuzz", "Key", "") != "value 1" || reread.readInteger("Fuzz", "Number", 0) != -42)
        std::abort();
    // The input's first line split in two, as a key and its value.
    std::string_view line(reinterpret_cast<const char*>(data), size);
    line = line.substr(0, line.find_first_of("\r\n"));
    const std::string key(line.substr(0, line.size() / 2)), value(line.substr(line.size() / 2));
    IniFile any;
    any.writeString("Any", key, value);
    IniFile anyAgain;
    anyAgain.parse(any.text());
    if (anyAgain.readString("Any", key, "\r") != value || anyAgain.keyNames("Any").size() != 1)
        std::abort();
    return 0;
}
