#pragma once
// Gives every dialog's push buttons their Alt+letter as the dialog is shown
// (after its texts are in the chosen language), so no dialog has to name its
// own letters.

#include <QObject>

namespace pitwall::gui {

class DialogMnemonics : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace pitwall::gui
