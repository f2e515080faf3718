#pragma once
// An export from the desktop editor in its two steps: the engine works out
// what would change (after the selection dialog, when asked for), the user
// sees how many game files that is and confirms, and only then the same
// selection is exported for real. At the end, whatever was not done is
// summed up.

#include "transfer/TransferEngine.h"

class QWidget;

namespace pitwall::gui {

class AppContext;

TransferOutcome RunConfirmedExport(AppContext& app, ItemChoice items, QWidget* parent);

} // namespace pitwall::gui
