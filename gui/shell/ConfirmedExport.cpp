#include "ConfirmedExport.h"

#include "AppContext.h"
#include "ExportArtExpansion.h"
#include "ExportConfirmDialog.h"

namespace pitwall::gui {

TransferOutcome RunConfirmedExport(AppContext& app, ItemChoice items, QWidget* parent)
{
    TransferEngine& engine = app.engine();
    ExpansionChoiceForOneExport expansion(app);
    TransferUi ui = app.transferUi();
    PreparedExport prepared;
    TransferOutcome outcome = engine.prepareExport(items, ui, prepared);
    // Preparing sorts the cockpit displays, also for an export cancelled
    // below: that is no edit to undo.
    app.session.edits.adopt(app.workingSet());
    if (!prepared.ready())
        return outcome;
    // With nothing to change there is nothing to confirm: the export still
    // ends as every export does.
    if (!prepared.changes().empty()) {
        ExportConfirmDialog confirm(app.program.texts, prepared.changes(), parent);
        if (confirm.exec() != QDialog::Accepted)
            return TransferOutcome::Cancelled;
    }
    return engine.commitExport(prepared, ui);
}

} // namespace pitwall::gui
