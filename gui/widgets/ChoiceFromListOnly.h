#pragma once
// A drop-down whose choice does something at once (swap this team with the
// one chosen): only a choice made in its opened list counts. On a closed
// drop-down, Qt takes the arrow keys, a typed letter and each wheel turn
// as a choice too, so a user moving past it (or scrolling the page) would
// swap records unasked. The keys that open the list (F4, Alt+Down, Space)
// work as ever.

class QComboBox;

namespace pitwall::gui {

void ChooseFromListOnly(QComboBox* combo);

} // namespace pitwall::gui
