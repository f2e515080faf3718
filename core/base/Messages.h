#pragma once
// How the core tells the user something. The front ends implement these small
// interfaces (message boxes in the desktop editor, stderr in the CLI); tests
// record what was shown.

#include "base/DelphiFormat.h"

#include <string>

namespace pitwall {

class UITexts;

// A message as shown: the UI text number it came from (-1 for the few fixed
// texts that exist before any language file is loaded) and its Windows-1252
// text with the placeholders filled.
struct Message {
    int number = -1;
    std::string text;
    // A question about something that cannot simply be taken back (a
    // carset removed, an installation put back): No is the answer Enter gives.
    bool noByDefault = false;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // An information box with one OK button.
    virtual void showMessage(const Message& message) = 0;
    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const Message& message) = 0;
};

// Progress of a long run: the loading window's SetProgress(text, weight).
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setProgress(const std::string& text, int weight) = 0;
    // Called often during long steps between two progress lines; the
    // desktop lets its windows repaint there.
    virtual void keepAlive() {}
};

// Looks up UI texts and hands the result to a sink: what every core routine
// that shows a message takes.
class Messenger {
public:
    Messenger(const UITexts& texts, MessageSink& sink) : texts_(texts), sink_(sink) {}

    void show(int number, const FormatArgs& args = {});
    bool ask(int number, const FormatArgs& args = {});
    bool askNoByDefault(int number, const FormatArgs& args = {});
    void showFixed(std::string text);

    const UITexts& texts() const { return texts_; }
    MessageSink& sink() { return sink_; }

private:
    const UITexts& texts_;
    MessageSink& sink_;
};

} // namespace pitwall
