#pragma once
// Undo and redo for a document a window keeps of its own, outside the
// working set (the workshop's open JAM): each step keeps the whole document
// before and after, so it suits documents of modest size. The oldest steps
// go first once `limit` are kept. It also knows whether the document differs
// from what was last opened or saved.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace pitwall {

template <typename T>
class SnapshotHistory {
public:
    explicit SnapshotHistory(std::size_t limit = 50) : limit_(limit < 1 ? 1 : limit) {}

    void clear()
    {
        steps_.clear();
        position_ = 0;
        saved_ = 0;
    }
    // The document as it stands now is what its file holds.
    void markSaved() { saved_ = position_; }
    // Steps were done or undone since the document was opened or saved.
    bool unsaved() const { return saved_ != position_; }
    // A step done: the steps undone before it are gone.
    void record(std::string name, T before, T after)
    {
        // A saved state among the steps dropped here, or the oldest step
        // dropped below, can no longer be reached by undo or redo.
        if (saved_ != kNever && saved_ > position_)
            saved_ = kNever;
        steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
        steps_.push_back(Step{std::move(name), std::move(before), std::move(after)});
        if (steps_.size() > limit_) {
            steps_.erase(steps_.begin());
            saved_ = saved_ == 0 || saved_ == kNever ? kNever : saved_ - 1;
        }
        position_ = steps_.size();
    }

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    std::string undoName() const { return canUndo() ? steps_[position_ - 1].name : std::string(); }
    std::string redoName() const { return canRedo() ? steps_[position_].name : std::string(); }
    // The document as it was before the step undone / after the step redone;
    // only while canUndo / canRedo.
    const T& undo() { return steps_[--position_].before; }
    const T& redo() { return steps_[position_++].after; }

private:
    struct Step {
        std::string name;
        T before;
        T after;
    };
    static constexpr std::size_t kNever = static_cast<std::size_t>(-1);
    std::vector<Step> steps_;
    std::size_t position_ = 0;
    // The position whose document the file holds; kNever when no step leads there.
    std::size_t saved_ = 0;
    std::size_t limit_;
};

} // namespace pitwall
