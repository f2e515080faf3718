#pragma once
// Undoing one earlier run alone (a carset's apply, a settings change, ...):
// the bytes it wrote go back to what they were before it, from its restore
// point, while everything other runs wrote since stays. That is only sound
// when no later run wrote the same bytes: then the undo stops and names
// those runs, or, when asked, undoes them too, newest first, in the same
// write. Runs already undone, and the undo runs themselves, cancel out.
// An undo is a run of its own: it makes a restore point first, so it can
// be put back like any other.

#include "transfer/GameChangeSet.h"
#include "transfer/RestorePoints.h"

#include <functional>
#include <string>
#include <vector>

namespace pitwall {

struct UndoPlan {
    // The runs to undo, newest first: the one asked for last.
    std::vector<RestorePoint> runs;
    // Later runs that wrote bytes the asked-for run wrote too (not undone
    // unless asked), oldest first.
    std::vector<RestorePoint> overlapping;
    // Why the run cannot be undone alone at all (its point was removed, or
    // made by a version that did not record the bytes; it was undone
    // already); empty when it can.
    std::string refusal;
    // What the undo would write (relative paths), and the files the run
    // created, which an undo leaves in place.
    std::vector<std::string> files;
    std::vector<std::string> createdFiles;

    bool possible() const { return refusal.empty() && overlapping.empty(); }
};

// `through`: undo the overlapping later runs as well.
UndoPlan PlanRunUndo(const RestorePoints& points, const std::string& pointId, bool through = false);

// Writes the plan (the files as GameChangeSet::commit writes them, under a
// restore point of kind "undo" naming the undone points). Throws
// RestorePointError when the plan is not possible or a copy it needs is
// damaged; nothing is changed then.
// `keepAlive` as GameChangeSet::commit takes it.
CommitResult UndoRuns(RestorePoints& points, const UndoPlan& plan, const std::string& carset = {},
                      CommitObserver* observer = nullptr, const std::function<void()>& keepAlive = {});

} // namespace pitwall
