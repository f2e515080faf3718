#include "TransferSummary.h"

#include "base/UITexts.h"
#include "transfer/TransferEngine.h"

namespace pitwall::gui {

namespace {

// A message box taller than the screen hides its OK button.
constexpr std::size_t kShownLines = 20;

} // namespace

std::string MessageList(const std::vector<std::string>& lines, const UITexts& texts)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size() && i < kShownLines; ++i)
        text += (i ? "\n" : "") + lines[i];
    if (lines.size() > kShownLines)
        text += "\n" + texts.format(kMoreLinesText, Args(lines.size() - kShownLines));
    return text;
}

std::vector<std::string> NotDoneLines(const TransferReport& report, const UITexts& texts)
{
    std::vector<std::string> lines;
    for (const auto& failure : report.failures)
        lines.push_back(failure.text);
    for (int item : report.skipped)
        lines.push_back(texts.format(kNotCarriedYetText, Args(ItemDescription(item, texts))));
    return lines;
}

void ShowNotDoneSummary(const TransferReport& report, Messenger& messenger)
{
    if (report.ok())
        return;
    std::vector<std::string> lines = NotDoneLines(report, messenger.texts());
    messenger.show(kNotDoneSummaryText, Args(lines.size(), MessageList(lines, messenger.texts())));
}

void ShowExportEnding(const TransferReport& report, Messenger& messenger, bool showExportOK)
{
    if (!report.ok()) {
        std::vector<std::string> lines = NotDoneLines(report, messenger.texts());
        std::string list = MessageList(lines, messenger.texts());
        if (report.written.empty())
            messenger.show(kNothingWrittenText, Args(lines.size(), list));
        else
            messenger.show(kPartlyWrittenText, Args(report.written.size(), lines.size(), list));
        return;
    }
    if (report.itemsToWrite == 0)
        messenger.show(kNothingToExportText);
    else if (showExportOK)
        messenger.show(report.written.empty() ? kNothingChangedText : kExportFinishedText);
}

} // namespace pitwall::gui
