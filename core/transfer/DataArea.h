#pragma once
// One data area of the working set (teams and drivers, points, a team's
// liveries, ...) as the transfer runs see it: four operations that read the
// transfer selection, act on their own items only, report one progress line
// per item and mark what they import or load.

#include "base/Messages.h"
#include "base/PrivateFile.h"
#include "transfer/TransferState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pitwall {

class CarsetArchive;
class GameChangeSet;
class GameFile;
class LoadingWindow;
struct CarsetHeader;
struct ProgramState;

// Something asked for that did not happen, with the item it belongs to (0
// when it belongs to none).
struct TransferFailure {
    int item = 0;
    std::string text;
};

// What an area operation works with during one run.
struct TransferContext {
    TransferState& transfer;
    const ProgramState& program;
    LoadingWindow& loading;
    Messenger& messenger;
    // Import and export: the two game files, read once per run. On export
    // they are copies in memory that the run writes back when it ends.
    GameFile* exe = nullptr;
    GameFile* savegame = nullptr;
    // Export: every change the run makes to the installation. Whole game
    // files (JAMs, texts, banks) are replaced through it, never written
    // directly, so the run can preview them and guard them with a restore
    // point.
    GameChangeSet* changes = nullptr;
    // What failed during the run, in order.
    std::vector<TransferFailure>* failures = nullptr;
    // The item whose progress line was shown last: the one being worked on.
    int currentItem = 0;
    // The items the running area has started on, in order.
    std::vector<int> itemsStarted{};
    // Carset load: the archive being read and its header.
    const CarsetArchive* source = nullptr;
    const CarsetHeader* headerRead = nullptr;
    // Carset save: the archive being written and the header it will get; an
    // area clears the header byte of an item it could not store.
    CarsetArchive* target = nullptr;
    CarsetHeader* headerWrite = nullptr;
    // Carset save: the staging directory's file each member passes through,
    // removed when the run ends.
    ReusedPrivateFile stagedMember{};
    // Export: the art-bank entries the run's pictures change, for the
    // selection they were worked out for (a check that leaves an item out
    // changes them). Working them out decodes every replaced picture, so the
    // first check that needs them keeps them for the others.
    struct ChangedArtEntries {
        ItemBytes selection{};
        std::vector<std::size_t> entries;
    };
    std::optional<ChangedArtEntries> artEntriesThatChange = std::nullopt;

    bool selected(int item) const { return transfer.selected(item); }
    void markLoaded(int item);
    // The loading window's SetProgress with UI text `text` and the item's
    // weight. An area calls it as it starts on an item: what it writes from
    // then on belongs to that item.
    void progress(int text, int item);
    // The same with a text that takes placeholders (a team number, ...).
    void progress(int text, int item, const FormatArgs& args);
    // What follows belongs to `item`, without a line in the loading window
    // (for work on an item whose line was shown earlier, or never is).
    void workOnItem(int item);
    // Counts a failure of the current item whose message was shown already.
    void recordFailure(const std::string& text);
    // Shows the message and counts it as a failure of the current item.
    void fail(const std::string& text);
    void fail(int number, const FormatArgs& args);
    // Export: the new content of a whole game file (path as the game names it).
    void replaceGameFile(const std::string& gameRelative, std::vector<std::uint8_t> bytes);

    // Extracts a member into the working directory and returns its bytes. A
    // member the carset lacks is a failure reported with UI text 349 naming it as
    // "member in carset"; a member larger than maxBytes, damaged, packed in a
    // way this program cannot unpack or not writable into the working
    // directory raises CarsetError.
    std::optional<std::vector<std::uint8_t>> loadMember(const std::string& name, std::uint64_t maxBytes);
    // A member that holds one fixed-size record: the record's bytes. A
    // member a little longer (other tools add a few bytes) gives its first
    // recordSize bytes; a shorter one is a failure naming it.
    std::optional<std::vector<std::uint8_t>> loadRecord(const std::string& name, std::size_t recordSize);
    // Writes the member into the staging directory, adds it to the carset
    // and lets the staged file go (renamed to the next member's name, or
    // removed when the run ends). A staged file that cannot be written
    // raises CarsetError (Kind::Unwritable) naming the member.
    void saveMember(const std::string& name, const std::vector<std::uint8_t>& bytes);
    // The same for bytes the caller is done with: they go to the carset's
    // deflate workers without a copy.
    void saveMember(const std::string& name, std::vector<std::uint8_t>&& bytes);
};

class DataArea {
public:
    virtual ~DataArea() = default;
    // The selection items this area carries in all four directions. An item
    // that no registered area carries is never offered, and a run asked for
    // it reports it as skipped.
    virtual std::vector<int> items() const = 0;
    virtual void importFromGame(TransferContext&) {}
    virtual void exportToGame(TransferContext&) {}
    virtual void loadFromCarset(TransferContext&) {}
    virtual void saveToCarset(TransferContext&) {}
    // Runs before any export writes; false stops the export (the area has
    // told the user why).
    virtual bool checkBeforeExport(TransferContext&) { return true; }
    // Whether its import (its carset load) may run on another thread beside
    // the other areas: it reads only the game's files (the carset's
    // members), writes only its own part of the working set and its own
    // working files, looks at no other area's failures, and asks nothing.
    virtual bool importsBesideOthers() const { return false; }
    virtual bool loadsBesideOthers() const { return false; }
};

// The areas in the game's transfer steps. The order of each direction is a
// table in TransferOrder.h.
enum class AreaId {
    Teams,
    Points,
    Aids,
    Misc,
    Texts,
    Tracks,
    Damage,
    CarLiveries,
    CarNumbers,
    CockpitLiveries,
    PitCrew,
    Jacks,
    Helmets,
    Cockpit,
    TeamArt,
    Sounds,
    LoadingPictures,
    Display,
    Cameras,
    MenuBackgrounds,
    Tyres,
    FlagColours,
    Count
};

} // namespace pitwall
