#pragma once
// Exports that write into the art bank (team art, track pictures, menu
// backgrounds) need room in its entries. With --expand-art the entries that
// have none are enlarged first, as part of the export (its preview lists the
// enlarged bank; the real run writes it behind the export's one restore
// point); without it the areas see to their own room.

#include "CliContext.h"

namespace pitwall::cli {

class CliSession;

void UseArtExpansion(CliSession& s, CliContext& context, bool preview);

} // namespace pitwall::cli
