#pragma once
// The history of the user's edits to the working set (teams, settings,
// texts, tracks, cockpit, graphics, menu pictures, sounds and the carset
// information): undo and redo step by step, and whether the data holds
// changes not yet exported or saved in a carset.
//
// The editors change the tables in place; the front end tells the history
// after each edit (notice), which compares the tables with the state it
// knew and records what changed as one named step. A step keeps only the
// tables it changed, before and after. Sounds and menu and track pictures
// live in working files: an editor names the files it is about to change
// (watchFiles), and from then on each notice compares them too.

#include "session/WorkingSet.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pitwall {

class EditHistory {
public:
    EditHistory();
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // A new start (program start, import, carset load): no steps, and the
    // tables as they are count as saved.
    void reset(const WorkingSet& data);
    // Records the tables' changes since the last notice as one step named
    // `name`; true when something changed. A change with the same non-empty
    // key as the step before (typing on in one field) joins that step.
    bool notice(const WorkingSet& data, const std::string& name, const std::string& key = {});
    // Working files an edit is about to write: what they hold now (or that
    // they do not exist) is kept, and later notices record their changes.
    // Call before the write; files watched already are left as they are.
    void watchFiles(const std::vector<std::string>& paths);
    // The tables as they are become the known ones without a step: for what
    // the program rearranges itself (an export sorts the cockpit displays'
    // elements), which is no edit of the user's. Notice pending edits first.
    void adopt(const WorkingSet& data);
    // The tables as they are were exported or saved in a carset.
    void markSaved();
    // Whether the tables differ from what was last exported, saved, imported
    // or loaded (as far as the steps tell: undoing back to it counts as none).
    bool unsaved() const;

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    const std::string& undoName() const;
    const std::string& redoName() const;
    // Puts the tables and working files of the step back. A working file
    // that cannot be written throws FileWriteError, and the step stays where
    // it was.
    void undo(WorkingSet& data);
    void redo(WorkingSet& data);
    std::size_t size() const { return steps_.size(); }

    struct Step;
    struct Tables;

private:
    std::vector<std::unique_ptr<Step>> steps_;
    std::size_t position_ = 0;
    // Position of the saved state; none once the steps leading to it are gone.
    std::optional<std::size_t> saved_ = 0;
    std::unique_ptr<Tables> known_;
};

} // namespace pitwall
