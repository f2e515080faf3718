#pragma once
// Before an export that writes team art, track pictures or menu backgrounds
// into the art bank: when any entry it writes has no room for a new
// picture, TForm10 "Grafikdatei expandieren" opens with the pending
// selection and the menu backgrounds chosen for export. Its OK buttons
// enlarge the chosen entries as part of the export (with the backup the
// dialog offers); Cancel stops the export before anything is written. When
// the user left entries without room whose pictures the export changes, the
// areas' own check still asks about exactly those (UI text 659; No stops
// the export), so no picture is ever written in part.

#include <memory>

namespace pitwall::gui {

class AppContext;

void UseExpansionDialogBeforeExports(AppContext& app);

// One export from a window: takes the menu backgrounds chosen for export
// into the check, and, as the main window's export runs the areas twice
// (first to show what would change, then to write it), opens the dialog at
// most once while this object lives; its answer holds for both runs. When
// the user chose entries to enlarge, the art-bank index the workshop shows
// is read again at the end.
class ExpansionChoiceForOneExport {
public:
    explicit ExpansionChoiceForOneExport(AppContext& app);
    ~ExpansionChoiceForOneExport();
    ExpansionChoiceForOneExport(const ExpansionChoiceForOneExport&) = delete;
    ExpansionChoiceForOneExport& operator=(const ExpansionChoiceForOneExport&) = delete;

private:
    struct Kept;
    AppContext& app_;
    std::shared_ptr<Kept> kept_;
};

} // namespace pitwall::gui
