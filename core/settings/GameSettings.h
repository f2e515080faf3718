#pragma once
// The six small setting areas the game keeps as patches in GP3.EXE (and, for
// the quick-race laps, in F1GSTATE.SAV): championship points, driving aids
// per level, damage, visible-car distances, assorted player-car switches and
// the on-board cameras. Each record is stored in a carset as its raw bytes,
// little-endian and packed, with the sizes below.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace pitwall {

// Selection items of the areas.
inline constexpr int kPointsItem = 2;
inline constexpr int kAidsItem = 3;
inline constexpr int kMiscItem = 4;
inline constexpr int kDamageItem = 103;
inline constexpr int kDisplayItem = 119;
inline constexpr int kCamerasItem = 120;

inline constexpr int kFinishingPositions = 22;
inline constexpr int kAidLevelCount = 5; // Rookie, Amateur, Semi-Pro, Pro, Ace
inline constexpr int kAidCount = 8;      // F1..F8
inline constexpr int kCarPartCount = 22;
inline constexpr int kViewCount = 4; // cockpit, in-car, rear, TV camera
inline constexpr int kCameraCount = 9;

struct PointsTable {
    std::array<std::uint8_t, kFinishingPositions> points{};
    bool operator==(const PointsTable&) const = default;
};

// One u16 per level; an aid is on for a level when its bit is set.
struct AidMasks {
    std::array<std::uint16_t, kAidLevelCount> masks{};
    bool operator==(const AidMasks&) const = default;
};

struct MiscSettings {
    std::uint8_t quickRaceLaps = 0;
    std::uint8_t keepTrackRecords = 0;  // 0/1
    std::uint8_t presetPerformance = 1; // 1: preset by the game, 0: the chosen team's performance
    std::uint8_t showComputerFuel = 0;  // 0/1
    std::uint16_t playerQualifying = 0;
    std::uint16_t playerRace = 0;
    std::int32_t pitSpeedMph = 0;
    std::array<std::uint8_t, 4> unused{};
    double weight = 0.0;
    bool operator==(const MiscSettings& other) const;
};

struct DamageSettings {
    std::uint16_t wallRobustness = 0;
    std::uint16_t carRobustness = 0;
    std::uint8_t wallBounce = 0;
    std::uint8_t carBounce = 0;
    // Nose, front wings, suspensions, wheels, side pods, rear chassis, rear wings,
    // in the game's order (see kCarPartNames).
    std::array<std::uint16_t, kCarPartCount> parts{};
    bool operator==(const DamageSettings&) const = default;
};

struct VisibleCarDistances {
    std::array<std::int32_t, kViewCount> views{};
    bool operator==(const VisibleCarDistances&) const = default;
};

// Ten words: position X, Z, Y; direction, pitch, roll in 1/182 degree;
// two detail words and two more the game keeps to itself.
struct CameraRecord {
    enum Word { X, Z, Y, Direction, Pitch, Roll, Detail1, Detail2, Unknown1, Unknown2, Count };
    std::array<std::int16_t, Count> words{};
    bool operator==(const CameraRecord&) const = default;
};

struct OnboardCameras {
    std::array<CameraRecord, kCameraCount> cameras{};
    bool operator==(const OnboardCameras&) const = default;
};

// The working set's records of the six areas.
struct GameSettings {
    PointsTable points;
    AidMasks aids;
    MiscSettings misc;
    DamageSettings damage;
    VisibleCarDistances display;
    OnboardCameras cameras;
    bool operator==(const GameSettings&) const = default;
};

// Record sizes in a carset member.
inline constexpr std::size_t kPointsRecordSize = 22;
inline constexpr std::size_t kAidsRecordSize = 10;
inline constexpr std::size_t kMiscRecordSize = 24;
inline constexpr std::size_t kDamageRecordSize = 50;
inline constexpr std::size_t kDisplayRecordSize = 16;
inline constexpr std::size_t kCamerasRecordSize = 180;

// Record <-> member bytes. The readers take exactly the record size.
std::vector<std::uint8_t> RecordImage(const PointsTable& record);
std::vector<std::uint8_t> RecordImage(const AidMasks& record);
std::vector<std::uint8_t> RecordImage(const MiscSettings& record);
std::vector<std::uint8_t> RecordImage(const DamageSettings& record);
std::vector<std::uint8_t> RecordImage(const VisibleCarDistances& record);
std::vector<std::uint8_t> RecordImage(const OnboardCameras& record);
void RecordFromImage(std::span<const std::uint8_t> bytes, PointsTable& record);
void RecordFromImage(std::span<const std::uint8_t> bytes, AidMasks& record);
void RecordFromImage(std::span<const std::uint8_t> bytes, MiscSettings& record);
void RecordFromImage(std::span<const std::uint8_t> bytes, DamageSettings& record);
void RecordFromImage(std::span<const std::uint8_t> bytes, VisibleCarDistances& record);
void RecordFromImage(std::span<const std::uint8_t> bytes, OnboardCameras& record);

} // namespace pitwall
