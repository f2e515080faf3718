#pragma once
// Names for assistive technology (screen readers, and the tools that drive
// programs through the platform's accessibility interface): every control
// of a window that Qt cannot name by itself is named by what the user sees
// beside it (ControlCaption). Names given so are renewed with each call,
// so a language change reaches them; names a window sets itself stay.

class QWidget;

namespace pitwall::gui {

void NameControls(QWidget* root);

// Whether a shown widget's controls should be named now: a window or a
// page of a tab or stack that is shown.
bool NamesControlsWhenShown(const QWidget* widget);

} // namespace pitwall::gui
