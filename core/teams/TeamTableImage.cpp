#include "teams/TeamTableImage.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"

#include <string>

namespace pitwall {

namespace {

template <std::size_t N>
void ReadText(ByteReader& in, FixedText<N>& field)
{
    field.setBytes(in.bytes(N).template first<N>());
}

template <std::size_t N>
void WriteText(ByteWriter& out, const FixedText<N>& field)
{
    out.bytes(field.bytes());
}

DriverRecord ReadDriver(ByteReader& in)
{
    DriverRecord d;
    ReadText(in, d.name);
    d.qp = in.u16();
    d.rp = in.u16();
    d.qa = in.u16();
    d.ra = in.u16();
    d.carNumber = in.u8();
    d.selected = in.u8();
    return d;
}

void WriteDriver(ByteWriter& out, const DriverRecord& d)
{
    WriteText(out, d.name);
    out.u16(d.qp);
    out.u16(d.rp);
    out.u16(d.qa);
    out.u16(d.ra);
    out.u8(d.carNumber);
    out.u8(d.selected);
}

} // namespace

std::vector<std::uint8_t> TeamTableImage(const TeamTable& table)
{
    ByteWriter out;
    for (const TeamRecord& team : table.teams) {
        WriteText(out, team.name);
        WriteText(out, team.engine);
        out.u16(team.failure);
        out.u16(team.tqp);
        out.u16(team.trp);
        for (const DriverRecord& d : team.drivers)
            WriteDriver(out, d);
        out.u8(team.tyreType);
        out.u8(team.pitPosition);
    }
    return out.take();
}

TeamTable TeamTableFromImage(std::span<const std::uint8_t> image)
{
    if (image.size() != kTeamTableImageSize)
        throw FormatError("teams and drivers data must be " + std::to_string(kTeamTableImageSize) + " bytes, not "
                          + std::to_string(image.size()));
    ByteReader in(image);
    TeamTable table;
    for (TeamRecord& team : table.teams) {
        ReadText(in, team.name);
        ReadText(in, team.engine);
        team.failure = in.u16();
        team.tqp = in.u16();
        team.trp = in.u16();
        for (DriverRecord& d : team.drivers)
            d = ReadDriver(in);
        team.tyreType = in.u8();
        team.pitPosition = in.u8();
    }
    return table;
}

} // namespace pitwall
