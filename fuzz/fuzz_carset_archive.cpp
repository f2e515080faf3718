// The member table of a carset through CarsetArchive: any bytes are either
// refused as no zip archive (CarsetError) or give a member list; every member
// is either read with exactly its listed size or refused with CarsetError,
// never more than the caller allows. Header.DAT and INFO.DAT go on through
// their parsers as a carset load takes them.

#include "FuzzTempFile.h"

#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"
#include "transfer/CarsetInfo.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::TempFile file("carset.GMS");
    constexpr std::uint64_t kMaxMember = 1u << 20;
    file.write(data, size);
    try {
        CarsetArchive archive(file.path(), CarsetArchive::Mode::Read);
        for (const ArchiveMember& member : archive.members()) {
            if (!IsBareMemberName(member.name)) {
                if (archive.contains(member.name))
                    std::abort();
                continue;
            }
            try {
                auto bytes = archive.read(member.name, kMaxMember);
                if (bytes.size() > kMaxMember)
                    std::abort();
            } catch (const CarsetError&) {}
        }
        if (archive.contains(kHeaderMember)) {
            try {
                ParseCarsetHeader(archive.read(kHeaderMember, kHeaderSize));
            } catch (const CarsetError&) {}
        }
        if (archive.contains(kInfoMember)) {
            try {
                auto bytes = archive.read(kInfoMember, kMaxMember);
                ParseCarsetInfo(std::string(bytes.begin(), bytes.end()));
            } catch (const CarsetError&) {}
        }
    } catch (const CarsetError&) {}
    return 0;
}
