#pragma once
// The program's picture, painted rather than shipped: a chequered flag over
// the pit wall's dark blue with the program's name. The splash and about
// windows show it.

#include <QPixmap>

namespace pitwall::gui {

QPixmap ProgramPicture(int width, int height);

} // namespace pitwall::gui
