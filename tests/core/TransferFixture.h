#pragma once
// A program with its own directories, texts that name their number, and a
// demo installation, for tests that run whole transfers.

#include "TestSupport.h"

#include "base/FileUtils.h"
#include "session/Session.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <zip.h>

namespace pitwall::test {

class QuietLoading : public LoadingWindow {
public:
    void begin(const std::string&, const std::string&, std::uint16_t) override {}
    void setProgress(const std::string& text, int) override { lines.push_back(text); }
    void end() override {}
    std::vector<std::string> lines;
};

struct TransferFixture {
    TempDir root;
    ProgramState program;
    std::unique_ptr<Session> session;
    QuietLoading loading;
    RecordingMessages messages;
    TransferUi ui{loading, messages};

    explicit TransferFixture(std::uint64_t seed = 1, int gameVersion = 2)
    {
        program.directories = ComputeProgramDirectories(root / "program", true, SystemEnvironment);
        std::vector<std::string> texts;
        for (int n = 0; n < 1152; ++n)
            texts.push_back("T" + std::to_string(n)
                            + (n == 349 || n == 668                   ? " %s"
                                   : n == 242 || n == 932 || n == 659 ? " %d"
                                   : n == 661                         ? " %d %d"
                                                                      : ""));
        program.texts.assign(texts, "M");
        program.settings.gameDirectory = root / "game/";
        MakeDemo(program.settings.gameDirectory, gameVersion, seed);
        RecogniseGame(program);
        ForceDirectories(program.directories.staging);
        session = std::make_unique<Session>(program);
    }
    TransferEngine& engine() { return session->engine; }
    WorkingSet& set() { return session->workingSet; }
    std::string game(const std::string& relative) const { return program.settings.gameDirectory + relative; }
    std::string work(const std::string& name) const { return program.directories.working + name; }

    void select(std::initializer_list<int> items)
    {
        set().transfer.selection = {};
        for (int n : items)
            set().transfer.selection[static_cast<std::size_t>(n)] = 1;
    }
    TransferOutcome importItems(std::initializer_list<int> items)
    {
        select(items);
        return engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    }
    // Exports and carset saves take every loaded item.
    TransferOutcome exportAll() { return engine().exportToGame(ItemChoice::AsSelected, ui); }
    TransferOutcome saveCarset(const std::string& file) { return engine().saveCarset(ItemChoice::AllHeld, file, ui); }
    TransferOutcome loadCarset(const std::string& file) { return engine().loadCarset(ItemChoice::AllHeld, file, ui); }
};

// Takes members out of a carset, as a carset made by another tool (or cut
// short by hand) lacks them.
inline void RemoveMembers(const std::string& carset, std::initializer_list<std::string> names)
{
    int error = 0;
    zip_t* z = zip_open(carset.c_str(), 0, &error);
    ASSERT_NE(z, nullptr);
    for (const std::string& name : names) {
        const zip_int64_t index = zip_name_locate(z, name.c_str(), 0);
        ASSERT_GE(index, 0) << name;
        ASSERT_EQ(zip_delete(z, static_cast<zip_uint64_t>(index)), 0) << name;
    }
    ASSERT_EQ(zip_close(z), 0);
}

} // namespace pitwall::test
