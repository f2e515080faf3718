#include "SessionFixture.h"

#include "DemoInstallation.h"
#include "app/IniFile.h"
#include "base/FileUtils.h"
#include "session/Session.h"
#include "teams/TeamTableImage.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"
#include "transfer/SavegameChecksum.h"

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>

#include <filesystem>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <zip.h>

using namespace pitwall;

namespace {

// Texts that name their number, over a demo installation.
struct Fixture : test::SessionFixture {
    explicit Fixture(int gameVersion = 2, std::uint64_t seed = 1)
        : SessionFixture(gameVersion, seed, {{349, " %s"}, {939, " %d %d"}})
    {}
    void importItems(std::initializer_list<int> items)
    {
        select(items);
        ASSERT_EQ(engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui), TransferOutcome::Done);
    }
};

std::vector<std::string> MemberNames(const std::string& path)
{
    CarsetArchive a(path, CarsetArchive::Mode::Read);
    std::vector<std::string> names;
    for (const auto& m : a.members())
        names.push_back(m.name);
    return names;
}

// A zip written member by member with libzip, for carsets the program would
// never write.
void WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& members)
{
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, bytes] : members) {
        void* copy = std::malloc(bytes.size() + 1);
        std::memcpy(copy, bytes.data(), bytes.size());
        zip_source_t* src = zip_source_buffer(z, copy, bytes.size(), 1);
        zip_int64_t i = zip_file_add(z, name.c_str(), src, ZIP_FL_OVERWRITE);
        ASSERT_GE(i, 0) << name;
        zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(z), 0);
}

std::vector<std::uint8_t> Header(std::uint32_t format, std::initializer_list<int> items)
{
    CarsetHeader h;
    h.format = format;
    for (int n : items)
        h.items[static_cast<std::size_t>(n)] = 1;
    return CarsetHeaderImage(h);
}

// Rewrites the uncompressed size recorded for every member in a stored zip.
void PatchDeclaredSizes(const std::string& path, std::uint32_t size)
{
    auto bytes = test::ReadBytes(path);
    for (std::size_t i = 0; i + 30 < bytes.size(); ++i) {
        std::uint32_t sig =
            bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16) | (static_cast<std::uint32_t>(bytes[i + 3]) << 24);
        std::size_t at = sig == 0x04034b50 ? i + 22 : sig == 0x02014b50 ? i + 24 : 0;
        if (at)
            for (int k = 0; k < 4; ++k)
                bytes[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(size >> (8 * k));
    }
    test::WriteBytes(path, bytes);
}

// Rewrites the compression method recorded for every member of a stored zip,
// as if another tool had packed it that way.
[[maybe_unused]] void PatchMethod(const std::string& path, std::uint16_t method)
{
    auto bytes = test::ReadBytes(path);
    for (std::size_t i = 0; i + 30 < bytes.size(); ++i) {
        std::uint32_t sig =
            bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16) | (static_cast<std::uint32_t>(bytes[i + 3]) << 24);
        std::size_t at = sig == 0x04034b50 ? i + 8 : sig == 0x02014b50 ? i + 10 : 0;
        if (at) {
            bytes[at] = static_cast<std::uint8_t>(method);
            bytes[at + 1] = static_cast<std::uint8_t>(method >> 8);
        }
    }
    test::WriteBytes(path, bytes);
}

// Files this process writes may grow to `bytes` at most, as on a nearly full
// disk: a write beyond fails with EFBIG instead of raising SIGXFSZ.
#ifndef _WIN32
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};
#endif

std::string Shown(const test::RecordingMessages& messages)
{
    std::string all;
    for (const auto& m : messages.shown)
        all += m.text + "\n";
    return all;
}

} // namespace

TEST(Carset, TeamsTravelFromOneInstallationToAnother)
{
    Fixture a(2, 1);
    a.importItems({1});
    EXPECT_TRUE(a.transfer().isLoaded(1));
    std::string carset = a.root / "t.GMS";
    ASSERT_EQ(a.engine().saveCarset(ItemChoice::AllHeld, carset, a.ui), TransferOutcome::Done);

    EXPECT_EQ(MemberNames(carset), (std::vector<std::string>{"TeamsDrivers.DAT", "Header.DAT", "INFO.DAT"}));
    CarsetArchive archive(carset, CarsetArchive::Mode::Read);
    auto header = archive.read("Header.DAT", 360);
    ASSERT_EQ(header.size(), 360u);
    EXPECT_EQ(std::vector<std::uint8_t>(header.begin(), header.begin() + 4), (std::vector<std::uint8_t>{8, 0, 0, 0}));
    for (int n = 0; n < 256; ++n)
        EXPECT_EQ(header[4 + static_cast<std::size_t>(n)], n == 1 ? 1 : 0) << n;
    EXPECT_EQ(archive.read("TeamsDrivers.DAT", 2000), TeamTableImage(a.session->workingSet.teams));
#ifndef _WIN32 // Info-ZIP's unzip, the reference reader, is a Linux tool here
    EXPECT_EQ(std::system(("unzip -tqq '" + carset + "' > /dev/null").c_str()), 0);
#endif

    Fixture b(2, 2);
    auto exeBefore = test::ReadBytes(b.exe());
    auto saveBefore = test::ReadBytes(b.save());
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AllHeld, carset, b.ui), TransferOutcome::Done);
    EXPECT_EQ(b.session->workingSet.teams, a.session->workingSet.teams);
    ASSERT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::Done);

    // B's files now hold A's teams, and nothing else changed.
    Fixture check(2, 1);
    check.program.settings.gameDirectory = b.program.settings.gameDirectory;
    check.importItems({1});
    EXPECT_EQ(check.session->workingSet.teams, a.session->workingSet.teams);
    auto save = test::ReadBytes(b.save());
    EXPECT_EQ(StoredSavegameChecksum(save), ComputeSavegameChecksum(save));
    auto exe = test::ReadBytes(b.exe());
    std::size_t changedOutside = 0;
    const std::pair<std::size_t, std::size_t> teamBlocks[] = {
        {0x144D40, 242}, {0x73B7EA, 22}, {0x73B858, 44}, {0x73CA04, 11}};
    for (std::size_t i = 0; i < exe.size(); ++i) {
        bool inside = false;
        for (auto [at, len] : teamBlocks)
            inside = inside || (i >= at && i < at + len);
        changedOutside += !inside && exe[i] != exeBefore[i];
    }
    EXPECT_EQ(changedOutside, 0u);
}

TEST(Carset, ImportThenExportLeavesAnUntouchedInstallationByteIdentical)
{
    for (int version : {1, 2}) {
        Fixture f(version, 1);
        auto exe = test::ReadBytes(f.exe());
        auto save = test::ReadBytes(f.save());
        f.importItems({1});
        f.transfer().selection = f.transfer().loaded;
        ASSERT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Done);
        EXPECT_TRUE(test::ReadBytes(f.exe()) == exe) << version;
        EXPECT_TRUE(test::ReadBytes(f.save()) == save) << version;
        EXPECT_TRUE(f.messages.shown.empty());
        EXPECT_TRUE(f.loading.ended);
        EXPECT_EQ(f.loading.total, 1);
        EXPECT_TRUE(f.engine().lastReport().changes.empty()) << version;
    }
}

TEST(Carset, FormatsNothingLoadedAndDiskSpace)
{
    Fixture f;
    // Saving with nothing loaded: only the header (all zero) and the information.
    std::string empty = f.root / "empty.GMS";
    ASSERT_EQ(f.engine().saveCarset(ItemChoice::AllHeld, empty, f.ui), TransferOutcome::Done);
    EXPECT_EQ(MemberNames(empty), (std::vector<std::string>{"Header.DAT", "INFO.DAT"}));
    auto h = ParseCarsetHeader(CarsetArchive(empty, CarsetArchive::Mode::Read).read("Header.DAT", 360));
    ASSERT_TRUE(h);
    EXPECT_EQ(h->items, ItemBytes{});

    auto teams = TeamTableImage(f.session->workingSet.teams);
    std::string v7 = f.root / "v7.GMS";
    WriteZip(v7, {{"TeamsDrivers.DAT", teams}, {"Header.DAT", Header(7, {1})}});
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, v7, f.ui), TransferOutcome::Done);
    EXPECT_TRUE(f.transfer().isLoaded(1));

    std::string v6 = f.root / "v6.GMS";
    WriteZip(v6, {{"TeamsDrivers.DAT", teams}, {"Header.DAT", Header(6, {1})}});
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, v6, f.ui), TransferOutcome::Refused);
    EXPECT_EQ(f.messages.numbers(), std::vector<int>{938});
    EXPECT_FALSE(f.transfer().busy);

    // 3,000,000 bytes free, 1,000,000 bytes of members: "6" needed, "3" free.
    std::string big = f.root / "big.GMS";
    WriteZip(big, {{"Filler.DAT", std::vector<std::uint8_t>(1'000'000 - 360, 0)}, {"Header.DAT", Header(8, {})}});
    f.engine().setFreeSpace([](const std::string&) { return 3'000'000; });
    f.messages.answer = false;
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, big, f.ui), TransferOutcome::Cancelled);
    ASSERT_EQ(f.messages.asked.size(), 1u);
    EXPECT_EQ(f.messages.asked[0].number, 939);
    EXPECT_EQ(f.messages.asked[0].text, "T939 6 3");
    // Neither the refused nor the cancelled load became the current carset.
    EXPECT_EQ(f.program.currentCarsetFile, v7);
    f.messages.answer = true;
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, big, f.ui), TransferOutcome::Done);
    EXPECT_EQ(f.program.currentCarsetFile, big);
}

TEST(Carset, OnlyTheItemsAskedForAndHeld)
{
    Fixture f;
    auto teams = TeamTableImage(f.session->workingSet.teams);
    std::string carset = f.root / "c.GMS";
    WriteZip(carset, {{"TeamsDrivers.DAT", teams}, {"Header.DAT", Header(8, {1, 5})}});
    // An editor asks for items 5..7; the carset holds 1 and 5.
    f.transfer().selection = {};
    f.transfer().selection[5] = f.transfer().selection[6] = f.transfer().selection[7] = 1;
    // Only item 5 is both asked for and held; 6 and 7 are not in the carset
    // and item 1 was not asked for.
    f.engine().loadCarset(ItemChoice::AsSelected, carset, f.ui);
    EXPECT_TRUE(f.engine().lastReport().skipped.empty());
    EXPECT_FALSE(f.transfer().selected(1));
    EXPECT_FALSE(f.transfer().selected(6));
    EXPECT_FALSE(f.transfer().selected(7));
    EXPECT_FALSE(f.transfer().isLoaded(1));
    EXPECT_FALSE(f.transfer().isLoaded(6));
}

TEST(Carset, HostileCarsets)
{
    Fixture f;
    auto teams = TeamTableImage(f.session->workingSet.teams);
    std::string good = f.root / "good.GMS";
    WriteZip(good, {{"TeamsDrivers.DAT", teams}, {"Header.DAT", Header(8, {1})}, {"INFO.DAT", {'a', '\r', '\n'}}});
    ASSERT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, good, f.ui), TransferOutcome::Done);

    // Leftovers of that load decide nothing: no header in the archive is no carset.
    std::string noHeader = f.root / "noheader.GMS";
    WriteZip(noHeader, {{"TeamsDrivers.DAT", teams}});
    f.messages.shown.clear();
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, noHeader, f.ui), TransferOutcome::Refused);
    EXPECT_EQ(f.messages.numbers(), std::vector<int>{407});

    std::string notZip = f.root / "plain.GMS";
    test::WriteText(notZip, "not a zip at all");
    f.messages.shown.clear();
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, notZip, f.ui), TransferOutcome::Refused);
    EXPECT_EQ(f.messages.numbers(), std::vector<int>{407});

    // A member the header promises but the archive lacks is missing, even
    // though the earlier load left a TeamsDrivers.DAT in the working directory.
    f.session->workingSet.teams.teams[0].tqp = 1234;
    std::string lacking = f.root / "lacking.GMS";
    WriteZip(lacking, {{"Header.DAT", Header(8, {1})}});
    f.messages.shown.clear();
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, lacking, f.ui), TransferOutcome::DoneWithErrors);
    EXPECT_EQ(f.messages.numbers(), std::vector<int>{349});
    ASSERT_EQ(f.engine().lastReport().failures.size(), 1u);
    EXPECT_EQ(f.engine().lastReport().failures[0].item, 1);
    EXPECT_EQ(f.session->workingSet.teams.teams[0].tqp, 1234);

    // Names with directories or drives are never written anywhere.
    std::string paths = f.root / "paths.GMS";
    WriteZip(paths,
             {{"../escaped.DAT", teams},
              {"/tmp/absolute.DAT", teams},
              {"C:evil.DAT", teams},
              {"sub/TeamsDrivers.DAT", teams},
              {"Header.DAT", Header(8, {1})}});
    f.messages.shown.clear();
    f.engine().loadCarset(ItemChoice::AllHeld, paths, f.ui);
    EXPECT_EQ(f.messages.numbers(), std::vector<int>{349});
    EXPECT_FALSE(
        FileExists(f.program.directories.working.substr(0, f.program.directories.working.size() - 5) + "escaped.DAT"));
    EXPECT_EQ(ListFiles(f.program.directories.working, "*.DAT", true, false).size(), 1u); // Header.DAT only

    // Declared sizes that lie, or that no area needs, are refused before reading.
    for (std::uint32_t declared : {1000u, 0x7FFFFFFFu}) {
        std::string lying = f.root / ("lying" + std::to_string(declared) + ".GMS");
        WriteZip(lying, {{"TeamsDrivers.DAT", teams}});
        PatchDeclaredSizes(lying, declared);
        CarsetArchive archive(lying, CarsetArchive::Mode::Read);
        EXPECT_THROW(archive.read("TeamsDrivers.DAT", kTeamTableImageSize), CarsetError) << declared;
        EXPECT_THROW(archive.extract("TeamsDrivers.DAT", f.program.directories.working, kTeamTableImageSize),
                     CarsetError);
        EXPECT_FALSE(FileExists(f.program.directories.working + "TeamsDrivers.DAT"));
    }
    // A size of 0xFFFFFFFF announces a zip64 record that is not there: the
    // archive is called damaged, not missing.
    std::string marked = f.root / "marked.GMS";
    WriteZip(marked, {{"TeamsDrivers.DAT", teams}});
    PatchDeclaredSizes(marked, 0xFFFFFFFFu);
    try {
        CarsetArchive archive(marked, CarsetArchive::Mode::Read);
        ADD_FAILURE() << "the archive opened";
    } catch (const CarsetError& e) {
        EXPECT_NE(std::string(e.what()).find("damaged"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(f.transfer().busy);
}

TEST(Carset, EachLoadFailureSaysWhatHappened)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    Fixture f;
    auto teams = TeamTableImage(f.session->workingSet.teams);
    const std::string& working = f.program.directories.working;
    // A refused load leaves the carset loaded before as the current one (the
    // next export's restore point is named after it).
    auto refused = [&](const std::string& carset) {
        f.messages.shown.clear();
        const std::string current = f.program.currentCarsetFile;
        EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, carset, f.ui), TransferOutcome::Refused) << carset;
        EXPECT_EQ(f.messages.shown.size(), 1u) << Shown(f.messages);
        EXPECT_EQ(Shown(f.messages).find(working), std::string::npos) << Shown(f.messages);
        EXPECT_FALSE(f.transfer().busy);
        EXPECT_EQ(f.program.currentCarsetFile, current) << carset;
        return f.messages.shown.empty() ? Message{} : f.messages.shown[0];
    };

    // A recent carset whose file is gone.
    Message missing = refused(f.root / "nowhere.GMS");
    EXPECT_EQ(missing.number, 349);
    EXPECT_EQ(missing.text, "T349 " + f.root / "nowhere.GMS");
    EXPECT_EQ(f.program.currentCarsetFile, "");

    // A header packed with LZMA: loaded where libzip unpacks LZMA, named
    // with the reason where it does not.
    std::string lzma = f.root / "lzma.GMS";
    WriteZip(lzma, {{"Header.DAT", Header(8, {1})}, {"TeamsDrivers.DAT", teams}});
    if (zip_compression_method_supported(ZIP_CM_LZMA, 1)) {
        int error = 0;
        zip_t* z = zip_open(lzma.c_str(), 0, &error);
        ASSERT_NE(z, nullptr);
        for (zip_uint64_t i = 0; i < 2; ++i)
            ASSERT_EQ(zip_set_file_compression(z, i, ZIP_CM_LZMA, 0), 0);
        ASSERT_EQ(zip_close(z), 0);
        EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, lzma, f.ui), TransferOutcome::Done);
    } else {
        PatchMethod(lzma, ZIP_CM_LZMA);
        Message packed = refused(lzma);
        EXPECT_EQ(packed.number, -1);
        EXPECT_NE(packed.text.find("Header.DAT in lzma.GMS"), std::string::npos) << packed.text;
        EXPECT_NE(packed.text.find("LZMA"), std::string::npos) << packed.text;
    }

    // A member the header lists but the archive lacks is named in its carset.
    std::string lacking = f.root / "lacking.GMS";
    WriteZip(lacking, {{"Header.DAT", Header(8, {1})}});
    f.messages.shown.clear();
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, lacking, f.ui), TransferOutcome::DoneWithErrors);
    ASSERT_EQ(f.messages.numbers(), std::vector<int>{349});
    EXPECT_EQ(f.messages.shown[0].text, "T349 TeamsDrivers.DAT in lacking.GMS");
    EXPECT_EQ(f.program.currentCarsetFile, lacking); // it ran, if not in full
    refused(f.root / "nowhere.GMS");

    // No room in the working directory is not "not a carset".
    std::string good = f.root / "good.GMS";
    WriteZip(good, {{"Header.DAT", Header(8, {1})}, {"TeamsDrivers.DAT", teams}});
    Message full;
    {
        FileSizeLimit limit(100);
        full = refused(good);
    }
    EXPECT_EQ(full.number, -1);
    EXPECT_NE(full.text.find("working directory could not be written"), std::string::npos) << full.text;
    EXPECT_NE(full.text.find("Header.DAT in good.GMS: File too large"), std::string::npos) << full.text;
    EXPECT_TRUE(ListFiles(working, "*.*", true, false).empty());
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, good, f.ui), TransferOutcome::Done);
#endif
}

TEST(Carset, LinksInTheWorkingDirectoriesAreNotFollowed)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    Fixture f;
    auto teams = TeamTableImage(f.session->workingSet.teams);
    std::string carset = f.root / "c.GMS";
    WriteZip(carset, {{"Header.DAT", Header(8, {1})}, {"TeamsDrivers.DAT", teams}});
    const std::string& working = f.program.directories.working;
    const std::string& staging = f.program.directories.staging;
    // Another user planted links where members are unpacked and staged.
    std::vector<std::string> victims;
    auto plant = [&](const std::string& link) {
        victims.push_back(f.root / ("victim" + std::to_string(victims.size())));
        test::WriteText(victims.back(), "mine");
        ASSERT_EQ(::symlink(victims.back().c_str(), link.c_str()), 0) << link;
    };
    plant(working + "Header.DAT.part");
    plant(working + "TeamsDrivers.DAT.part");
    plant(working + "TeamsDrivers.DAT");
    plant(staging + "TeamsDrivers.DAT");
    plant(staging + "Header.DAT");

    ASSERT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, carset, f.ui), TransferOutcome::Done) << Shown(f.messages);
    EXPECT_TRUE(f.transfer().isLoaded(1));
    EXPECT_EQ(test::ReadBytes(working + "TeamsDrivers.DAT"), teams);
    struct stat st {};
    ASSERT_EQ(::lstat((working + "TeamsDrivers.DAT").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    ASSERT_EQ(f.engine().saveCarset(ItemChoice::AllHeld, f.root / "out.GMS", f.ui), TransferOutcome::Done)
        << Shown(f.messages);
    EXPECT_EQ(CarsetArchive(f.root / "out.GMS", CarsetArchive::Mode::Read).read("TeamsDrivers.DAT", 2000), teams);
    // Every member passed through the staging directory; none stays there.
    EXPECT_TRUE(std::filesystem::is_empty(NativePath(staging)));
    for (const auto& victim : victims)
        EXPECT_EQ(test::ReadText(victim), "mine") << victim;
#endif
}

TEST(Carset, AFullStagingDirectoryNamesTheMember)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    Fixture f;
    CarsetArchive archive(f.root / "s.GMS", CarsetArchive::Mode::Create);
    Messenger messenger(f.program.texts, f.messages);
    TransferContext context{f.transfer(), f.program, f.loading, messenger};
    context.target = &archive;
    FileSizeLimit limit(10);
    try {
        context.saveMember("TeamsDrivers.DAT", std::vector<std::uint8_t>(1122, 7));
        ADD_FAILURE() << "the write did not fail";
    } catch (const CarsetError& e) {
        EXPECT_EQ(e.kind(), CarsetError::Kind::Unwritable);
        EXPECT_NE(std::string(e.what()).find("TeamsDrivers.DAT in s.GMS: File too large"), std::string::npos)
            << e.what();
        EXPECT_EQ(std::string(e.what()).find(f.program.directories.staging), std::string::npos) << e.what();
    }
    EXPECT_FALSE(FileExists(f.program.directories.staging + "TeamsDrivers.DAT"));
#endif
}

TEST(Carset, RecordsALittleLongerAreReadShorterOnesAreNot)
{
    Fixture f;
    f.session->workingSet.teams.teams[0].tqp = 777;
    auto teams = TeamTableImage(f.session->workingSet.teams);
    f.session->workingSet.teams.teams[0].tqp = 1;

    // Another tool's carset: one byte more in the header and in the record.
    auto header = Header(8, {1});
    header.push_back(0);
    auto longer = teams;
    longer.push_back(0);
    std::string carset = f.root / "other.GMS";
    WriteZip(carset, {{"TeamsDrivers.DAT", longer}, {"Header.DAT", header}});
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, carset, f.ui), TransferOutcome::Done);
    EXPECT_EQ(f.session->workingSet.teams.teams[0].tqp, 777);

    // A record cut short is refused and named; the teams stay as they were.
    f.session->workingSet.teams.teams[0].tqp = 1;
    auto shorter = teams;
    shorter.pop_back();
    std::string cut = f.root / "cut.GMS";
    WriteZip(cut, {{"TeamsDrivers.DAT", shorter}, {"Header.DAT", Header(8, {1})}});
    f.messages.shown.clear();
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, cut, f.ui), TransferOutcome::DoneWithErrors);
    EXPECT_NE(Shown(f.messages).find("TeamsDrivers.DAT in cut.GMS holds 1121 bytes"), std::string::npos)
        << Shown(f.messages);
    EXPECT_EQ(f.session->workingSet.teams.teams[0].tqp, 1);
}
