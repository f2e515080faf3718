#pragma once
// One image entry of an 8-bit JAM: 32 bytes describing where the image lies
// on the page and where its colour tables are. Bytes the program does not
// interpret are kept and written back as read.
//
//  0  u8   left column x         12  u16  table offset (from the end of the entries)
//  1  u16  top row y             14  u16  kept
//  3  u8   kept                  16  u16  table size s (0: no tables)
//  4  u16  width                 18  u16  texture id
//  6  u16  height                20  12   kept
//  8  4    kept

#include "base/ByteReader.h"
#include "base/ByteWriter.h"

#include <array>
#include <cstdint>

namespace pitwall {

struct JamEntry {
    static constexpr std::size_t kSize = 32;

    std::uint8_t x = 0;
    std::uint16_t y = 0;
    std::uint8_t kept3 = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::array<std::uint8_t, 4> kept8{};
    std::uint16_t tableOffset = 0;
    std::uint16_t kept14 = 0;
    std::uint16_t tableSize = 0;
    std::uint16_t textureId = 0;
    std::array<std::uint8_t, 12> kept20{};

    static JamEntry Read(ByteReader& r)
    {
        JamEntry e;
        e.x = r.u8();
        e.y = r.u16();
        e.kept3 = r.u8();
        e.width = r.u16();
        e.height = r.u16();
        auto k8 = r.bytes(4);
        std::copy(k8.begin(), k8.end(), e.kept8.begin());
        e.tableOffset = r.u16();
        e.kept14 = r.u16();
        e.tableSize = r.u16();
        e.textureId = r.u16();
        auto k20 = r.bytes(12);
        std::copy(k20.begin(), k20.end(), e.kept20.begin());
        return e;
    }

    void write(ByteWriter& w) const
    {
        w.u8(x);
        w.u16(y);
        w.u8(kept3);
        w.u16(width);
        w.u16(height);
        w.bytes(kept8);
        w.u16(tableOffset);
        w.u16(kept14);
        w.u16(tableSize);
        w.u16(textureId);
        w.bytes(kept20);
    }

    bool operator==(const JamEntry&) const = default;
};

} // namespace pitwall
