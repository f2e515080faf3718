#include "graphics/CarNumbers.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "graphics/GraphicsOffsets.h"
#include "transfer/GameFile.h"

namespace pitwall {

namespace {
constexpr int kSourceInts = 24;
}

std::vector<std::uint8_t> CarNumbersImage(const CarNumberTable& table)
{
    ByteWriter w;
    for (const CarNumberRecord& record : table)
        for (std::int32_t value : record)
            w.u32(static_cast<std::uint32_t>(value));
    return w.take();
}

CarNumberTable CarNumbersFromImage(std::span<const std::uint8_t> bytes)
{
    ByteReader r(bytes);
    CarNumberTable table{};
    for (CarNumberRecord& record : table)
        for (std::int32_t& value : record)
            value = static_cast<std::int32_t>(r.u32());
    return table;
}

CarNumberTable ReadCarNumbers(const GameFile& exe, std::uint32_t offset)
{
    // Both tables at once, so a short file leaves nothing half read.
    const std::vector<std::uint8_t> bytes = exe.read(offset, kCarNumbersBytes);
    ByteReader r(bytes);
    CarNumberTable table{};
    for (CarNumberRecord& record : table)
        for (int i = 0; i < kSourceInts; ++i)
            record[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(r.u32());
    for (CarNumberRecord& record : table)
        for (int i = kSourceInts; i < kCarNumberInts; ++i)
            record[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(r.u32());
    return table;
}

void WriteCarNumbers(const CarNumberTable& table, GameFile& exe, std::uint32_t offset)
{
    ByteWriter w;
    for (const CarNumberRecord& record : table)
        for (int i = 0; i < kSourceInts; ++i)
            w.u32(static_cast<std::uint32_t>(record[static_cast<std::size_t>(i)]));
    for (const CarNumberRecord& record : table)
        for (int i = kSourceInts; i < kCarNumberInts; ++i)
            w.u32(static_cast<std::uint32_t>(record[static_cast<std::size_t>(i)]));
    exe.write(offset, w.take());
}

} // namespace pitwall
