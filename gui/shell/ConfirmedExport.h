#pragma once
// An export from the desktop editor in its two steps: the engine prepares
// the export once (after the selection dialog, when asked for), asking every
// question the data areas have; the user sees how many game files that
// changes and confirms; only then is the prepared change set written. At the
// end, whatever was not done is summed up. Cancel at the confirmation writes
// nothing.

#include "transfer/TransferEngine.h"

class QWidget;

namespace pitwall::gui {

class AppContext;

TransferOutcome RunConfirmedExport(AppContext& app, ItemChoice items, QWidget* parent);

} // namespace pitwall::gui
