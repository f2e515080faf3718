#pragma once
// `apply`: a carset loaded into a session of its own and exported to an
// installation, shared by `apply` and `library apply`.

#include "CliContext.h"

#include "transfer/TransferEngine.h"

#include <functional>
#include <string>

namespace pitwall::cli {

struct ApplyRequest {
    std::string carset;
    std::string game;
    std::string items; // empty: everything the carset holds
    bool dryRun = false;
    bool expandArt = false;
    bool timings = false;
};

// Called once the apply has written game files, before any failure of the
// run is reported.
using AppliedCallback = std::function<void(const TransferReport&)>;

// Runs the apply (CommandFailure when anything asked for was not done) and
// returns the export's report: the changes, and the restore point made.
// Listed items the carset does not carry are named in a note and leave the
// exit status 1 once the others are applied.
TransferReport ApplyCarset(CliContext& context, const ApplyRequest& request, const AppliedCallback& applied = {});

} // namespace pitwall::cli
