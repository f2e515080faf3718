#pragma once
// A program of its own for a core test: its own directories, a demo
// installation, the session with every data area, and UI texts "T<n>" that
// name their number (with the placeholders the test's messages need), so a
// test reads which text a progress line or message used.

#include "TestSupport.h"

#include "base/FileUtils.h"
#include "session/Session.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pitwall::test {

// Records the progress lines and how far the loading window got.
class RecordingLoading : public LoadingWindow {
public:
    void begin(const std::string&, const std::string&, std::uint16_t t) override { total = t; }
    void setProgress(const std::string& text, int weight) override
    {
        lines.push_back(text);
        done += weight;
    }
    void end() override { ended = true; }
    std::vector<std::string> lines;
    int total = 0, done = 0;
    bool ended = false;
};

// What follows "T<n>" in text n, e.g. {349, " %s"}.
using TextPlaceholders = std::map<int, std::string>;

struct SessionFixture {
    TempDir root;
    ProgramState program;
    std::unique_ptr<Session> session;
    RecordingLoading loading;
    RecordingMessages messages;
    TransferUi ui{loading, messages};

    SessionFixture(int gameVersion, std::uint64_t seed, const TextPlaceholders& placeholders)
    {
        program.directories = ComputeProgramDirectories(root / "program", true, SystemEnvironment);
        std::vector<std::string> texts;
        for (int n = 0; n < 1152; ++n) {
            auto p = placeholders.find(n);
            texts.push_back("T" + std::to_string(n) + (p == placeholders.end() ? "" : p->second));
        }
        program.texts.assign(texts, "M");
        program.settings.gameDirectory = root / "game/";
        program.restorePointRoot = root / "restore";
        MakeDemo(program.settings.gameDirectory, gameVersion, seed);
        RecogniseGame(program);
        ForceDirectories(program.directories.staging);
        session = std::make_unique<Session>(program);
    }
    TransferEngine& engine() { return session->engine; }
    TransferState& transfer() { return session->workingSet.transfer; }
    std::string exe() const { return program.settings.gameDirectory + "GP3.EXE"; }
    std::string save() const { return program.settings.gameDirectory + "F1GSTATE.SAV"; }
    void select(const std::vector<int>& items)
    {
        transfer().selection = {};
        for (int n : items)
            transfer().selection[static_cast<std::size_t>(n)] = 1;
    }
};

} // namespace pitwall::test
