#include "CliSession.h"

#include "PaletteOption.h"
#include "TerminalText.h"

#include "app/Settings.h"
#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "formats/GameInstallation.h"
#include "formats/Palette.h"
#include "transfer/WorkingFolders.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>

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

namespace {

constexpr const char* kWorkingPrefix = "pitwall-cli-";

// The system's temporary directory, cleared first of the working folders of
// earlier runs that were killed.
std::string TemporaryDirectory()
{
    std::error_code ec;
    auto path = std::filesystem::temp_directory_path(ec);
    if (ec)
        throw CommandFailure("no temporary directory for the working files: " + ec.message());
    RemoveAbandonedWorkingFolders(PathString(path), kWorkingPrefix);
    return PathString(path);
}

} // namespace

CliSession::CliSession(CliContext& context, const std::string& gameDirectory)
    : context_(context),
      working_(TemporaryDirectory(), kWorkingPrefix),
      loading_(context.err, context.quiet),
      observer_(context),
      ui_{loading_, context.sink}
{
    MarkWorkingFolder(working_.path());
    ui_.commitObserver = &observer_;
    program_.directories.program = context.programDirectory;
    program_.directories.settings = context.programDirectory;
    program_.directories.working = working_.path();
    program_.directories.staging = program_.directories.working + "Carset" + kPathSeparator;
    CreatePrivateDirectory(program_.directories.staging);
    program_.texts = context.texts;
    program_.restorePointRoot = context.restoreRoot;
    // Both programs keep their restore points together: a run here trims
    // them to the desktop program's limits, not to the built-in ones.
    ReadRestorePointLimits(context.desktopSettingsFile(), program_.settings);
    program_.writer = Writer(context);
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
    // The game palette: 8-bit JAMs are read with it. A command that needs
    // it and finds none says so when it reads a JAM.
    std::string problem;
    CommandPalette palette = LoadCommandPalette(context, &problem);
    if (palette.palette)
        program_.palette = *palette.palette;
    else if (FileExists(palette.file))
        context.err << "pitwall-cli: the game palette could not be read: " << problem << "\n";
    session_ = std::make_unique<Session>(program_);
}

namespace {

// "2-8, 10, 12-20": a long list of item numbers kept short.
std::string ItemRanges(const std::vector<int>& items)
{
    std::string text;
    for (std::size_t i = 0; i < items.size();) {
        std::size_t j = i;
        while (j + 1 < items.size() && items[j + 1] == items[j] + 1)
            ++j;
        text += (text.empty() ? "" : ", ") + std::to_string(items[i]);
        if (j > i)
            text += "-" + std::to_string(items[j]);
        i = j + 1;
    }
    return text;
}

} // namespace

std::vector<std::string> CliSession::describe(const TransferReport& report) const
{
    std::vector<std::string> lines;
    for (const auto& f : report.failures)
        lines.push_back("failed: " + MessageTextToUtf8(f.text));
    constexpr std::size_t kNamedItems = 10;
    if (report.skipped.size() <= kNamedItems) {
        for (int item : report.skipped)
            lines.push_back("skipped: item " + std::to_string(item) + " ("
                            + Windows1252ToUtf8(ItemDescription(item, context_.texts))
                            + "), which this version cannot carry yet");
    } else {
        lines.push_back("skipped: items " + ItemRanges(report.skipped) + " (" + std::to_string(report.skipped.size())
                        + " items this version cannot carry yet)");
    }
    return lines;
}

void CliSession::require(TransferOutcome outcome, const std::string& what)
{
    const TransferReport& report = engine().lastReport();
    switch (outcome) {
    case TransferOutcome::Done:
        return;
    case TransferOutcome::Cancelled:
        throw CommandFailure(what + " was cancelled");
    case TransferOutcome::Refused:
        throw CommandFailure(what + " did not run (see the message above)");
    case TransferOutcome::DoneWithErrors:
        break;
    }
    for (const auto& line : describe(report))
        unfinished_.push_back(what + ": " + line);
    // Items nothing carries yet do not stop the rest; a real failure does.
    if (!report.failures.empty())
        finish();
}

void CliSession::finish()
{
    // Whatever else is said, a run that made a restore point names it.
    observer_.tellRestorePoint();
    if (unfinished_.empty())
        return;
    std::size_t count = unfinished_.size();
    std::string text = std::to_string(count) + (count == 1 ? " thing" : " things") + " asked for "
        + (count == 1 ? "was" : "were") + " not done:";
    for (const auto& line : unfinished_)
        text += "\n  " + line;
    unfinished_.clear();
    throw CommandFailure(text);
}

void CliSession::leaveOutItemsTheGameLacks(ItemBytes& selection, const std::string& list)
{
    if (list == "all")
        return;
    bool anyLeft = false;
    for (int n = 1; n <= kLastItem; ++n) {
        auto i = static_cast<std::size_t>(n);
        if (!selection[i])
            continue;
        if (ItemInGameVersion(n, program_.gameVersion)) {
            anyLeft = true;
            continue;
        }
        selection[i] = 0;
        context_.err << "item " << n << "  " << Windows1252ToUtf8(ItemDescription(n, context_.texts))
                     << ": this version of the game does not have it, so it is left out\n";
    }
    if (!anyLeft)
        throw CommandFailure("None of the listed items is part of this version of the game; nothing was done");
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
                throw CLI::ValidationError(std::string("bad ") + what + " list '" + list + "': '" + part
                                           + "' is not a number or range (expected numbers and ranges like 1,2,11-21, "
                                             "or all)");
            last = first;
        }
        if (first < lowest || last > highest || first > last)
            throw CLI::ValidationError(std::string("bad ") + what + " range '" + part + "': " + what + "s are "
                                       + std::to_string(lowest) + " to " + std::to_string(highest));
        for (int n = first; n <= last; ++n)
            numbers.push_back(n);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return numbers;
}

} // namespace pitwall::cli
