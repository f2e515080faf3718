#pragma once
// Undo and redo for a document a window keeps of its own, outside the
// working set (the workshop's open JAM): each step keeps the whole document
// before and after, so it suits documents of modest size. The oldest steps
// go first once `limit` are kept.

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
    }
    // A step done: the steps undone before it are gone.
    void record(std::string name, T before, T after)
    {
        steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
        steps_.push_back(Step{std::move(name), std::move(before), std::move(after)});
        if (steps_.size() > limit_)
            steps_.erase(steps_.begin());
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
    std::vector<Step> steps_;
    std::size_t position_ = 0;
    std::size_t limit_;
};

} // namespace pitwall
