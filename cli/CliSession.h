#pragma once
// A program session for one command: the game directory from --game, the
// CLI's language texts, and a private working directory of its own (so a
// running desktop editor's TEMP is never touched): a new directory with a
// random name below the system's temporary directory, owner-only, removed
// however the command ends, a failed start included.

#include "CliContext.h"
#include "GameWrites.h"

#include "base/PrivateDirectory.h"
#include "session/Session.h"
#include "transfer/SelectionItems.h"
#include "transfer/TransferUi.h"

#include <memory>
#include <string>
#include <vector>

namespace pitwall::cli {

// Progress lines of a transfer on stderr (unless --quiet).
class TextLoadingWindow : public LoadingWindow {
public:
    TextLoadingWindow(std::ostream& err, bool quiet) : err_(err), quiet_(quiet) {}
    void begin(const std::string& caption, const std::string& firstLine, std::uint16_t total) override;
    void setProgress(const std::string& text, int weight) override;
    void end() override {}

private:
    std::ostream& err_;
    bool quiet_;
    int done_ = 0;
    int total_ = 0;
};

class CliSession {
public:
    // With a game directory, it must be a recognised installation
    // (CommandFailure otherwise); without one, only carset work is possible.
    CliSession(CliContext& context, const std::string& gameDirectory);

    Session& session() { return *session_; }
    WorkingSet& workingSet() { return session_->workingSet; }
    TransferEngine& engine() { return session_->engine; }
    TransferUi& ui() { return ui_; }

    // Turns a refusal or a failure of the last run into CommandFailure,
    // listing each (the messages went to stderr already). Items that no area
    // carries yet are noted and the command goes on; finish() then fails
    // with the list, so the exit status is 1 whenever anything asked for was
    // not done.
    void require(TransferOutcome outcome, const std::string& what);
    // Names the restore point the session's export made, if any, and fails
    // with what was not done.
    void finish();
    // Items named in `list` that this game's version does not have (v1.00
    // lacks some texts and LCD displays) are said and left out; "all" means
    // whatever the version has. CommandFailure when nothing named is left.
    void leaveOutItemsTheGameLacks(ItemBytes& selection, const std::string& list);
    // After a successful export: names the restore point it made.
    void tellRestorePoint() const { observer_.tellRestorePoint(); }

private:
    std::vector<std::string> describe(const TransferReport& report) const;

    CliContext& context_;
    // Constructed first and destroyed last, so the directory goes even when
    // the rest of the constructor throws.
    PrivateDirectory working_;
    ProgramState program_;
    std::unique_ptr<Session> session_;
    TextLoadingWindow loading_;
    CliCommitObserver observer_;
    TransferUi ui_;
    std::vector<std::string> unfinished_;
};

// "1,2,11-21" or "all" (lowest..highest). A bad list or a number out of
// range is a usage error (CLI::ValidationError, exit status 2).
std::vector<int> ParseNumberList(const std::string& list, int lowest, int highest, const char* what);

} // namespace pitwall::cli
