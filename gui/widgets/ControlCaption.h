#pragma once
// What a control is called where the user sees it: the caption of a
// button or check box, the label beside a field, the title of its group.
// Names undo steps ("Change: Engine") and says what a control is to
// assistive technology.

#include <QString>

class QWidget;

namespace pitwall::gui {

// The caption without mnemonic markers and trailing colon; empty when
// nothing near the control names it.
QString ControlCaption(const QWidget* control);

} // namespace pitwall::gui
