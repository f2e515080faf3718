#pragma once
// What a transfer asked for and did not do, told once at its end: the
// failures (each was shown as it happened) and the selected items that no
// part of the program carries yet.

#include "base/Messages.h"

#include <string>
#include <vector>

namespace pitwall {
struct TransferReport;
}

namespace pitwall::gui {

inline constexpr int kNotDoneSummaryText = 80;
inline constexpr int kNotCarriedYetText = 746;
inline constexpr int kMoreLinesText = 749;
inline constexpr int kExportFinishedText = 753;
inline constexpr int kPartlyWrittenText = 956, kNothingWrittenText = 957;
inline constexpr int kNothingToExportText = 958, kNothingChangedText = 959;

// Lines for a message, one per line; a long list is cut short with a last
// line saying how many were left out.
std::string MessageList(const std::vector<std::string>& lines, const UITexts& texts);

// The lines of the summary (Windows-1252): failures first, then the skipped items.
std::vector<std::string> NotDoneLines(const TransferReport& report, const UITexts& texts);

// Shows UI text 80 when the report holds failures or skipped items.
void ShowNotDoneSummary(const TransferReport& report, Messenger& messenger);

// The closing message of an export: what it wrote and what it did not do,
// or that it had nothing to write. When it did all it was asked for, UI text
// 753 (or, with no file changed, 959) only if `showExportOK`.
void ShowExportEnding(const TransferReport& report, Messenger& messenger, bool showExportOK);

} // namespace pitwall::gui
