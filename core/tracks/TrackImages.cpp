#include "tracks/TrackImages.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"

#include <string>

namespace pitwall {

namespace {

constexpr std::size_t kTrackInfoTail = 799;

template <std::size_t N>
void Read(ByteReader& in, FixedText<N>& field)
{
    field.setBytes(in.bytes(N).template first<N>());
}

void ReadLapRecord(ByteReader& in, LapRecord& record)
{
    Read(in, record.driver);
    Read(in, record.team);
    auto unused = in.bytes(2);
    record.unused = {unused[0], unused[1]};
    record.lapTime = in.u32();
    record.date = in.u32();
}

void WriteLapRecord(ByteWriter& out, const LapRecord& record)
{
    out.bytes(record.driver.bytes());
    out.bytes(record.team.bytes());
    out.bytes(record.unused);
    out.u32(record.lapTime);
    out.u32(record.date);
}

void ReadTexts(ByteReader& in, TrackInfo& info, int kind)
{
    for (auto& text : info.texts[static_cast<std::size_t>(kind)])
        Read(in, text);
}

void RequireSize(std::span<const std::uint8_t> image, std::size_t size, const char* what)
{
    if (image.size() != size)
        throw FormatError(std::string(what) + " holds " + std::to_string(image.size()) + " bytes instead of "
                          + std::to_string(size));
}

} // namespace

std::vector<std::uint8_t> TrackInfoImage(const TrackInfo& info)
{
    ByteWriter out;
    WriteLapRecord(out, info.qualifying);
    WriteLapRecord(out, info.race);
    out.u8(info.savegameByte);
    out.u8(info.laps);
    for (const auto& kind : info.texts)
        for (const auto& text : kind)
            out.bytes(text.bytes());
    out.bytes(info.fileName.bytes());
    out.u16(info.grip);
    for (std::uint16_t w : info.strategies)
        out.u16(w);
    out.u16(info.metres);
    out.u16(info.feet);
    out.bytes(info.setup);
    out.u16(info.fuelPlayer);
    out.u16(info.fuelComputer);
    out.u16(info.year);
    out.u8(info.practiceDay);
    out.u8(info.unused1867);
    for (const Bump& bump : info.bumps) {
        out.u16(bump.position);
        out.u16(bump.strength);
    }
    out.u8(info.bumpCountMinusOne);
    out.zeros(kTrackInfoTail);
    return out.take();
}

TrackInfo TrackInfoFromImage(std::span<const std::uint8_t> image)
{
    RequireSize(image, kTrackInfoSize, "A track information record");
    ByteReader in(image);
    TrackInfo info;
    ReadLapRecord(in, info.qualifying);
    ReadLapRecord(in, info.race);
    info.savegameByte = in.u8();
    info.laps = in.u8();
    for (int kind = 0; kind < kTrackTextKinds; ++kind)
        ReadTexts(in, info, kind);
    Read(in, info.fileName);
    info.grip = in.u16();
    for (std::uint16_t& w : info.strategies)
        w = in.u16();
    info.metres = in.u16();
    info.feet = in.u16();
    for (std::uint8_t& v : info.setup)
        v = in.u8();
    info.fuelPlayer = in.u16();
    info.fuelComputer = in.u16();
    info.year = in.u16();
    info.practiceDay = in.u8();
    info.unused1867 = in.u8();
    for (Bump& bump : info.bumps) {
        bump.position = in.u16();
        bump.strength = in.u16();
    }
    info.bumpCountMinusOne = in.u8();
    return info;
}

void ReadOldTrackInfo(TrackInfo& info, std::span<const std::uint8_t> image)
{
    RequireSize(image, kOldTrackInfoSize, "A track information record of the older carset format");
    ByteReader in(image);
    TrackInfo read = info;
    ReadLapRecord(in, read.qualifying);
    ReadLapRecord(in, read.race);
    read.savegameByte = in.u8();
    read.laps = in.u8();
    ReadTexts(in, read, kTrackCity);
    ReadTexts(in, read, kTrackCountry1);
    for (int kind = kTrackCountry1 + 1; kind < kTrackAttribute; ++kind)
        read.texts[static_cast<std::size_t>(kind)] = read.texts[kTrackCountry1];
    ReadTexts(in, read, kTrackAttribute);
    Read(in, read.fileName);
    read.grip = in.u16();
    for (std::uint16_t& w : read.strategies)
        w = in.u16();
    read.metres = in.u16();
    read.feet = in.u16();
    for (std::uint8_t& v : read.setup)
        v = in.u8();
    read.fuelPlayer = in.u16();
    read.fuelComputer = in.u16();
    read.year = in.u16();
    read.practiceDay = in.u8();
    info = read;
}

std::vector<std::uint8_t> TrackSecInfoImage(const TrackSecInfo& sections)
{
    ByteWriter out;
    for (const TrackView& view : sections.views) {
        out.u16(view.budget);
        out.u8(view.count);
        out.u8(view.unused);
        for (const TrackSection& s : view.sections) {
            out.bytes(s.label.bytes());
            out.u8(s.gear);
            out.u8(s.speed);
            out.u16(s.x1);
            out.u16(s.y1);
            out.u16(s.x2);
            out.u16(s.y2);
        }
    }
    return out.take();
}

TrackSecInfo TrackSecInfoFromImage(std::span<const std::uint8_t> image)
{
    RequireSize(image, kTrackSecInfoSize, "A track sections record");
    ByteReader in(image);
    TrackSecInfo sections;
    for (TrackView& view : sections.views) {
        view.budget = in.u16();
        view.count = in.u8();
        if (view.count > kMaxSections)
            view.count = kMaxSections;
        view.unused = in.u8();
        for (TrackSection& s : view.sections) {
            Read(in, s.label);
            s.gear = in.u8();
            s.speed = in.u8();
            s.x1 = in.u16();
            s.y1 = in.u16();
            s.x2 = in.u16();
            s.y2 = in.u16();
        }
    }
    return sections;
}

} // namespace pitwall
