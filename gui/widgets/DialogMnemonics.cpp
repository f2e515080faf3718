#include "DialogMnemonics.h"

#include "Mnemonics.h"

#include <QDialog>
#include <QEvent>
#include <QTimer>

namespace pitwall::gui {

bool DialogMnemonics::eventFilter(QObject* watched, QEvent* event)
{
    // Once the dialog's own show has run: some set their texts there.
    if (event->type() == QEvent::Show)
        if (auto* dialog = qobject_cast<QDialog*>(watched))
            QTimer::singleShot(0, dialog, [dialog] { AssignButtonMnemonics(dialog); });
    return QObject::eventFilter(watched, event);
}

} // namespace pitwall::gui
