#include "teams/PerFile.h"

#include "app/IniFile.h"
#include "base/FileUtils.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace pitwall {

namespace {

// A .PER file of the whole grid is about three kilobytes; anything past this
// is not one and is not read into memory.
constexpr std::uint64_t kMaximumPerFileSize = 1 << 20;

// A line break would end a profile value: it becomes a blank. (Blanks at the
// ends and enclosing quotes the profile itself keeps.)
std::string ProfileText(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

} // namespace

void SavePerFile(const TeamTable& table, const std::string& path)
{
    IniFile ini;
    ini.load(path);
    for (int d = 0; d < kDriverCount; ++d) {
        const DriverRecord& driver = table.driver(d);
        std::string key = std::to_string(d);
        ini.writeInteger("NBR", key, driver.carNumber);
        ini.writeString("Name", key, ProfileText(driver.name.text()));
        ini.writeInteger("QP", key, driver.qp);
        ini.writeInteger("RP", key, driver.rp);
        ini.writeInteger("QA", key, driver.qa);
        ini.writeInteger("RA", key, driver.ra);
    }
    for (int t = 0; t < kTeamCount; ++t) {
        const TeamRecord& team = table.teams[static_cast<std::size_t>(t)];
        std::string key = std::to_string(t);
        ini.writeString("TNAME", key, ProfileText(team.name.text()));
        ini.writeString("TENG", key, ProfileText(team.engine.text()));
        ini.writeInteger("TFAIL", key, team.failure);
        ini.writeInteger("TQP", key, team.tqp);
        ini.writeInteger("TRP", key, team.trp);
    }
    for (int k = 22; k <= 33; ++k)
        ini.writeInteger("TNBR", std::to_string(k), k - 22);
    ini.save(path);
}

bool LoadPerFile(TeamTable& table, const std::string& path)
{
    if (!FileExists(path)) {
        std::error_code error;
        if (!std::filesystem::exists(NativePath(path), error))
            return false;
        throw std::runtime_error("Cannot open " + path + ": " + WhyNotAFile(path));
    }
    if (FileSizeOf(path) > kMaximumPerFileSize)
        throw std::runtime_error(path + " is too large for a .PER file");
    // A file that is there but cannot be read (no permission, locked by
    // another program) is an error with its reason, not a missing file.
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path, kMaximumPerFileSize);
    IniFile ini;
    ini.parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    // Missing keys read as 0, so a file without any of the fields (another
    // INI file, a binary chosen by mistake) would blank the whole grid.
    static constexpr const char* kFields[] = {"NBR",   "Name", "QP",    "RP",  "QA", "RA",
                                              "TNAME", "TENG", "TFAIL", "TQP", "TRP"};
    if (std::none_of(std::begin(kFields), std::end(kFields), [&](const char* f) { return ini.hasSection(f); }))
        throw std::runtime_error(path
                                 + " is not a .PER file: it has none of the sections NBR, Name, QP, RP, QA, "
                                   "RA, TNAME, TENG, TFAIL, TQP and TRP");

    auto word = [&](const char* section, const std::string& key) {
        return static_cast<std::uint16_t>(ini.readInteger(section, key, 0));
    };
    TeamTable loaded = table;
    for (int d = 0; d < kDriverCount; ++d) {
        DriverRecord& driver = loaded.driver(d);
        std::string key = std::to_string(d);
        driver.carNumber = static_cast<std::uint8_t>(ini.readInteger("NBR", key, 0));
        driver.name = ini.readString("Name", key, "");
        driver.qp = word("QP", key);
        driver.rp = word("RP", key);
        driver.qa = word("QA", key);
        driver.ra = word("RA", key);
    }
    for (int t = 0; t < kTeamCount; ++t) {
        TeamRecord& team = loaded.teams[static_cast<std::size_t>(t)];
        std::string key = std::to_string(t);
        team.name = ini.readString("TNAME", key, "");
        team.engine = ini.readString("TENG", key, "");
        team.failure = word("TFAIL", key);
        team.tqp = word("TQP", key);
        team.trp = word("TRP", key);
    }
    table = loaded;
    return true;
}

} // namespace pitwall
