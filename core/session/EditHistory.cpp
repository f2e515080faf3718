#include "session/EditHistory.h"

#include <array>

namespace pitwall {

namespace {
// Steps kept; the oldest go first (a long evening of edits stays bounded).
constexpr std::size_t kMaxSteps = 500;
const std::string kNoName;
} // namespace

// The tables the editors change in memory, as one comparable copy.
struct EditHistory::Tables {
    TeamTable teams;
    GameSettings settings;
    GameTexts texts;
    std::array<TrackInfo, kTrackCount> trackInfo;
    std::array<TrackSecInfo, kTrackCount> trackSections;
    CockpitObjects cockpitObjects{};
    LcdTextPositions lcdTexts;
    std::array<LcdDisplay, kLanguageCount> lcdDisplays{};
};

template <typename T>
struct Change {
    T before;
    T after;
};

struct EditHistory::Step {
    std::string name;
    std::string key;
    std::optional<Change<TeamTable>> teams;
    std::optional<Change<GameSettings>> settings;
    std::optional<Change<GameTexts>> texts;
    std::optional<Change<std::array<TrackInfo, kTrackCount>>> trackInfo;
    std::optional<Change<std::array<TrackSecInfo, kTrackCount>>> trackSections;
    std::optional<Change<CockpitObjects>> cockpitObjects;
    std::optional<Change<LcdTextPositions>> lcdTexts;
    std::optional<Change<std::array<LcdDisplay, kLanguageCount>>> lcdDisplays;
};

namespace {

// One table: where the copy keeps it, where a step keeps its change, where
// it lives in the working set.
template <typename T>
struct Part {
    T EditHistory::Tables::*copy;
    std::optional<Change<T>> EditHistory::Step::*change;
    T& (*in)(WorkingSet&);
};

template <typename F>
void ForEachPart(F&& f)
{
    using Tables = EditHistory::Tables;
    using Step = EditHistory::Step;
    f(Part<TeamTable>{&Tables::teams, &Step::teams, [](WorkingSet& w) -> TeamTable& { return w.teams; }});
    f(Part<GameSettings>{&Tables::settings, &Step::settings,
                         [](WorkingSet& w) -> GameSettings& { return w.settings; }});
    f(Part<GameTexts>{&Tables::texts, &Step::texts, [](WorkingSet& w) -> GameTexts& { return w.gameTexts; }});
    f(Part<std::array<TrackInfo, kTrackCount>>{
        &Tables::trackInfo, &Step::trackInfo,
        [](WorkingSet& w) -> std::array<TrackInfo, kTrackCount>& { return w.tracks.info; }});
    f(Part<std::array<TrackSecInfo, kTrackCount>>{
        &Tables::trackSections, &Step::trackSections,
        [](WorkingSet& w) -> std::array<TrackSecInfo, kTrackCount>& { return w.tracks.sections; }});
    f(Part<CockpitObjects>{&Tables::cockpitObjects, &Step::cockpitObjects,
                           [](WorkingSet& w) -> CockpitObjects& { return w.cockpit.objects; }});
    f(Part<LcdTextPositions>{&Tables::lcdTexts, &Step::lcdTexts,
                             [](WorkingSet& w) -> LcdTextPositions& { return w.cockpit.lcdTexts; }});
    f(Part<std::array<LcdDisplay, kLanguageCount>>{
        &Tables::lcdDisplays, &Step::lcdDisplays,
        [](WorkingSet& w) -> std::array<LcdDisplay, kLanguageCount>& { return w.cockpit.displays; }});
}

// The tables are only read here; the accessors take a working set that may
// be changed elsewhere.
WorkingSet& Unconst(const WorkingSet& data) { return const_cast<WorkingSet&>(data); }

} // namespace

EditHistory::EditHistory() : known_(std::make_unique<Tables>()) {}
EditHistory::~EditHistory() = default;

void EditHistory::reset(const WorkingSet& data)
{
    steps_.clear();
    position_ = 0;
    saved_ = 0;
    ForEachPart([&](auto part) { (*known_).*part.copy = part.in(Unconst(data)); });
}

bool EditHistory::notice(const WorkingSet& data, const std::string& name, const std::string& key)
{
    auto step = std::make_unique<Step>();
    bool changed = false;
    ForEachPart([&](auto part) {
        const auto& now = part.in(Unconst(data));
        auto& known = (*known_).*part.copy;
        if (now == known)
            return;
        (*step).*part.change = Change<std::decay_t<decltype(now)>>{known, now};
        known = now;
        changed = true;
    });
    if (!changed)
        return false;
    // Steps undone before are gone once something new is done.
    steps_.resize(position_);
    if (saved_ && *saved_ > position_)
        saved_.reset();
    Step* last = steps_.empty() ? nullptr : steps_.back().get();
    const bool joins = last && !key.empty() && last->key == key && saved_ != position_;
    if (joins) {
        // The earlier step keeps its "before"; every table takes the newest "after".
        ForEachPart([&](auto part) {
            auto& into = (*last).*part.change;
            const auto& from = (*step).*part.change;
            if (!from)
                return;
            if (into)
                into->after = from->after;
            else
                into = from;
        });
        return true;
    }
    step->name = name;
    step->key = key;
    steps_.push_back(std::move(step));
    ++position_;
    if (steps_.size() > kMaxSteps) {
        steps_.erase(steps_.begin());
        --position_;
        if (saved_)
            saved_ = *saved_ == 0 ? std::nullopt : std::optional<std::size_t>(*saved_ - 1);
    }
    return true;
}

void EditHistory::markSaved() { saved_ = position_; }

bool EditHistory::unsaved() const { return saved_ != position_; }

const std::string& EditHistory::undoName() const { return canUndo() ? steps_[position_ - 1]->name : kNoName; }

const std::string& EditHistory::redoName() const { return canRedo() ? steps_[position_]->name : kNoName; }

void EditHistory::undo(WorkingSet& data)
{
    if (!canUndo())
        return;
    const Step& step = *steps_[--position_];
    ForEachPart([&](auto part) {
        if (const auto& change = step.*part.change) {
            part.in(data) = change->before;
            (*known_).*part.copy = change->before;
        }
    });
}

void EditHistory::redo(WorkingSet& data)
{
    if (!canRedo())
        return;
    const Step& step = *steps_[position_++];
    ForEachPart([&](auto part) {
        if (const auto& change = step.*part.change) {
            part.in(data) = change->after;
            (*known_).*part.copy = change->after;
        }
    });
}

} // namespace pitwall
