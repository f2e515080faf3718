#pragma once
// What every CLI command gets: the UI texts (English when the language file
// is beside the executable), a message sink writing to stderr, and the
// streams to print to.

#include "base/InstallationLock.h"
#include "base/Messages.h"
#include "base/UITexts.h"

#include <ostream>
#include <string>

namespace pitwall::cli {

// Messages from the core go to stderr as one line each (UTF-8).
class StderrMessages : public MessageSink {
public:
    StderrMessages(std::ostream& err, const bool& quiet) : err_(err), quiet_(quiet) {}
    void showMessage(const Message& message) override;
    // A batch run answers Yes only when told to (--yes); otherwise the
    // question stops the command (CommandFailure naming it and the flag)
    // before anything is written. A question answered Yes is echoed as a
    // note, unless --quiet.
    bool askYesNo(const Message& message) override;
    bool answerYes = false;

private:
    std::ostream& err_;
    const bool& quiet_;
};

struct CliContext {
    std::ostream& out;
    std::ostream& err;
    // The directory of the executable, and the one with the program's data
    // (language files, palette, font): the same for a portable program,
    // share/pitwall beside bin/ for an installed one.
    std::string executableDirectory;
    std::string programDirectory;
    UITexts texts;
    // --quiet: data and errors only.
    bool quiet = false;
    StderrMessages sink{err, quiet};
    Messenger messenger{texts, sink};
    // --json on a showing command: data as one JSON document on stdout, and
    // a failure also as {"error": ...} there.
    bool json = false;
    // --verbose: notes in more detail (each file, each sound).
    bool verbose = false;
    // Where restore points are kept (--restore-dir); empty: the user's data
    // directory.
    std::string restoreRoot;
    // The game palette file named by --palette; empty: PITWALL_PALETTE, the
    // desktop program's choice, or the stand-in beside the program.
    std::string paletteFile;
    // Test hook (hidden option): the process kills itself after writing this
    // many game files of a run, as a crash would.
    int killAfterFiles = 0;
    // This command as a writer: the program, and its start as the run's.
    WriterInfo writer;
    // Test hook (hidden option): how long to wait for another writer.
    int lockWaitMilliseconds = 5000;
    // The exit status of a command that ran to its end: 0, or what the
    // command says by it (carset conflicts: 3 when carsets overlap).
    int exitStatus = 0;

    CliContext(std::ostream& o, std::ostream& e, const std::string& executableDir);

    // The desktop program's settings file (PITWALL.INI beside a portable
    // program, or in the user's config folder): read, never written here.
    std::string desktopSettingsFile() const;
};

// A command failed: the front end prints the reason as one line and exits 1.
class CommandFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace pitwall::cli
