#pragma once
// The OK and Cancel buttons of the small dialogs ("BitBtn1", "BitBtn2").

class QDialog;
class QHBoxLayout;

namespace pitwall::gui {

QHBoxLayout* AddOkCancel(QDialog* dialog);

} // namespace pitwall::gui
