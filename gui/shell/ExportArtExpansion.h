#pragma once
// Before an export that writes team art, track pictures or menu backgrounds
// into the art bank: when any entry it writes has no room for a new
// picture, TForm10 "Grafikdatei expandieren" opens with the pending
// selection and the menu backgrounds chosen for export. Its OK buttons
// enlarge the chosen entries as part of the export (with the backup the
// dialog offers). Cancel asks whether the export goes on without the items
// whose pictures have no room (each then counted as left out) or stops
// before anything is written, which the user is told. When
// the user left entries without room whose pictures the export changes, the
// areas' own check still asks about exactly those (UI text 659; No stops
// the export), so no picture is ever written in part.

#include <memory>

namespace pitwall::gui {

class AppContext;

void UseExpansionDialogBeforeExports(AppContext& app);

// One export from a window: takes the menu backgrounds chosen for export
// into the check. When the user chose entries to enlarge, the art-bank index
// the workshop shows is read again at the end, once this object goes.
class ExpansionChoiceForOneExport {
public:
    explicit ExpansionChoiceForOneExport(AppContext& app);
    ~ExpansionChoiceForOneExport();
    ExpansionChoiceForOneExport(const ExpansionChoiceForOneExport&) = delete;
    ExpansionChoiceForOneExport& operator=(const ExpansionChoiceForOneExport&) = delete;

private:
    AppContext& app_;
    std::shared_ptr<bool> expanded_;
};

} // namespace pitwall::gui
