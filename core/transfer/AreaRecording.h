#pragma once
// An area's run on another thread: the progress lines it shows and the
// messages it gives are kept in their order instead, to be shown on the
// run's own thread when the area's turn comes. So the front end's windows
// are only ever touched from that thread, and the user reads the lines and
// messages in the order of the areas whatever finished first.

#include "base/Messages.h"
#include "transfer/DataArea.h"
#include "transfer/TransferUi.h"

#include <exception>
#include <string>
#include <vector>

namespace pitwall {

class AreaRecording : public LoadingWindow, public MessageSink {
public:
    void begin(const std::string&, const std::string&, std::uint16_t) override {}
    void end() override {}
    void setProgress(const std::string& text, int weight) override;
    void showMessage(const Message& message) override;
    // A question needs the user now, which this thread cannot reach: an area
    // that asks must not run beside the others.
    bool askYesNo(const Message& message) override;

    // What the area failed at, for the run's report; and an exception it let
    // out (other than those the run reports as failures itself).
    std::vector<TransferFailure> failures;
    std::exception_ptr escaped;

    // Shows the lines and messages in the order they came, and adds the
    // failures to the run's; an escaped exception is rethrown last.
    void replay(ProgressSink& loading, MessageSink& messages, std::vector<TransferFailure>& runFailures) const;

private:
    struct Shown {
        bool progress = false;
        int weight = 0;
        Message message; // a progress line's text is the message's
    };
    std::vector<Shown> shown_;
};

} // namespace pitwall
