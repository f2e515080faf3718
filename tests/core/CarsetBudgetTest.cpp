// Carsets from anyone: what their members unpack to is checked against the
// carset's budgets before any of them is held, and members that are not what
// their names say are refused before the working set or the installation
// sees them.

#include "MemoryLimit.h"
#include "TransferFixture.h"

#include "formats/SoundBank.h"
#include "graphics/TeamJams.h"
#include "sounds/SoundsArea.h"
#include "tracks/TrackJams.h"
#include "tracks/TracksArea.h"
#include "transfer/CarsetHeader.h"

#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>

using namespace pitwall;
using test::TransferFixture;

namespace {

constexpr std::size_t kPeak = 500u << 20;

// Members by name; several may share one buffer, which outlives the call.
using Members = std::vector<std::pair<std::string, const std::vector<std::uint8_t>*>>;

void WriteZip(const std::string& path, const Members& members)
{
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, bytes] : members) {
        zip_source_t* src = zip_source_buffer(z, bytes->data(), bytes->size(), 0);
        ASSERT_GE(zip_file_add(z, name.c_str(), src, ZIP_FL_OVERWRITE), 0) << name;
        zip_set_file_compression(z, static_cast<zip_uint64_t>(zip_name_locate(z, name.c_str(), 0)), ZIP_CM_DEFLATE, 1);
    }
    ASSERT_EQ(zip_close(z), 0);
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> Header(std::initializer_list<int> items)
{
    CarsetHeader h;
    for (int n : items)
        h.items[static_cast<std::size_t>(n)] = 1;
    return CarsetHeaderImage(h);
}

std::string Shown(const TransferFixture& f)
{
    std::string all;
    for (const auto& m : f.messages.shown)
        all += m.text + "\n";
    return all;
}

bool Says(const TransferFixture& f, std::initializer_list<const char*> parts)
{
    const std::string shown = Shown(f);
    for (const char* part : parts)
        if (shown.find(part) == std::string::npos)
            return false;
    return true;
}

std::vector<std::uint8_t> RandomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

// A working sound file with one header field changed.
std::vector<std::uint8_t> PatchedWav(std::size_t at, std::uint32_t value, int width)
{
    auto wav = MakeSoundWav({4, 22050, 0, 8}, std::vector<std::uint8_t>{1, 2, 3, 4});
    for (int i = 0; i < width; ++i)
        wav[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return wav;
}

} // namespace

TEST(CarsetBudget, SoundsBeyondWhatTheBankTakesAreRefusedBeforeTheyAreUnpacked)
{
    TransferFixture f;
    ASSERT_EQ(f.importItems({kSoundsItem}), TransferOutcome::Done);
    const auto bank = test::ReadBytes(f.game("SAMPLES/GP3SOUND.DAT"));
    const auto sound0 = test::ReadBytes(f.work("Sound0.DAT"));
    // Records claiming 4 GB each; three sounds of 64 MB of silence that
    // deflate to a few hundred kilobytes.
    const auto table = BuildSoundsDat(std::vector<SoundEntry>(16, SoundEntry{0xFFFFFFFF, 22050, 0, 8}));
    std::vector<std::uint8_t> silence(kMaxSoundWavBytes - kWavHeaderSize, 0x80);
    silence = MakeSoundWav({static_cast<std::uint32_t>(silence.size()), 22050, 0, 8}, silence);
    const auto header = Header({kSoundsItem});
    const std::string carset = f.root / "loud.GMS";
    WriteZip(carset,
             {{kHeaderMember, &header},
              {kSoundsMember, &table},
              {"Sound0.DAT", &silence},
              {"Sound1.DAT", &silence},
              {"Sound2.DAT", &silence}});
    silence = {};
    EXPECT_LT(FileSizeOf(carset), 2'000'000u);

    auto refused = [&] {
        return f.loadCarset(carset) == TransferOutcome::DoneWithErrors && Says(f, {"loud.GMS", "128 MB"})
            && test::ReadBytes(f.work("Sound0.DAT")) == sound0 && f.exportAll() == TransferOutcome::Done
            && test::ReadBytes(f.game("SAMPLES/GP3SOUND.DAT")) == bank;
    };
    EXPECT_TRUE(test::PassesWithinMemory(kPeak, refused));
    EXPECT_TRUE(refused()) << Shown(f);
}

TEST(CarsetBudget, SoundMembersGetTheChecksOfEveryWavFile)
{
    TransferFixture f;
    ASSERT_EQ(f.importItems({kSoundsItem}), TransferOutcome::Done);
    const SoundTable before = f.set().sounds;
    const auto sound3 = test::ReadBytes(f.work("Sound3.DAT"));
    const auto table = BuildSoundsDat(before.entries);
    const auto header = Header({kSoundsItem});
    const auto good = MakeSoundWav({4, 11025, 0, 16}, std::vector<std::uint8_t>{1, 2, 3, 4});
    struct Case {
        const char* what;
        std::vector<std::uint8_t> member;
        const char* reason;
    };
    const Case cases[] = {
        {"random bytes", RandomBytes(1000, 3), "header"},
        {"no bits, nine channels",
         [] {
             auto w = PatchedWav(34, 0, 2);
             w[22] = 9;
             return w;
         }(),
         "channels"},
        {"no bits", PatchedWav(34, 0, 2), "bits"},
        {"a rate of 4 GHz", PatchedWav(24, 0xFFFFFFFF, 4), "sample rate"},
        {"a fmt chunk of 4 GB", PatchedWav(16, 0xFFFFFFF0, 4), "chunk"},
    };
    for (const Case& c : cases) {
        f.messages.shown.clear();
        const std::string carset = f.root / "bad.GMS";
        WriteZip(carset,
                 {{kHeaderMember, &header}, {kSoundsMember, &table}, {"Sound1.DAT", &good}, {"Sound3.DAT", &c.member}});
        EXPECT_EQ(f.loadCarset(carset), TransferOutcome::DoneWithErrors) << c.what;
        EXPECT_TRUE(Says(f, {"Sound3.DAT in bad.GMS", c.reason})) << c.what << ": " << Shown(f);
        // Nothing of the carset's sounds was taken, not even the good one.
        EXPECT_EQ(f.set().sounds.entries, before.entries) << c.what;
        EXPECT_EQ(test::ReadBytes(f.work("Sound3.DAT")), sound3) << c.what;
        EXPECT_NE(test::ReadBytes(f.work("Sound1.DAT")), good) << c.what;
    }

    // The good sound alone is taken, as its own header says.
    const std::string carset = f.root / "good.GMS";
    WriteZip(carset, {{kHeaderMember, &header}, {kSoundsMember, &table}, {"Sound1.DAT", &good}});
    ASSERT_EQ(f.loadCarset(carset), TransferOutcome::Done) << Shown(f);
    EXPECT_EQ(f.set().sounds.entries[1], (SoundEntry{4, 11025, before.entries[1].keptWord, 16}));
    EXPECT_EQ(test::ReadBytes(f.work("Sound1.DAT")), good);
}

TEST(CarsetBudget, TrackJamsBeyondWhatTracksUseAreRefusedAndNothingIsWritten)
{
    TransferFixture f;
    const auto header = Header({kTrackJamsItem});
    const std::vector<std::uint8_t> zeros(kMaxTrackJamBytes, 0);
    auto listing = [&](int count, const std::string& prefix) {
        std::string info = "[Track0]\r\nNumJAMs=" + std::to_string(count) + "\r\n";
        for (int i = 0; i < count; ++i)
            info += "JAM" + std::to_string(i) + "=GP3JAMS+" + prefix + std::to_string(i) + ".JAM\r\n";
        return Bytes(info);
    };
    auto jamFiles = [&] { return ListFiles(f.game("GP3JAMS/"), "*", true, false).size(); };
    const std::size_t jamsBefore = jamFiles();

    // Twenty JAMs of 8 MB of zeros: 160 MB held until they are exported.
    const auto many = listing(20, "BOMB");
    Members members = {{kHeaderMember, &header}, {kTrackJamInfoMember, &many}};
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i)
        names.push_back("GP3JAMS+BOMB" + std::to_string(i) + ".JAM");
    for (const auto& name : names)
        members.push_back({name, &zeros});
    const std::string carset = f.root / "heavy.GMS";
    WriteZip(carset, members);
    EXPECT_LT(FileSizeOf(carset), 1'000'000u);
    auto refused = [&] {
        f.messages.shown.clear();
        return f.loadCarset(carset) == TransferOutcome::DoneWithErrors && Says(f, {"heavy.GMS", "160 MB", "128 MB"})
            && f.set().tracks.carsetJams.empty() && (f.set().transfer.selection = f.set().transfer.loaded, true)
            && f.exportAll() == TransferOutcome::Done && jamFiles() == jamsBefore;
    };
    EXPECT_TRUE(test::PassesWithinMemory(kPeak, refused));
    EXPECT_TRUE(refused()) << Shown(f);

    // More JAMs than a track uses, however small.
    const auto crowded = listing(static_cast<int>(kMaxJamsPerTrack) + 1, "X");
    const std::vector<std::uint8_t> tiny = {1};
    const std::string crowdedCarset = f.root / "crowded.GMS";
    WriteZip(crowdedCarset, {{kHeaderMember, &header}, {kTrackJamInfoMember, &crowded}, {"GP3JAMS+X0.JAM", &tiny}});
    f.messages.shown.clear();
    EXPECT_EQ(f.loadCarset(crowdedCarset), TransferOutcome::DoneWithErrors);
    EXPECT_TRUE(Says(f, {"track 1", "257", "at most 256"})) << Shown(f);
    EXPECT_TRUE(f.set().tracks.carsetJams.empty());
}

TEST(CarsetBudget, TrackJamMembersMustBeJams)
{
    TransferFixture f;
    const auto header = Header({kTrackJamsItem});
    const auto info = Bytes("[Track0]\r\nNumJAMs=3\r\nJAM0=GP3JAMS+PWNED17.EXE\r\nJAM1=GP3JAMS+.JAM\r\n"
                            "JAM2=GP3JAMS+fine.jam\r\n");
    const auto program = Bytes("MZ not a texture");
    const auto texture = Bytes("a texture");
    const std::string carset = f.root / "exe.GMS";
    WriteZip(carset,
             {{kHeaderMember, &header},
              {kTrackJamInfoMember, &info},
              {"GP3JAMS+PWNED17.EXE", &program},
              {"GP3JAMS+.JAM", &program},
              {"GP3JAMS+fine.jam", &texture}});
    EXPECT_EQ(f.loadCarset(carset), TransferOutcome::DoneWithErrors);
    EXPECT_TRUE(Says(f, {"GP3JAMS+PWNED17.EXE in exe.GMS is refused: it is not a .JAM file"})) << Shown(f);
    EXPECT_TRUE(Says(f, {"GP3JAMS+.JAM in exe.GMS is refused"})) << Shown(f);
    f.set().transfer.selection = f.set().transfer.loaded;
    f.messages.shown.clear();
    EXPECT_EQ(f.exportAll(), TransferOutcome::Done) << Shown(f);
    EXPECT_FALSE(FileExists(f.game("GP3JAMS/PWNED17.EXE")));
    EXPECT_FALSE(FileExists(f.game("GP3JAMS/.JAM")));
    EXPECT_EQ(test::ReadText(f.game("GP3JAMS/fine.jam")), "a texture");
}

TEST(CarsetBudget, ACarsetDeclaringMoreThanItMayHoldIsNotLoaded)
{
    TransferFixture f;
    ASSERT_EQ(f.importItems({kSoundsItem}), TransferOutcome::Done);
    const auto header = Header({kSoundsItem});
    const auto padding = Bytes("padding");
    const std::string carset = f.root / "liar.GMS";
    WriteZip(carset, {{kHeaderMember, &header}, {"Padding.DAT", &padding}});
    // The directory's uncompressed size of the last member, in its local
    // header and in the central directory: about 4 GB.
    auto zip = test::ReadBytes(carset);
    auto patch = [&](std::uint32_t signature, std::size_t offset) {
        std::size_t last = std::string::npos;
        for (std::size_t i = 0; i + 4 <= zip.size(); ++i)
            if (zip[i] == (signature & 0xFF) && zip[i + 1] == ((signature >> 8) & 0xFF)
                && zip[i + 2] == ((signature >> 16) & 0xFF) && zip[i + 3] == (signature >> 24))
                last = i;
        ASSERT_NE(last, std::string::npos);
        for (int b = 0; b < 4; ++b)
            zip[last + offset + static_cast<std::size_t>(b)] = 0xF0 | (b == 0 ? 0 : 0x0F);
    };
    patch(0x04034b50, 22);
    patch(0x02014b50, 24);
    test::WriteBytes(carset, zip);
    EXPECT_EQ(f.loadCarset(carset), TransferOutcome::Refused);
    EXPECT_TRUE(Says(f, {"liar.GMS", "1000 MB"})) << Shown(f);
}

TEST(CarsetBudget, TeamJamsBeyondWhatTeamsUseAreRefusedAndNothingIsWritten)
{
    TransferFixture f;
    // One of the game's 16-bit JAMs with zeros after it: it still reads as
    // that JAM, and the program would keep the bytes as the carset has them.
    const auto jam = test::ReadBytes(f.game("GP3JAMSH/Liveries/WILLIA98.JAM"));
    std::vector<std::uint8_t> padded = jam;
    padded.resize(8'000'000, 0);
    std::vector<std::uint8_t> lightly = jam;
    lightly.resize(1'000'000, 0);
    CarsetHeader header;
    std::vector<std::string> names;
    for (JamGroup group : {JamGroup::CarLiveries, JamGroup::CockpitLiveries, JamGroup::Jacks, JamGroup::Helmets})
        for (const JamItem& item : JamItemsOf(group))
            if (item.hardware) {
                header.items[static_cast<std::size_t>(item.item)] = 1;
                for (const JamFileSlot& file : item.files)
                    names.push_back(JamMemberName(file, true));
            }
    const auto headerImage = CarsetHeaderImage(header);
    auto write = [&](const std::string& carset, const std::vector<std::uint8_t>& member) {
        Members members = {{kHeaderMember, &headerImage}};
        for (const auto& name : names)
            members.push_back({name, &member});
        WriteZip(carset, members);
    };
    const std::string heavy = f.root / "heavy.GMS";
    write(heavy, padded);
    EXPECT_LT(FileSizeOf(heavy), 4'000'000u);
    padded = {};
    auto hardwareJams = [&] {
        std::map<std::string, std::vector<std::uint8_t>> files;
        for (const auto& file : ListFiles(f.game("GP3JAMSH/"), "*", true, false))
            files[file] = test::ReadBytes(file);
        return files;
    };
    const auto before = hardwareJams();
    const std::string limit = "The team JAMs of heavy.GMS are not loaded: together they hold "
        + std::to_string(names.size() * 8) + " MB, more than the teams of a carset use (64 MB).";

    // Told once, though four groups of items were asked for; nothing held,
    // nothing written.
    auto refused = [&] {
        f.messages.shown.clear();
        if (f.loadCarset(heavy) != TransferOutcome::DoneWithErrors)
            return false;
        const std::size_t told = std::count_if(f.messages.shown.begin(), f.messages.shown.end(),
                                               [&](const Message& m) { return m.text == limit; });
        f.set().transfer.selection = f.set().transfer.loaded;
        return told == 1 && f.exportAll() == TransferOutcome::Done && hardwareJams() == before;
    };
    EXPECT_TRUE(test::PassesWithinMemory(kPeak, refused));
    EXPECT_TRUE(refused()) << Shown(f);

    // The same JAMs with room to spare are taken.
    const std::string fine = f.root / "fine.GMS";
    write(fine, lightly);
    f.messages.shown.clear();
    EXPECT_EQ(f.loadCarset(fine), TransferOutcome::Done) << Shown(f);
}
