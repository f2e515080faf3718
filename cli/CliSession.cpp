#include "CliSession.h"

#include "TerminalText.h"

#include "app/GameInstallation.h"
#include "app/Windows1252.h"
#include "transfer/FileUtils.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace pitwall::cli {

void TextLoadingWindow::begin(const std::string& caption, const std::string&, std::uint16_t total)
{
    done_ = 0;
    total_ = total;
    if (!quiet_)
        err_ << TerminalLine(Windows1252ToUtf8(caption)) << '\n';
}

void TextLoadingWindow::setProgress(const std::string& text, int weight)
{
    done_ += weight;
    if (quiet_)
        return;
    int percent = total_ > 0 ? std::min(100, done_ * 100 / total_) : 100;
    err_ << "  [" << percent << "%] " << TerminalLine(Windows1252ToUtf8(text)) << '\n';
}

CliSession::CliSession(CliContext& context, const std::string& gameDirectory)
    : context_(context), loading_(context.err, context.quiet), ui_{loading_, context.sink}
{
    static std::atomic<int> counter{0};
    program_.directories.program = context.programDirectory;
    program_.directories.settings = context.programDirectory;
    program_.directories.working = IncludeTrailingBackslash(PathString(
        std::filesystem::temp_directory_path()
        / ("pitwall-cli-" + std::to_string(::getpid()) + "-" + std::to_string(counter++))));
    program_.directories.staging = program_.directories.working + "Carset" + kPathSeparator;
    ForceDirectories(program_.directories.staging);
    program_.texts = context.texts;
    if (!gameDirectory.empty()) {
        if (!DirectoryExists(gameDirectory))
            throw CommandFailure("not a directory: " + gameDirectory);
        program_.settings.gameDirectory = IncludeTrailingBackslash(gameDirectory);
        GameDetection d = RecogniseGame(program_);
        if (!d.ok) {
            std::string reason = Windows1252ToUtf8(context.texts.text(d.messageNumber));
            for (auto& c : reason)
                if (c == '\n')
                    c = ' ';
            throw CommandFailure("not a valid Grand Prix 3 installation: " + reason);
        }
    }
    program_.settings.showExportOK = false;
    session_ = std::make_unique<Session>(program_);
}

CliSession::~CliSession() { DeleteTree(program_.directories.working); }

void CliSession::require(TransferOutcome outcome, const std::string& what)
{
    switch (outcome) {
    case TransferOutcome::Done:
        return;
    case TransferOutcome::DoneWithErrors:
        throw CommandFailure(what + " finished with errors (see the messages above)");
    case TransferOutcome::Cancelled:
        throw CommandFailure(what + " was cancelled");
    case TransferOutcome::Refused:
        throw CommandFailure(what + " did not run (see the message above)");
    }
}

std::vector<int> ParseNumberList(const std::string& list, int lowest, int highest, const char* what)
{
    std::vector<int> numbers;
    if (list == "all") {
        for (int n = lowest; n <= highest; ++n)
            numbers.push_back(n);
        return numbers;
    }
    std::size_t start = 0;
    while (true) {
        std::size_t comma = list.find(',', start);
        std::string part = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int first = 0, last = 0;
        char extra = 0;
        if (std::sscanf(part.c_str(), "%d-%d%c", &first, &last, &extra) != 2) {
            if (std::sscanf(part.c_str(), "%d%c", &first, &extra) != 1)
                throw CommandFailure(std::string("bad ") + what + " list '" + list
                                     + "': expected numbers and ranges like 1,2,11-21, or all");
            last = first;
        }
        if (first < lowest || last > highest || first > last)
            throw CommandFailure(std::string("bad ") + what + " range '" + part + "': " + what + "s are "
                                 + std::to_string(lowest) + " to " + std::to_string(highest));
        for (int n = first; n <= last; ++n)
            numbers.push_back(n);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return numbers;
}

ItemBytes ParseItemList(const std::string& list)
{
    ItemBytes items{};
    for (int n : ParseNumberList(list, 1, kLastItem, "item"))
        items[static_cast<std::size_t>(n)] = 1;
    return items;
}

} // namespace pitwall::cli
