#include "ChoiceFromListOnly.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>

namespace pitwall::gui {

namespace {

class ClosedChoiceFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Wheel) {
            event->ignore(); // the page around it scrolls instead
            return true;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool opens = key->key() == Qt::Key_F4 || key->key() == Qt::Key_Space
            || ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) && (key->modifiers() & Qt::AltModifier));
        if (opens) {
            static_cast<QComboBox*>(watched)->showPopup();
            return true;
        }
        const bool moves = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_PageUp
            || key->key() == Qt::Key_PageDown || key->key() == Qt::Key_Home || key->key() == Qt::Key_End
            || (!key->text().isEmpty() && key->text().at(0).isPrint());
        return moves;
    }
};

} // namespace

void ChooseFromListOnly(QComboBox* combo) { combo->installEventFilter(new ClosedChoiceFilter(combo)); }

} // namespace pitwall::gui
