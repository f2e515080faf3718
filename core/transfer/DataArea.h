#pragma once
// One data area of the working set (teams and drivers, points, a team's
// liveries, ...) as the transfer runs see it: four operations that read the
// transfer selection, act on their own items only, report one progress line
// per item and mark what they import or load.

#include "app/Messages.h"
#include "transfer/TransferState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pitwall {

class CarsetArchive;
class GameFile;
class LoadingWindow;
struct CarsetHeader;
struct ProgramState;

// What an area operation works with during one run.
struct TransferContext {
    TransferState& transfer;
    const ProgramState& program;
    LoadingWindow& loading;
    Messenger& messenger;
    // Import and export: the two game files, opened once per run.
    GameFile* exe = nullptr;
    GameFile* savegame = nullptr;
    // Carset load: the archive being read and its header.
    const CarsetArchive* source = nullptr;
    const CarsetHeader* headerRead = nullptr;
    // Carset save: the archive being written and the header it will get; an
    // area clears the header byte of an item it could not store.
    CarsetArchive* target = nullptr;
    CarsetHeader* headerWrite = nullptr;

    bool selected(int item) const { return transfer.selected(item); }
    void markLoaded(int item);
    // The loading window's SetProgress with UI text `text` and the item's weight.
    void progress(int text, int item);

    // Extracts a member into the working directory and returns its bytes. A
    // member the carset lacks is reported with UI text 349 naming it as
    // "member in carset"; a member larger than maxBytes, damaged, packed in a
    // way this program cannot unpack or not writable into the working
    // directory raises CarsetError.
    std::optional<std::vector<std::uint8_t>> loadMember(const std::string& name, std::uint64_t maxBytes);
    // Writes the member into the staging directory, adds it to the carset
    // and deletes the staged file. A staged file that cannot be written
    // raises CarsetError (Kind::Unwritable) naming the member.
    void saveMember(const std::string& name, const std::vector<std::uint8_t>& bytes);
};

class DataArea {
public:
    virtual ~DataArea() = default;
    virtual void importFromGame(TransferContext&) {}
    virtual void exportToGame(TransferContext&) {}
    virtual void loadFromCarset(TransferContext&) {}
    virtual void saveToCarset(TransferContext&) {}
    // Runs before any export writes; false stops the export (the area has
    // told the user why).
    virtual bool checkBeforeExport(TransferContext&) { return true; }
};

// The areas in the game's transfer steps. The order of each direction is a
// table in TransferOrder.h.
enum class AreaId {
    Teams, Points, Aids, Misc, Texts, Tracks, Damage, CarLiveries, CarNumbers, CockpitLiveries, PitCrew, Jacks,
    Helmets, Cockpit, TeamArt, Sounds, LoadingPictures, Display, Cameras, MenuBackgrounds, Tyres, FlagColours, Count
};

} // namespace pitwall
