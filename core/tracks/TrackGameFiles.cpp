#include "tracks/TrackGameFiles.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "tracks/TrackPositions.h"
#include "transfer/GameFile.h"

#include <algorithm>
#include <cctype>

namespace pitwall {

namespace {

constexpr std::size_t kSaveLapRecordSize = 44;
constexpr std::size_t kStrategyBytes = kStrategyWords * 2;
constexpr std::uint16_t kFridayWord = 0;
constexpr std::uint16_t kThursdayWord = 0x00FF;
constexpr std::uint16_t kBumpsEnd = 0xFFFF;

void RequireFits(const GameFile& file, std::uint64_t offset, std::size_t count)
{
    if (offset > file.size() || count > file.size() - offset)
        throw GameFileError(file.path() + " is too short for the track data (" + std::to_string(count)
                            + " bytes at offset " + std::to_string(offset) + ")");
}

void ReadSaveLapRecord(ByteReader& in, LapRecord& record)
{
    record.driver.setBytes(in.bytes(24).first<24>());
    record.team.setBytes(in.bytes(14).first<14>());
    record.lapTime = in.u32();
    record.date = DateFromSavegameWord(in.u16());
}

void WriteSaveLapRecord(ByteWriter& out, const LapRecord& record)
{
    out.bytes(record.driver.bytes());
    out.bytes(record.team.bytes());
    out.u32(record.lapTime);
    out.u16(SavegameDateWord(record.date));
}

std::uint32_t RecordAt(const TrackExePositions& at, int slot)
{
    return at.records + static_cast<std::uint32_t>(kTrackRecordStride * static_cast<std::size_t>(slot));
}

} // namespace

std::uint16_t SavegameDateWord(std::uint32_t serial)
{
    // The word counts days from 1 January 1978; earlier or far later dates
    // cannot be stored and are held at the nearest end.
    if (serial <= kSavegameDateBase)
        return 0;
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(serial - kSavegameDateBase, 0xFFFF));
}

std::string TrackFileNameFromField(const std::string& field)
{
    const std::size_t prefix = std::char_traits<char>::length(kCircuitsPrefix);
    std::string name = field.size() > prefix ? field.substr(prefix, 10) : std::string();
    if (auto zero = name.find('\0'); zero != std::string::npos)
        name.resize(zero);
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

void ReadLapRecords(TrackTable& table, const GameFile& save, int savegameFormat, const SlotMask& slots)
{
    const std::uint32_t start = LapRecordsAt(savegameFormat);
    TrackTable read = table;
    for (int t = 0; t < kTrackCount; ++t) {
        if (!slots[static_cast<std::size_t>(t)])
            continue;
        auto bytes = save.read(start + kLapRecordsSlotSize * static_cast<std::size_t>(t), kLapRecordsSlotSize);
        ByteReader in(bytes);
        TrackInfo& info = read.info[static_cast<std::size_t>(t)];
        ReadSaveLapRecord(in, info.qualifying);
        ReadSaveLapRecord(in, info.race);
        info.savegameByte = in.u8();
    }
    table = std::move(read);
}

void WriteLapRecords(const TrackTable& table, GameFile& save, int savegameFormat, const SlotMask& slots)
{
    const std::uint32_t start = LapRecordsAt(savegameFormat);
    RequireFits(save, start, kLapRecordsSlotSize * kTrackCount);
    for (int t = 0; t < kTrackCount; ++t) {
        if (!slots[static_cast<std::size_t>(t)])
            continue;
        const TrackInfo& info = table.info[static_cast<std::size_t>(t)];
        ByteWriter out;
        WriteSaveLapRecord(out, info.qualifying);
        WriteSaveLapRecord(out, info.race);
        out.u8(info.savegameByte);
        save.write(start + kLapRecordsSlotSize * static_cast<std::size_t>(t), out.data());
    }
}

void ReadTrackFileNames(TrackTable& table, const GameFile& exe, int gameVersion, const SlotMask& slots)
{
    const TrackExePositions& at = TrackExeAt(gameVersion);
    for (int t = 0; t < kTrackCount; ++t) {
        if (!slots[static_cast<std::size_t>(t)])
            continue;
        auto field = exe.read(at.fileNames + kFileNameFieldSize * static_cast<std::size_t>(t), kFileNameFieldSize);
        table.info[static_cast<std::size_t>(t)].fileName =
            TrackFileNameFromField(std::string(field.begin(), field.end()));
    }
}

void ReadTrackParameters(TrackTable& table, const GameFile& exe, int gameVersion, const SlotMask& slots)
{
    const TrackExePositions& at = TrackExeAt(gameVersion);
    TrackTable read = table;
    ReadTrackFileNames(read, exe, gameVersion, slots);
    for (int t = 0; t < kTrackCount; ++t) {
        if (!slots[static_cast<std::size_t>(t)])
            continue;
        TrackInfo& info = read.info[static_cast<std::size_t>(t)];
        const std::uint32_t base = at.bases[static_cast<std::size_t>(t)];

        info.grip = exe.readU16(base);
        const auto strategyBytes = exe.read(base + at.strategiesOffset, kStrategyBytes);
        ByteReader strategies(strategyBytes);
        for (std::uint16_t& w : info.strategies)
            w = strategies.u16();
        info.fuelPlayer = exe.readU16(base + kFuelOffset);
        info.fuelComputer = exe.readU16(base + kFuelOffset + 2);

        const auto recordBytes = exe.read(RecordAt(at, t), 9);
        ByteReader record(recordBytes);
        info.year = record.u16();
        info.metres = record.u16();
        info.feet = record.u16();
        info.laps = record.u8();
        info.practiceDay = record.u16() == kFridayWord ? 1 : 0;
        info.laps = exe.readU8(at.secondLaps + static_cast<std::uint32_t>(t));

        auto setup = exe.read(base - kSetupBefore, kSetupValues);
        for (int i = 0; i < kSetupValues; ++i)
            info.setup[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(setup[static_cast<std::size_t>(i)] - kSetupBias);

        int count = 0;
        for (; count < kMaxBumps; ++count) {
            const std::uint32_t at4 = base + kBumpsOffset + 4u * static_cast<std::uint32_t>(count);
            const std::uint16_t position = exe.readU16(at4);
            if (position == kBumpsEnd)
                break;
            info.bumps[static_cast<std::size_t>(count)] = {position, exe.readU16(at4 + 2)};
        }
        info.bumpCountMinusOne = static_cast<std::uint8_t>(count - 1);
    }
    table = std::move(read);
}

void WriteTrackParameters(const TrackTable& table, GameFile& exe, int gameVersion, const SlotMask& slots)
{
    const TrackExePositions& at = TrackExeAt(gameVersion);
    const std::uint32_t first = at.bases[0] - kSetupBefore;
    RequireFits(exe, first, at.bases[kTrackCount - 1] + at.strategiesOffset + kStrategyBytes - first);
    RequireFits(exe, at.records, kTrackRecordStride * kTrackCount);
    RequireFits(exe, at.secondLaps, kTrackCount);
    for (int t = 0; t < kTrackCount; ++t) {
        if (!slots[static_cast<std::size_t>(t)])
            continue;
        const TrackInfo& info = table.info[static_cast<std::size_t>(t)];
        const std::uint32_t base = at.bases[static_cast<std::size_t>(t)];
        exe.writeU16(base, info.grip);
        ByteWriter strategies;
        for (std::uint16_t w : info.strategies)
            strategies.u16(w);
        exe.write(base + at.strategiesOffset, strategies.data());
        exe.writeU16(base + kFuelOffset, info.fuelPlayer);
        exe.writeU16(base + kFuelOffset + 2, info.fuelComputer);

        const std::uint32_t record = RecordAt(at, t);
        exe.writeU16(record, info.year);
        exe.writeU16(record + 2, info.metres);
        exe.writeU16(record + 4, info.feet);
        exe.writeU8(record + 6, info.laps);
        // Any word but 0 means Thursday; a Thursday word the game already
        // holds stays as it is, a new one is written as 0x00FF.
        const bool friday = info.practiceDay == 1;
        const std::uint16_t oldDay = exe.readU16(record + 7);
        if (friday != (oldDay == kFridayWord))
            exe.writeU16(record + 7, friday ? kFridayWord : kThursdayWord);
        exe.writeU8(at.secondLaps + static_cast<std::uint32_t>(t), info.laps);

        ByteWriter setup;
        for (std::uint8_t v : info.setup)
            setup.u8(static_cast<std::uint8_t>(v + kSetupBias));
        exe.write(base - kSetupBefore, setup.data());
    }
}

int WriteBumps(const TrackInfo& info, GameFile& exe, int gameVersion, int slot)
{
    const TrackExePositions& at = TrackExeAt(gameVersion);
    const int count = info.bumpCount();
    const int written = std::min(count, BumpRoom(at, slot));
    const std::uint32_t first = at.bases[static_cast<std::size_t>(slot)] + kBumpsOffset;
    RequireFits(exe, first, 4u * static_cast<std::size_t>(written) + 2);
    ByteWriter out;
    for (int b = 0; b < written; ++b) {
        // 0xFFFF is the table's end mark: a bump at that position (only a
        // carset can carry one) would hide itself and every bump after it.
        out.u16(std::min<std::uint16_t>(info.bumps[static_cast<std::size_t>(b)].position, kBumpsEnd - 1));
        out.u16(info.bumps[static_cast<std::size_t>(b)].strength);
    }
    out.u16(kBumpsEnd);
    exe.write(first, out.data());
    return count - written;
}

void WriteTrackFileName(const std::string& name, GameFile& exe, int gameVersion, int slot)
{
    const TrackExePositions& at = TrackExeAt(gameVersion);
    std::string field = kCircuitsPrefix + name.substr(0, 10);
    field.resize(kFileNameFieldSize - 1, ' ');
    field.push_back('\0');
    exe.write(at.fileNames + kFileNameFieldSize * static_cast<std::size_t>(slot),
              std::span(reinterpret_cast<const std::uint8_t*>(field.data()), field.size()));
}

} // namespace pitwall
