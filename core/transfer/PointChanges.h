#pragma once
// The bytes a run changed, kept beside its restore point (a small text file
// in the point's folder, written before the first game file changes). The
// copies in the point say what the files were; this record says which of
// their bytes the run wrote, so that one run can later be undone alone while
// the changes of other runs stay. Points without it (made by older versions,
// or by runs that replace whole files outside a change set) count as having
// changed their files as a whole.

#include "transfer/GameChangeSet.h"

#include <optional>
#include <vector>

namespace pitwall {

inline constexpr const char* kPointChangesName = "CHANGES";

// Throws std::runtime_error when the record cannot be written.
void WritePointChanges(const RestorePoint& point, const std::vector<FileChange>& changes);
// Nothing when the point has no record, or one that cannot be read.
std::optional<std::vector<FileChange>> ReadPointChanges(const RestorePoint& point);

} // namespace pitwall
