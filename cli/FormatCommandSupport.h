#pragma once
// What the art, sound, text and track commands share: the core's messages
// caught so that a refusal becomes the command's one line of failure, and the
// game files named by --game.

#include "CliContext.h"

#include <string>
#include <vector>

namespace pitwall::cli {

// Collects what the core would show; questions are answered No.
class CapturedMessages : public MessageSink {
public:
    void showMessage(const Message& message) override { shown.push_back(message); }
    bool askYesNo(const Message& message) override
    {
        shown.push_back(message);
        return false;
    }
    std::vector<Message> shown;
};

// A messenger over the CLI's texts that keeps the messages for Fail().
class CommandMessages {
public:
    explicit CommandMessages(CliContext& context) : messenger_(context.texts, sink_) {}
    Messenger* get() { return &messenger_; }
    // What the core has shown so far.
    const std::vector<Message>& shown() const { return sink_.shown; }
    // After a success: what the core said on the way (such as a picture's
    // transparency put on black), as notes.
    void relay(const CliContext& context) const;
    // CommandFailure with the last message shown (UTF-8, one line), or `fallback`.
    [[noreturn]] void fail(const std::string& fallback) const;

private:
    CapturedMessages sink_;
    Messenger messenger_;
};

// A picture file the user hands in must be of a kind that is read (BMP, PNG,
// JPG): else CommandFailure with UI text 1202 naming the file.
void RequirePictureFile(const CliContext& context, const std::string& file);

// The real path of a game file below --game (which must be a directory).
std::string GameFile(const std::string& gameDirectory, const std::string& gameRelative);

} // namespace pitwall::cli
