// One member of a carset with any content, loaded with every item of a
// complete carset over a demo installation: whatever the bytes, every data
// area reads them or reports them, and the load ends (no fault, no hang, no
// allocation beyond the limit).
//
// Input: two bytes choose the member (of those a complete carset holds), the
// rest is its content. The carset written holds Header.DAT of the complete
// carset and that one member, so the areas of the other items report their
// members missing and the chosen one is parsed.

#include "DemoInstallation.h"
#include "app/ProgramDirectories.h"
#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "session/Session.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"

#include <filesystem>
#include <unistd.h>

using namespace pitwall;

namespace {

class QuietLoading : public LoadingWindow {
public:
    void begin(const std::string&, const std::string&, std::uint16_t) override {}
    void setProgress(const std::string&, int) override {}
    void end() override {}
};

class QuietMessages : public MessageSink {
public:
    void showMessage(const Message&) override {}
    bool askYesNo(const Message&) override { return true; }
};

struct World {
    std::string root;
    ProgramState program;
    std::unique_ptr<Session> session;
    QuietLoading loading;
    QuietMessages messages;
    TransferUi ui{loading, messages};
    std::vector<std::string> members;
    std::vector<std::uint8_t> header;

    World()
        : root(IncludeTrailingBackslash(
            PathString(std::filesystem::temp_directory_path() / ("pitwall-fuzz-world-" + std::to_string(getpid())))))
    {
        program.directories = ComputeProgramDirectories(root + "program", true, SystemEnvironment);
        std::vector<std::string> texts;
        for (int n = 0; n < 1152; ++n)
            texts.push_back("T" + std::to_string(n));
        program.texts.assign(texts, "M");
        program.settings.gameDirectory = root + "game/";
        program.restorePointRoot = root + "restore/";
        demo::WriteDemoInstallation(program.settings.gameDirectory, {2, 1});
        RecogniseGame(program);
        ForceDirectories(program.directories.staging);
        session = std::make_unique<Session>(program);

        // A complete carset of the demo: its member names and its header.
        session->workingSet.transfer.selection = session->engine.carriedItems();
        session->engine.importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
        session->workingSet.transfer.selection = session->workingSet.transfer.loaded;
        const std::string complete = root + "complete.GMS";
        session->engine.saveCarset(ItemChoice::AllHeld, complete, ui);
        CarsetArchive archive(complete, CarsetArchive::Mode::Read);
        for (const ArchiveMember& m : archive.members())
            if (m.name != kHeaderMember)
                members.push_back(m.name);
        header = archive.read(kHeaderMember, kHeaderSize);
    }
    ~World() { DeleteTree(root); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static World world;
    if (size < 2 || world.members.empty())
        return 0;
    const std::string& member = world.members[(std::size_t{data[0]} << 8 | data[1]) % world.members.size()];
    const std::string carset = world.root + "one.GMS";
    DeleteFileForced(carset);
    {
        CarsetArchive archive(carset, CarsetArchive::Mode::Create);
        archive.addBytes(kHeaderMember, world.header);
        archive.addBytes(member, std::vector<std::uint8_t>(data + 2, data + size));
        archive.close();
    }
    world.session->workingSet.transfer.selection = world.session->engine.carriedItems();
    world.session->engine.loadCarset(ItemChoice::AllHeld, carset, world.ui);
    return 0;
}
