#include "session/EditHistory.h"

#include "base/FileStamp.h"
#include "base/FileUtils.h"
#include "base/SafeWrite.h"
#include "cockpit/CockpitGraphics.h"

#include <algorithm>
#include <array>
#include <map>

namespace pitwall {

namespace {
// Steps kept; the oldest go first (a long evening of edits stays bounded).
constexpr std::size_t kMaxSteps = 500;
const std::string kNoName;
// Working files larger than this (none of the sounds or pictures an editor
// writes comes near) are not kept for undo.
constexpr std::uint64_t kMaxKeptFileBytes = 64ull * 1024 * 1024;

using FileContent = std::optional<std::vector<std::uint8_t>>; // none: no such file
using TrackFiles = std::array<std::optional<std::vector<std::uint8_t>>, kTrackCount>;

// A watched working file as the history last knew it. A file too large,
// unreadable or no plain file is not kept (no content): its changes are no undo steps, and an
// undo never writes or removes it.
struct KnownFile {
    std::optional<FileContent> content;
    FileStamp stamp;
};
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
    CarNumberTable carNumbers{};
    std::array<RampBases, kTeamCount> pitCrew{};
    std::array<RampBases, kFlagTypeCount> flags{};
    TrackFiles trackFiles{};
    SoundTable sounds;
    MenuReplacementList menuBackgrounds;
    CarsetInfo carsetInfo;
    // What is held in the working files: an edit that changes them marks
    // their items loaded, so they go out with the next export.
    ItemBytes loaded{};
    // The working files the editors named, by path.
    std::map<std::string, KnownFile> files;
    // The JAMs and tyre sets (the tables above stay out of date here).
    GraphicsSet graphics;
    TeamArtSheets teamArt;
    // The cockpit graphics' JAMs of the software and hardware sets.
    std::array<std::vector<TJAMFile>, 2> cockpitJams;
};

template <typename T>
struct Change {
    T before;
    T after;
};

using JamSlot = std::optional<TJAMFile>;
using TyreSlot = std::optional<TyreSet>;

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
    std::optional<Change<CarNumberTable>> carNumbers;
    std::optional<Change<std::array<RampBases, kTeamCount>>> pitCrew;
    std::optional<Change<std::array<RampBases, kFlagTypeCount>>> flags;
    std::optional<Change<TrackFiles>> trackFiles;
    std::optional<Change<SoundTable>> sounds;
    std::optional<Change<MenuReplacementList>> menuBackgrounds;
    std::optional<Change<CarsetInfo>> carsetInfo;
    std::optional<Change<ItemBytes>> loaded;
    // Working files by path, only those that changed.
    std::map<std::string, Change<FileContent>> files;
    // The graphics' JAMs and tyre sets, each on its own (they are large): by
    // their place in JamSlotsOf / the tyre array, only those that changed.
    std::map<std::size_t, Change<JamSlot>> jams;
    std::map<std::size_t, Change<TyreSlot>> tyres;
    // The menu's team sheets, by team, only those that changed.
    std::map<std::size_t, Change<ArtPicture>> teamArt;
    // The cockpit graphics' JAMs, by set, only the sets that changed.
    std::map<std::size_t, Change<std::vector<TJAMFile>>> cockpitJams;
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
    f(Part<CarNumberTable>{&Tables::carNumbers, &Step::carNumbers,
                           [](WorkingSet& w) -> CarNumberTable& { return w.graphics.carNumbers; }});
    f(Part<std::array<RampBases, kTeamCount>>{
        &Tables::pitCrew, &Step::pitCrew,
        [](WorkingSet& w) -> std::array<RampBases, kTeamCount>& { return w.graphics.pitCrew; }});
    f(Part<std::array<RampBases, kFlagTypeCount>>{
        &Tables::flags, &Step::flags,
        [](WorkingSet& w) -> std::array<RampBases, kFlagTypeCount>& { return w.graphics.flags; }});
    f(Part<TrackFiles>{&Tables::trackFiles, &Step::trackFiles,
                       [](WorkingSet& w) -> TrackFiles& { return w.tracks.trackFiles; }});
    f(Part<SoundTable>{&Tables::sounds, &Step::sounds, [](WorkingSet& w) -> SoundTable& { return w.sounds; }});
    f(Part<MenuReplacementList>{&Tables::menuBackgrounds, &Step::menuBackgrounds,
                                [](WorkingSet& w) -> MenuReplacementList& { return w.menuBackgrounds; }});
    f(Part<CarsetInfo>{&Tables::carsetInfo, &Step::carsetInfo,
                       [](WorkingSet& w) -> CarsetInfo& { return w.carsetInfo; }});
    f(Part<ItemBytes>{&Tables::loaded, &Step::loaded, [](WorkingSet& w) -> ItemBytes& { return w.transfer.loaded; }});
}

// Every JAM of the graphics, in a fixed order.
std::vector<JamSlot*> JamSlotsOf(GraphicsSet& g)
{
    std::vector<JamSlot*> all;
    auto add = [&](JamSlots& slots) {
        for (JamSlot& slot : slots)
            all.push_back(&slot);
    };
    for (JamVariants* v : {&g.cars, &g.cockpits, &g.jacks, &g.helmets}) {
        add(v->soft);
        add(v->hard);
    }
    add(g.pitCrewTextures);
    add(g.flagFrames);
    return all;
}

bool SameJam(const TJAMFile& a, const TJAMFile& b)
{
    if (a.imageCount() != b.imageCount() || a.pageHeight() != b.pageHeight() || a.is8Bit() != b.is8Bit()
        || a.entries() != b.entries() || a.header() != b.header() || &a.palette() != &b.palette())
        return false;
    // Only 8-bit JAMs have colour tables, one per image.
    for (int i = 0; a.is8Bit() && i < a.imageCount(); ++i)
        if (a.tables(i) != b.tables(i))
            return false;
    return a.page() == b.page();
}

bool Same(const JamSlot& a, const JamSlot& b) { return a ? b && SameJam(*a, *b) : !b; }

bool Same(const TyreSlot& a, const TyreSlot& b)
{
    if (!a || !b)
        return !a && !b;
    return a->type == b->type && a->tread == b->tread && a->wheel == b->wheel && SameJam(a->wheelJam0, b->wheelJam0)
        && SameJam(a->wheelJam1, b->wheelJam1) && a->wheelPictures == b->wheelPictures;
}

bool Same(const std::vector<TJAMFile>& a, const std::vector<TJAMFile>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameJam);
}

template <typename T>
bool Same(const T& a, const T& b)
{
    return a == b;
}

// The JAM and tyre slots of the working set that differ from the known
// ones: recorded into the step, and the known ones brought up to date.
// False when nothing differs.
bool NoticeGraphics(GraphicsSet& now, GraphicsSet& known, EditHistory::Step& step)
{
    bool changed = false;
    std::vector<JamSlot*> nowJams = JamSlotsOf(now), knownJams = JamSlotsOf(known);
    if (nowJams.size() != knownJams.size()) { // never: the slots are fixed
        known = now;
        return false;
    }
    for (std::size_t i = 0; i < nowJams.size(); ++i) {
        if (Same(*nowJams[i], *knownJams[i]))
            continue;
        step.jams[i] = Change<JamSlot>{*knownJams[i], *nowJams[i]};
        *knownJams[i] = *nowJams[i];
        changed = true;
    }
    for (std::size_t i = 0; i < now.tyres.size(); ++i) {
        if (Same(now.tyres[i], known.tyres[i]))
            continue;
        step.tyres[i] = Change<TyreSlot>{known.tyres[i], now.tyres[i]};
        known.tyres[i] = now.tyres[i];
        changed = true;
    }
    return changed;
}

// The team sheets that differ from the known ones, recorded as with the JAMs.
bool NoticeTeamArt(const TeamArtSheets& now, TeamArtSheets& known, EditHistory::Step& step)
{
    bool changed = false;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i] == known[i])
            continue;
        step.teamArt[i] = Change<ArtPicture>{known[i], now[i]};
        known[i] = now[i];
        changed = true;
    }
    return changed;
}

// The cockpit graphics sets whose JAMs differ from the known ones (a sheet
// loaded, the graphics imported), recorded as with the other JAMs.
bool NoticeCockpitJams(const std::array<CockpitGraphicsSet, 2>& now, std::array<std::vector<TJAMFile>, 2>& known,
                       EditHistory::Step& step)
{
    bool changed = false;
    for (std::size_t v = 0; v < now.size(); ++v) {
        const std::vector<TJAMFile>& jams = now[v].jams;
        if (Same(jams, known[v]))
            continue;
        step.cockpitJams[v] = Change<std::vector<TJAMFile>>{known[v], jams};
        known[v] = jams;
        changed = true;
    }
    return changed;
}

void PutCockpitJams(const EditHistory::Step& step, bool before, std::array<CockpitGraphicsSet, 2>& data,
                    std::array<std::vector<TJAMFile>, 2>& known)
{
    for (const auto& [v, change] : step.cockpitJams) {
        CockpitGraphicsSet& set = data[v];
        set.jams = before ? change.before : change.after;
        set.preview = set.loaded() ? ComposeCockpitPreview(set.jams) : Image();
        known[v] = set.jams;
    }
}

void PutTeamArt(const EditHistory::Step& step, bool before, TeamArtSheets& data, TeamArtSheets& known)
{
    for (const auto& [i, change] : step.teamArt) {
        data[i] = before ? change.before : change.after;
        known[i] = data[i];
    }
}

// Keeps the first "before" of each entry and takes the newest "after".
template <typename K, typename T>
void JoinChanges(std::map<K, Change<T>>& into, std::map<K, Change<T>>& from)
{
    for (auto& [i, change] : from)
        if (auto it = into.find(i); it != into.end())
            it->second.after = std::move(change.after);
        else
            into.emplace(i, std::move(change));
}

// Drops the changes that came back to where they started (a character typed
// and deleted again).
template <typename K, typename T>
void DropUnchanged(std::map<K, Change<T>>& changes)
{
    std::erase_if(changes, [](const auto& entry) { return Same(entry.second.before, entry.second.after); });
}

// Puts the step's JAMs and tyre sets (before or after) into the working set
// and the known copy.
void PutGraphics(const EditHistory::Step& step, bool before, GraphicsSet& data, GraphicsSet& known)
{
    std::vector<JamSlot*> dataJams = JamSlotsOf(data), knownJams = JamSlotsOf(known);
    for (const auto& [i, change] : step.jams) {
        if (i >= dataJams.size())
            continue;
        *dataJams[i] = before ? change.before : change.after;
        *knownJams[i] = *dataJams[i];
    }
    for (const auto& [i, change] : step.tyres) {
        data.tyres[i] = before ? change.before : change.after;
        known.tyres[i] = data.tyres[i];
    }
}

std::optional<FileContent> ReadContent(const std::string& path, const FileStamp& stamp)
{
    if (!stamp.exists)
        return FileContent{};
    if (!stamp.regular || stamp.size > kMaxKeptFileBytes)
        return std::nullopt;
    try {
        return FileContent{ReadWholeFile(path, kMaxKeptFileBytes)};
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The watched files whose content differs from the known one: recorded into
// the step, the known ones brought up to date. Files whose stamp is unchanged
// are not read.
bool NoticeFiles(std::map<std::string, KnownFile>& known, EditHistory::Step& step)
{
    bool changed = false;
    for (auto& [path, file] : known) {
        const FileStamp stamp = StampOf(path);
        if (stamp == file.stamp)
            continue;
        std::optional<FileContent> now = ReadContent(path, stamp);
        file.stamp = stamp;
        if (!now || !file.content) { // not kept before or now: nothing to undo to
            file.content = std::move(now);
            continue;
        }
        if (*now == *file.content)
            continue;
        step.files[path] = Change<FileContent>{*file.content, *now};
        file.content = std::move(now);
        changed = true;
    }
    return changed;
}

// Writes the step's files (before or after) back. Working files need not
// wait for the disk: what reaches the game is written safely by the export.
void PutFile(const std::string& path, const FileContent& content)
{
    if (content) {
        SafeFileWriter writer(path);
        writer.write(*content);
        writer.commit(WriteSync::NotNeeded);
    } else if (FileExists(path)) {
        DeleteFileForced(path);
        if (FileExists(path))
            throw FileWriteError(path, "cannot be removed");
    }
}

// A file that cannot be written stops the whole step: the files written
// before it are put back as they were (as far as that goes) and the error
// goes on to the front end.
void PutFiles(const EditHistory::Step& step, bool before, std::map<std::string, KnownFile>& known)
{
    std::vector<const std::pair<const std::string, Change<FileContent>>*> written;
    try {
        for (const auto& file : step.files) {
            PutFile(file.first, before ? file.second.before : file.second.after);
            written.push_back(&file);
        }
    } catch (const FileWriteError&) {
        for (const auto* file : written) {
            try {
                PutFile(file->first, before ? file->second.after : file->second.before);
            } catch (const FileWriteError&) {
                // The next notice finds the file as it is and records it.
            }
        }
        throw;
    }
    for (const auto& [path, change] : step.files)
        known[path] = KnownFile{before ? change.before : change.after, StampOf(path)};
}

void KnowCockpitJams(const WorkingSet& data, EditHistory::Tables& known)
{
    for (std::size_t v = 0; v < known.cockpitJams.size(); ++v)
        known.cockpitJams[v] = data.cockpit.graphics[v].jams;
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
    known_->graphics = data.graphics;
    known_->teamArt = data.teamArt;
    KnowCockpitJams(data, *known_);
    known_->files.clear();
}

void EditHistory::adopt(const WorkingSet& data)
{
    ForEachPart([&](auto part) { (*known_).*part.copy = part.in(Unconst(data)); });
    known_->graphics = data.graphics;
    known_->teamArt = data.teamArt;
    KnowCockpitJams(data, *known_);
}

void EditHistory::watchFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (known_->files.count(path))
            continue;
        const FileStamp stamp = StampOf(path);
        known_->files.emplace(path, KnownFile{ReadContent(path, stamp), stamp});
    }
}

namespace {

bool EndsWhereItStarted(EditHistory::Step& step)
{
    bool empty = true;
    ForEachPart([&](auto part) {
        auto& change = step.*part.change;
        if (change && change->before == change->after)
            change.reset();
        empty = empty && !change;
    });
    DropUnchanged(step.jams);
    DropUnchanged(step.tyres);
    DropUnchanged(step.teamArt);
    DropUnchanged(step.cockpitJams);
    DropUnchanged(step.files);
    return empty && step.jams.empty() && step.tyres.empty() && step.teamArt.empty() && step.cockpitJams.empty()
        && step.files.empty();
}

} // namespace

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
    changed = NoticeGraphics(Unconst(data).graphics, known_->graphics, *step) || changed;
    changed = NoticeTeamArt(data.teamArt, known_->teamArt, *step) || changed;
    changed = NoticeCockpitJams(data.cockpit.graphics, known_->cockpitJams, *step) || changed;
    changed = NoticeFiles(known_->files, *step) || changed;
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
        JoinChanges(last->jams, step->jams);
        JoinChanges(last->tyres, step->tyres);
        JoinChanges(last->teamArt, step->teamArt);
        JoinChanges(last->cockpitJams, step->cockpitJams);
        JoinChanges(last->files, step->files);
        if (EndsWhereItStarted(*last)) {
            // Typed and taken back: no step, and not unsaved because of it.
            steps_.pop_back();
            --position_;
        }
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
    const Step& step = *steps_[position_ - 1];
    PutFiles(step, true, known_->files);
    --position_;
    ForEachPart([&](auto part) {
        if (const auto& change = step.*part.change) {
            part.in(data) = change->before;
            (*known_).*part.copy = change->before;
        }
    });
    PutGraphics(step, true, data.graphics, known_->graphics);
    PutTeamArt(step, true, data.teamArt, known_->teamArt);
    PutCockpitJams(step, true, data.cockpit.graphics, known_->cockpitJams);
}

void EditHistory::redo(WorkingSet& data)
{
    if (!canRedo())
        return;
    const Step& step = *steps_[position_];
    PutFiles(step, false, known_->files);
    ++position_;
    ForEachPart([&](auto part) {
        if (const auto& change = step.*part.change) {
            part.in(data) = change->after;
            (*known_).*part.copy = change->after;
        }
    });
    PutGraphics(step, false, data.graphics, known_->graphics);
    PutTeamArt(step, false, data.teamArt, known_->teamArt);
    PutCockpitJams(step, false, data.cockpit.graphics, known_->cockpitJams);
}

} // namespace pitwall
