#include "settings/GameSettings.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"

namespace pitwall {

bool MiscSettings::operator==(const MiscSettings& other) const
{
    // Bytewise, so that a weight the game never meant as a number (NaN)
    // still equals itself.
    return RecordImage(*this) == RecordImage(other);
}

std::vector<std::uint8_t> RecordImage(const PointsTable& record)
{
    return {record.points.begin(), record.points.end()};
}

std::vector<std::uint8_t> RecordImage(const AidMasks& record)
{
    ByteWriter w;
    for (std::uint16_t mask : record.masks)
        w.u16(mask);
    return w.take();
}

std::vector<std::uint8_t> RecordImage(const MiscSettings& record)
{
    ByteWriter w;
    w.u8(record.quickRaceLaps);
    w.u8(record.keepTrackRecords);
    w.u8(record.presetPerformance);
    w.u8(record.showComputerFuel);
    w.u16(record.playerQualifying);
    w.u16(record.playerRace);
    w.i32(record.pitSpeedMph);
    w.bytes(record.unused);
    w.f64(record.weight);
    return w.take();
}

std::vector<std::uint8_t> RecordImage(const DamageSettings& record)
{
    ByteWriter w;
    w.u16(record.wallRobustness);
    w.u16(record.carRobustness);
    w.u8(record.wallBounce);
    w.u8(record.carBounce);
    for (std::uint16_t part : record.parts)
        w.u16(part);
    return w.take();
}

std::vector<std::uint8_t> RecordImage(const VisibleCarDistances& record)
{
    ByteWriter w;
    for (std::int32_t distance : record.views)
        w.i32(distance);
    return w.take();
}

std::vector<std::uint8_t> RecordImage(const OnboardCameras& record)
{
    ByteWriter w;
    for (const CameraRecord& camera : record.cameras)
        for (std::int16_t word : camera.words)
            w.i16(word);
    return w.take();
}

void RecordFromImage(std::span<const std::uint8_t> bytes, PointsTable& record)
{
    ByteReader r(bytes);
    PointsTable read;
    for (auto& p : read.points)
        p = r.u8();
    record = read;
}

void RecordFromImage(std::span<const std::uint8_t> bytes, AidMasks& record)
{
    ByteReader r(bytes);
    AidMasks read;
    for (auto& mask : read.masks)
        mask = r.u16();
    record = read;
}

void RecordFromImage(std::span<const std::uint8_t> bytes, MiscSettings& record)
{
    ByteReader r(bytes);
    MiscSettings read;
    read.quickRaceLaps = r.u8();
    read.keepTrackRecords = r.u8();
    read.presetPerformance = r.u8();
    read.showComputerFuel = r.u8();
    read.playerQualifying = r.u16();
    read.playerRace = r.u16();
    read.pitSpeedMph = r.i32();
    for (auto& b : read.unused)
        b = r.u8();
    read.weight = r.f64();
    record = read;
}

void RecordFromImage(std::span<const std::uint8_t> bytes, DamageSettings& record)
{
    ByteReader r(bytes);
    DamageSettings read;
    read.wallRobustness = r.u16();
    read.carRobustness = r.u16();
    read.wallBounce = r.u8();
    read.carBounce = r.u8();
    for (auto& part : read.parts)
        part = r.u16();
    record = read;
}

void RecordFromImage(std::span<const std::uint8_t> bytes, VisibleCarDistances& record)
{
    ByteReader r(bytes);
    VisibleCarDistances read;
    for (auto& distance : read.views)
        distance = r.i32();
    record = read;
}

void RecordFromImage(std::span<const std::uint8_t> bytes, OnboardCameras& record)
{
    ByteReader r(bytes);
    OnboardCameras read;
    for (auto& camera : read.cameras)
        for (auto& word : camera.words)
            word = r.i16();
    record = read;
}

} // namespace pitwall
