#include "teams/TeamsGameFiles.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "teams/PitLane.h"
#include "transfer/GameFile.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace pitwall {

namespace {

struct ExePositions {
    std::uint32_t performance; // 242 bytes, see below
    std::uint32_t carNumbers;  // 22 bytes in driver-index order
    std::uint32_t tyreWords;   // 11 x u32 in team-slot order
    std::uint32_t pitOrder;    // 11 bytes: 1-based team slot per pit position
};

struct SavePositions {
    std::uint32_t names;     // 22 x 24 driver names, 11 x 13 team names, 11 x 13 engine names
    std::uint32_t selection; // 22 bytes in driver-index order
};

// By game version 1..3; both v1.13 builds share their positions.
constexpr ExePositions kExePositions[] = {
    {0x143A90, 0x73A256, 0x73A2C4, 0x73B470}, // v1.00
    {0x144D40, 0x73B7EA, 0x73B858, 0x73CA04}, // v1.13
    {0x144D40, 0x73B7EA, 0x73B858, 0x73CA04}, // v1.13 (Gp3Video)
};

// By savegame format 1..2.
constexpr SavePositions kSavePositions[] = {
    {0x15518, 0x1543C},
    {0x155DC, 0x15500},
};

constexpr std::size_t kPerformanceSize = 242;
constexpr std::size_t kCarNumbersSize = kDriverCount;
constexpr std::size_t kTyreWordsSize = kTeamCount * 4;
constexpr std::size_t kPitOrderSize = kPitPositionCount;
constexpr std::size_t kNamesSize = kDriverCount * kDriverNameWidth + 2 * kTeamCount * kTeamNameWidth; // 814
constexpr std::size_t kSelectionSize = kDriverCount;

// The game keeps TQP and TRP biased: the stored word is (value - 32719)
// modulo 65536, so 0 is stored as 0x8031 and 32700 as 0xFFED.
constexpr std::uint16_t kPerformanceBias = 32719;

// The game loads the tyre supplier's data by these words; any other word is
// read as Goodyear and written back as Goodyear's.
constexpr std::uint32_t kGoodyearWord = 0x03350334;
constexpr std::uint32_t kBridgestoneWord = 0x03370336;

// In the savegame the low seven bits of a driver's selection byte hold the
// 1-based driver index and bit 7 marks a driver a player chose.
constexpr std::uint8_t kSelectedBit = 0x80;

const ExePositions& ExeAt(int gameVersion)
{
    if (gameVersion < 1 || gameVersion > 3)
        throw std::invalid_argument("game version " + std::to_string(gameVersion) + " has no team positions");
    return kExePositions[gameVersion - 1];
}

const SavePositions& SaveAt(int savegameFormat)
{
    if (savegameFormat < 1 || savegameFormat > 2)
        throw std::invalid_argument("savegame format " + std::to_string(savegameFormat) + " has no team positions");
    return kSavePositions[savegameFormat - 1];
}

void RequireFits(const GameFile& file, std::uint64_t offset, std::size_t count)
{
    if (offset > file.size() || count > file.size() - offset)
        throw GameFileError(file.path() + " is too short for the teams and drivers data (" + std::to_string(count)
                            + " bytes at offset " + std::to_string(offset) + ")");
}

template <std::size_t N>
void ReadText(ByteReader& in, FixedText<N>& field)
{
    field.setBytes(in.bytes(N).template first<N>());
}

void ReadPerformance(TeamTable& table, ByteReader in)
{
    for (TeamRecord& team : table.teams)
        team.tqp = static_cast<std::uint16_t>(in.u16() + kPerformanceBias);
    for (TeamRecord& team : table.teams)
        team.trp = static_cast<std::uint16_t>(in.u16() + kPerformanceBias);
    for (int d = 0; d < kDriverCount; ++d) {
        table.driver(d).qp = in.u16();
        table.driver(d).rp = in.u16();
    }
    for (int d = 0; d < kDriverCount; ++d) {
        table.driver(d).qa = in.u16();
        table.driver(d).ra = in.u16();
    }
    for (TeamRecord& team : table.teams)
        team.failure = in.u16();
}

std::vector<std::uint8_t> PerformanceBlock(const TeamTable& table)
{
    ByteWriter out;
    for (const TeamRecord& team : table.teams)
        out.u16(static_cast<std::uint16_t>(team.tqp - kPerformanceBias));
    for (const TeamRecord& team : table.teams)
        out.u16(static_cast<std::uint16_t>(team.trp - kPerformanceBias));
    for (int d = 0; d < kDriverCount; ++d) {
        out.u16(table.driver(d).qp);
        out.u16(table.driver(d).rp);
    }
    for (int d = 0; d < kDriverCount; ++d) {
        out.u16(table.driver(d).qa);
        out.u16(table.driver(d).ra);
    }
    for (const TeamRecord& team : table.teams)
        out.u16(team.failure);
    return out.take();
}

void ReadNames(TeamTable& table, ByteReader in)
{
    for (int d = 0; d < kDriverCount; ++d)
        ReadText(in, table.driver(d).name);
    for (TeamRecord& team : table.teams)
        ReadText(in, team.name);
    for (TeamRecord& team : table.teams)
        ReadText(in, team.engine);
}

std::vector<std::uint8_t> NamesBlock(const TeamTable& table)
{
    ByteWriter out;
    for (int d = 0; d < kDriverCount; ++d)
        out.bytes(table.driver(d).name.bytes());
    for (const TeamRecord& team : table.teams)
        out.bytes(team.name.bytes());
    for (const TeamRecord& team : table.teams)
        out.bytes(team.engine.bytes());
    return out.take();
}

} // namespace

void ReadTeamsFromGame(TeamTable& table, GameFile& exe, GameFile& save, int gameVersion, int savegameFormat)
{
    const ExePositions& at = ExeAt(gameVersion);
    const SavePositions& saveAt = SaveAt(savegameFormat);
    TeamTable read = table;

    auto carNumbers = exe.read(at.carNumbers, kCarNumbersSize);
    for (int d = 0; d < kDriverCount; ++d)
        read.driver(d).carNumber = carNumbers[static_cast<std::size_t>(d)];

    auto selection = save.read(saveAt.selection, kSelectionSize);
    for (int d = 0; d < kDriverCount; ++d)
        read.driver(d).selected = (selection[static_cast<std::size_t>(d)] & kSelectedBit) != 0 ? 1 : 0;

    auto names = save.read(saveAt.names, kNamesSize);
    ReadNames(read, ByteReader(names));

    auto performance = exe.read(at.performance, kPerformanceSize);
    ReadPerformance(read, ByteReader(performance));

    // Byte p names the team (1-based) at pit position p. A byte outside 1..11
    // names no team: its position stays free here, and the repair below gives
    // it to the lowest team slot that no byte placed, so the table always
    // holds a permutation. Only the table changes; the file's byte stays as it
    // is until an export writes the repaired order.
    auto pitOrder = exe.read(at.pitOrder, kPitOrderSize);
    constexpr std::uint8_t kUnplaced = 0xFF;
    for (TeamRecord& team : read.teams)
        team.pitPosition = kUnplaced;
    for (int p = 0; p < kPitPositionCount; ++p) {
        std::uint8_t b = pitOrder[static_cast<std::size_t>(p)];
        if (b >= 1 && b <= kTeamCount)
            read.teams[b - 1u].pitPosition = static_cast<std::uint8_t>(p);
    }
    RepairPitPositions(read);

    auto tyreWords = exe.read(at.tyreWords, kTyreWordsSize);
    ByteReader tyres(tyreWords);
    for (TeamRecord& team : read.teams)
        team.tyreType = tyres.u32() == kBridgestoneWord ? kTyreBridgestone : kTyreGoodyear;

    table = read;
}

void WriteTeamsToGame(const TeamTable& table, GameFile& exe, GameFile& save, int gameVersion, int savegameFormat)
{
    const ExePositions& at = ExeAt(gameVersion);
    const SavePositions& saveAt = SaveAt(savegameFormat);
    RequireFits(exe, at.carNumbers, kCarNumbersSize);
    RequireFits(save, saveAt.selection, kSelectionSize);
    RequireFits(save, saveAt.names, kNamesSize);
    RequireFits(exe, at.performance, kPerformanceSize);
    RequireFits(exe, at.pitOrder, kPitOrderSize);
    RequireFits(exe, at.tyreWords, kTyreWordsSize);

    ByteWriter carNumbers;
    for (int d = 0; d < kDriverCount; ++d)
        carNumbers.u8(table.driver(d).carNumber);
    exe.write(at.carNumbers, carNumbers.data());

    ByteWriter selection;
    for (int d = 0; d < kDriverCount; ++d)
        selection.u8(static_cast<std::uint8_t>((table.driver(d).selected != 0 ? kSelectedBit : 0) + d + 1));
    save.write(saveAt.selection, selection.data());

    save.write(saveAt.names, NamesBlock(table));
    exe.write(at.performance, PerformanceBlock(table));

    ByteWriter pitOrder;
    for (std::uint8_t slot : BuildPitOrder(table))
        pitOrder.u8(static_cast<std::uint8_t>(slot + 1));
    exe.write(at.pitOrder, pitOrder.data());

    ByteWriter tyres;
    for (const TeamRecord& team : table.teams)
        tyres.u32(team.tyreType == kTyreBridgestone ? kBridgestoneWord : kGoodyearWord);
    exe.write(at.tyreWords, tyres.data());
}

namespace {

// One block of the teams data: `count` records of `width` bytes from
// `start`, record r belonging to what `owner` says.
struct Block {
    std::uint64_t start;
    std::uint64_t count;
    std::uint64_t width;
    TeamsBytes (*owner)(std::uint64_t record);
};

TeamsBytes DriverOf(std::uint64_t d) { return {TeamsPart::Drivers, static_cast<int>(d / 2)}; }
TeamsBytes TeamPerformance(std::uint64_t t) { return {TeamsPart::Performance, static_cast<int>(t)}; }
TeamsBytes TeamName(std::uint64_t t) { return {TeamsPart::NameEngine, static_cast<int>(t)}; }
TeamsBytes TeamTyres(std::uint64_t t) { return {TeamsPart::Tyres, static_cast<int>(t)}; }
TeamsBytes PitOrder(std::uint64_t) { return {TeamsPart::PitOrder, 0}; }

std::vector<Block> BlocksOf(bool savegame, int gameVersion, int savegameFormat)
{
    constexpr std::uint64_t teams = kTeamCount, drivers = kDriverCount;
    if (savegame) {
        if (savegameFormat < 1 || savegameFormat > 2)
            return {};
        const SavePositions& at = SaveAt(savegameFormat);
        const std::uint64_t teamNames = at.names + drivers * kDriverNameWidth;
        return {
            {at.selection, drivers, 1, DriverOf},
            {at.names, drivers, kDriverNameWidth, DriverOf},
            {teamNames, teams, kTeamNameWidth, TeamName},
            {teamNames + teams * kTeamNameWidth, teams, kTeamNameWidth, TeamName},
        };
    }
    if (gameVersion < 1 || gameVersion > 3)
        return {};
    const ExePositions& at = ExeAt(gameVersion);
    // The performance block: TQP and TRP per team, QP/RP and QA/RA per
    // driver, the failure rate per team.
    return {
        {at.performance, teams, 2, TeamPerformance},
        {at.performance + 2 * teams, teams, 2, TeamPerformance},
        {at.performance + 4 * teams, drivers, 4, DriverOf},
        {at.performance + 4 * teams + 4 * drivers, drivers, 4, DriverOf},
        {at.performance + 4 * teams + 8 * drivers, teams, 2, TeamPerformance},
        {at.carNumbers, drivers, 1, DriverOf},
        {at.tyreWords, teams, 4, TeamTyres},
        {at.pitOrder, kPitOrderSize, 1, PitOrder},
    };
}

} // namespace

std::vector<TeamsBytes> TeamsBytesAt(bool savegame, std::uint64_t offset, std::uint64_t length, int gameVersion,
                                     int savegameFormat)
{
    std::vector<TeamsBytes> parts;
    if (length == 0 || offset + length < offset)
        return parts;
    std::vector<Block> blocks = BlocksOf(savegame, gameVersion, savegameFormat);
    std::sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) { return a.start < b.start; });
    const std::uint64_t end = offset + length;
    for (const Block& b : blocks) {
        const std::uint64_t blockEnd = b.start + b.count * b.width;
        const std::uint64_t from = std::max(offset, b.start), to = std::min(end, blockEnd);
        if (from >= to)
            continue;
        for (std::uint64_t r = (from - b.start) / b.width; r <= (to - 1 - b.start) / b.width; ++r) {
            TeamsBytes part = b.owner(r);
            if (std::find(parts.begin(), parts.end(), part) == parts.end())
                parts.push_back(part);
        }
    }
    return parts;
}

} // namespace pitwall
