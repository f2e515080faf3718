#pragma once
// The text of a multi-line field exactly as it stands, its lines joined with
// line feeds. QPlainTextEdit::toPlainText turns every no-break space into an
// ordinary one, so a game text holding byte 0xA0 would change (and count as
// edited) when its dialog is only opened and confirmed.

#include <QString>

class QPlainTextEdit;

namespace pitwall::gui {

QString MemoPlainText(const QPlainTextEdit& memo);

} // namespace pitwall::gui
