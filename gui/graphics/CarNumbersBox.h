#pragma once
// "Startnummer-Positionen" on the car page: where the two car numbers of the
// chosen team sit on the livery, as the fields the user types into.

#include "graphics/CarNumbersArea.h"
#include "graphics/GraphicsPages.h"

#include <QGroupBox>

#include <array>
#include <functional>

class QLineEdit;
class QRadioButton;

namespace pitwall::gui {

struct GraphicsPageContext;

class CarNumbersBox : public QGroupBox {
    Q_OBJECT
public:
    // `team` tells the team the car page shows.
    CarNumbersBox(GraphicsPageContext& context, std::function<int()> team, QWidget* parent);

    // Stores the fields, then shows the positions of the team the car page
    // shows.
    void showNumbers();
    // Writes the fields into the working set (when the positions are loaded).
    void storeNumbers();
    // The fields go back to the working set's values without being stored
    // (after an import or a restore).
    void forgetShownNumbers() { numbersTeam_ = -1; }
    void enableFields(bool loaded);

    // The field the user last entered, or -1, and the set the fields show.
    int focusedField() const { return focusedField_; }
    int numberSet() const { return numbersSet_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    GraphicsPageContext& context_;
    std::function<int()> team_;
    std::array<QLineEdit*, kCarNumberFields> numberFields_{};
    std::array<QRadioButton*, 2> numberSets_{};
    int numbersTeam_ = -1; // team and set the fields show
    int numbersSet_ = 0;
    int focusedField_ = -1;
};

} // namespace pitwall::gui
