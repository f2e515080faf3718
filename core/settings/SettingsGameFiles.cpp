#include "settings/SettingsGameFiles.h"

#include "settings/SettingsValues.h"
#include "transfer/GameFile.h"

#include <bit>
#include <string>

namespace pitwall {

namespace {

struct ExePositions {
    std::uint32_t points;
    std::uint32_t aids;
    std::uint32_t keepRecords;
    std::uint32_t performanceWord1;
    std::uint32_t performanceWord2;
    std::uint32_t showFuel;
    std::uint32_t playerQualifying;
    std::uint32_t playerRace;
    std::uint32_t pitSpeed;
    std::uint32_t weight;
    std::uint32_t robustness;
    std::uint32_t wallBounce;
    std::uint32_t carBounce;
    std::uint32_t parts;
    std::uint32_t visibleCars;
    std::uint32_t cameras;
};

// By game version 1..3; both v1.13 builds share their positions.
constexpr ExePositions kV100 = {0x73B456, 0x722C18, 0xFE303,  0x36C66,  0x36E28,  0x7F39E,  0x36C74,  0x36C7B,
                                0x12F8D8, 0x12E278, 0x13EE0E, 0x13EEBD, 0x13EE01, 0x13FC79, 0x52EF68, 0x79E59E};
constexpr ExePositions kV113 = {0x73C9EA, 0x7240DC, 0xFFF7F,  0x37F1D,  0x380DF,  0x807B6,  0x37F2B,  0x37F32,
                                0x1308D8, 0x12F278, 0x14006E, 0x14011D, 0x140061, 0x140EE5, 0x530308, 0x79FB36};

// The part strengths are not contiguous: after part n the position moves on
// by step n.
constexpr std::array<std::uint8_t, kCarPartCount> kPartSteps = {4, 4, 4, 4, 3, 4, 4, 4, 5, 4, 4,
                                                                3, 4, 4, 4, 4, 4, 4, 4, 5, 4, 4};

// Quick-race laps in F1GSTATE.SAV, by savegame format 1..2.
constexpr std::array<std::uint32_t, 2> kQuickRaceLaps = {0x614, 0x6D8};

// Keep track records: the game's test is patched out (two NOPs) when on.
constexpr std::uint16_t kKeepRecordsOn = 0x9090, kKeepRecordsOff = 0x4272;
// Player car performance: two instructions that take either the game's
// preset or the chosen team's value.
constexpr std::uint16_t kPresetWord1 = 0xFFA8, kTeamWord1 = 0x00A8;
constexpr std::uint16_t kPresetWord2 = 0xFFC2, kTeamWord2 = 0x00C2;
// Show the computer cars' fuel: an unconditional jump when on.
constexpr std::uint8_t kShowFuelOn = 0xEB, kShowFuelOff = 0x74;
constexpr int kWeightCopies = 5;

const ExePositions& At(int gameVersion)
{
    if (gameVersion < 1 || gameVersion > 3)
        throw GameFileError("Unknown game version " + std::to_string(gameVersion) + " for the game settings");
    return gameVersion == 1 ? kV100 : kV113;
}

std::uint32_t LapsAt(int savegameFormat)
{
    if (savegameFormat < 1 || savegameFormat > 2)
        throw GameFileError("Unknown savegame format " + std::to_string(savegameFormat) + " for the quick race laps");
    return kQuickRaceLaps[static_cast<std::size_t>(savegameFormat - 1)];
}

double ReadDouble(const GameFile& file, std::uint64_t at)
{
    std::uint64_t low = file.readU32(at);
    std::uint64_t high = file.readU32(at + 4);
    return std::bit_cast<double>(low | (high << 32));
}

void WriteDouble(GameFile& file, std::uint64_t at, double value)
{
    auto bits = std::bit_cast<std::uint64_t>(value);
    file.writeU32(at, static_cast<std::uint32_t>(bits));
    file.writeU32(at + 4, static_cast<std::uint32_t>(bits >> 32));
}

} // namespace

void ReadFromGame(PointsTable& record, const SettingsFiles& files)
{
    auto bytes = files.exe.read(At(files.gameVersion).points, kPointsRecordSize);
    RecordFromImage(bytes, record);
}

void WriteToGame(const PointsTable& record, const SettingsFiles& files)
{
    files.exe.write(At(files.gameVersion).points, RecordImage(record));
}

void ReadFromGame(AidMasks& record, const SettingsFiles& files)
{
    auto bytes = files.exe.read(At(files.gameVersion).aids, kAidsRecordSize);
    RecordFromImage(bytes, record);
}

void WriteToGame(const AidMasks& record, const SettingsFiles& files)
{
    files.exe.write(At(files.gameVersion).aids, RecordImage(record));
}

void ReadFromGame(MiscSettings& record, const SettingsFiles& files)
{
    const ExePositions& at = At(files.gameVersion);
    MiscSettings read = record;
    read.quickRaceLaps = files.savegame.readU8(LapsAt(files.savegameFormat));
    read.keepTrackRecords = files.exe.readU16(at.keepRecords) == kKeepRecordsOn ? 1 : 0;
    bool team =
        files.exe.readU16(at.performanceWord1) == kTeamWord1 && files.exe.readU16(at.performanceWord2) == kTeamWord2;
    read.presetPerformance = team ? 0 : 1;
    read.showComputerFuel = files.exe.readU8(at.showFuel) == kShowFuelOn ? 1 : 0;
    read.playerQualifying = files.exe.readU16(at.playerQualifying);
    read.playerRace = files.exe.readU16(at.playerRace);
    read.pitSpeedMph = PitSpeedFromWord(files.exe.readU16(at.pitSpeed));
    read.weight = ReadDouble(files.exe, at.weight);
    // The last copy of the weight is read too, so that a file too short for
    // what an export would write is refused now.
    ReadDouble(files.exe, at.weight + (kWeightCopies - 1) * 8);
    record = read;
}

void WriteToGame(const MiscSettings& record, const SettingsFiles& files)
{
    const ExePositions& at = At(files.gameVersion);
    auto pitWord = PitSpeedWord(record.pitSpeedMph);
    if (!pitWord)
        throw GameFileError("The pit lane speed limit of " + std::to_string(record.pitSpeedMph)
                            + " mph cannot be stored in GP3.EXE (0 to " + std::to_string(kPitSpeedMaxMph) + ")");
    std::uint32_t laps = LapsAt(files.savegameFormat);
    // Every position is checked before the first write, so a short file
    // gets none of the record.
    files.exe.read(at.weight, kWeightCopies * 8);
    for (std::uint32_t p :
         {at.keepRecords, at.performanceWord1, at.performanceWord2, at.playerQualifying, at.playerRace, at.pitSpeed})
        files.exe.readU16(p);
    files.exe.readU8(at.showFuel);
    files.savegame.readU8(laps);

    files.savegame.writeU8(laps, record.quickRaceLaps);
    files.exe.writeU16(at.keepRecords, record.keepTrackRecords ? kKeepRecordsOn : kKeepRecordsOff);
    bool preset = record.presetPerformance != 0;
    files.exe.writeU16(at.performanceWord1, preset ? kPresetWord1 : kTeamWord1);
    files.exe.writeU16(at.performanceWord2, preset ? kPresetWord2 : kTeamWord2);
    files.exe.writeU8(at.showFuel, record.showComputerFuel ? kShowFuelOn : kShowFuelOff);
    files.exe.writeU16(at.playerQualifying, record.playerQualifying);
    files.exe.writeU16(at.playerRace, record.playerRace);
    files.exe.writeU16(at.pitSpeed, *pitWord);
    for (int copy = 0; copy < kWeightCopies; ++copy)
        WriteDouble(files.exe, at.weight + static_cast<std::uint32_t>(copy) * 8, record.weight);
}

void ReadFromGame(DamageSettings& record, const SettingsFiles& files)
{
    const ExePositions& at = At(files.gameVersion);
    DamageSettings read;
    read.wallRobustness = files.exe.readU16(at.robustness);
    read.carRobustness = files.exe.readU16(at.robustness + 2);
    read.wallBounce = files.exe.readU8(at.wallBounce);
    read.carBounce = files.exe.readU8(at.carBounce);
    std::uint32_t p = at.parts;
    for (int part = 0; part < kCarPartCount; ++part) {
        read.parts[static_cast<std::size_t>(part)] = files.exe.readU16(p);
        p += kPartSteps[static_cast<std::size_t>(part)];
    }
    record = read;
}

void WriteToGame(const DamageSettings& record, const SettingsFiles& files)
{
    const ExePositions& at = At(files.gameVersion);
    DamageSettings check;
    ReadFromGame(check, files); // every position in the file before the first write
    files.exe.writeU16(at.robustness, record.wallRobustness);
    files.exe.writeU16(at.robustness + 2, record.carRobustness);
    files.exe.writeU8(at.wallBounce, record.wallBounce);
    files.exe.writeU8(at.carBounce, record.carBounce);
    std::uint32_t p = at.parts;
    for (int part = 0; part < kCarPartCount; ++part) {
        files.exe.writeU16(p, record.parts[static_cast<std::size_t>(part)]);
        p += kPartSteps[static_cast<std::size_t>(part)];
    }
}

void ReadFromGame(VisibleCarDistances& record, const SettingsFiles& files)
{
    RecordFromImage(files.exe.read(At(files.gameVersion).visibleCars, kDisplayRecordSize), record);
}

void WriteToGame(const VisibleCarDistances& record, const SettingsFiles& files)
{
    files.exe.write(At(files.gameVersion).visibleCars, RecordImage(record));
}

void ReadFromGame(OnboardCameras& record, const SettingsFiles& files)
{
    RecordFromImage(files.exe.read(At(files.gameVersion).cameras, kCamerasRecordSize), record);
}

void WriteToGame(const OnboardCameras& record, const SettingsFiles& files)
{
    files.exe.write(At(files.gameVersion).cameras, RecordImage(record));
}

} // namespace pitwall
