#pragma once
// Exports that write into the art bank (team art, track pictures, menu
// backgrounds) need room in its entries. With --expand-art the entries that
// have none are enlarged first (behind a restore point); without it the
// export stops, naming them.

#include "CliContext.h"

namespace pitwall::cli {

class CliSession;

void UseArtExpansion(CliSession& s, CliContext& context, bool allowed);

} // namespace pitwall::cli
