#include "CliContext.h"

#include "TerminalText.h"

#include "app/Language.h"
#include "app/ProgramDirectories.h"
#include "base/FileUtils.h"
#include "base/FormatError.h"
#include "base/Windows1252.h"

namespace pitwall::cli {

void StderrMessages::showMessage(const Message& message)
{
    err_ << TerminalLine(MessageTextToUtf8(message.text)) << '\n';
}

bool StderrMessages::askYesNo(const Message& message)
{
    if (answerYes) {
        if (!quiet_)
            err_ << TerminalLine(MessageTextToUtf8(message.text)) << " [yes]\n";
        return true;
    }
    throw CommandFailure(TerminalLine(MessageTextToUtf8(message.text)) + " [not answered: --yes answers Yes]");
}

namespace {

class SilentMessages : public MessageSink {
public:
    void showMessage(const Message&) override {}
    bool askYesNo(const Message&) override { return false; }
};

} // namespace

CliContext::CliContext(std::ostream& o, std::ostream& e, const std::string& executableDir)
    : out(o), err(e), executableDirectory(executableDir), programDirectory(LocateProgram(executableDir).data)
{
    writer.program = "pitwall-cli";
    writer.runStarted = NanosecondsNow();
    // The CLI speaks English; without a language file the messages fall back
    // to the filler text, which is still no reason to stop.
    SilentMessages silent;
    LoadLanguage(programDirectory, kDefaultLanguageFile, texts, silent);
    // The editor's refusal of a file kind asks the user to choose another
    // file in the dialog; a command has no dialog and says so in its own
    // words.
    constexpr int kCliUnhandledExtensionText = 1203;
    std::vector<std::string> all = texts.all();
    if (all.size() > static_cast<std::size_t>(kCliUnhandledExtensionText)) {
        all[kUnhandledExtensionText] = all[kCliUnhandledExtensionText];
        texts.assign(std::move(all), texts.marquee());
    }
}

std::string CliContext::desktopSettingsFile() const
{
    return ComputeProgramDirectories(executableDirectory).settingsFileToRead();
}

} // namespace pitwall::cli
