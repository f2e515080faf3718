#include "tracks/TrackProgress.h"

#include "app/ProgramState.h"
#include "transfer/GameChangeSet.h"
#include "transfer/SelectionItems.h"
#include "transfer/TransferUi.h"

namespace pitwall {

void TrackProgress(TransferContext& context, int text, int slot, int item)
{
    if (slot < 0) {
        context.progress(text, item);
        return;
    }
    context.workOnItem(item);
    context.loading.setProgress(context.program.texts.format(text, Args(slot + 1)), ProgressWeight(item));
}

} // namespace pitwall
