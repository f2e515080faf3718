#pragma once
// The four transfer runs: import from the game, export to the game, carset
// load and carset save. Each decides the transfer selection, opens what it
// works on once, runs the data areas in the direction's order with progress,
// and closes again; after an export the savegame gets a fresh checksum.

#include "transfer/CarsetHeader.h"
#include "transfer/CarsetInfo.h"
#include "transfer/DataArea.h"
#include "transfer/GameChangeSet.h"
#include "transfer/TransferState.h"
#include "transfer/TransferUi.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace pitwall {

struct ProgramState;

enum class TransferOutcome {
    Done,           // everything asked for was done
    DoneWithErrors, // ran, but something asked for failed or was skipped
    Cancelled,      // the dialog or a question was answered No
    Refused,        // nothing was transferred (missing file, not a carset, no room for a restore point, ...)
};

// What the last run did not do, and what an export changed (or, previewed,
// would change).
struct TransferReport {
    std::vector<TransferFailure> failures;
    // Selected items that no data area carries (yet): not transferred.
    std::vector<int> skipped;
    std::vector<FileChange> changes;
    bool preview = false;
    std::string restorePointId;
    // Export: how many data items the run set out to write (what was asked
    // for and is loaded), and the game files it changed (none when the
    // writing failed and was put back).
    int itemsToWrite = 0;
    std::vector<std::string> written;
    // Export and carset save: the user's choice left out items the working
    // set holds, so the run did not save all of the data.
    bool leftOutHeld = false;
    bool ok() const { return failures.empty() && skipped.empty(); }
};

// Which items a run transfers.
enum class ItemChoice {
    AsSelected, // the transfer selection as it stands, limited to what the run's source holds
    AskUser,    // the selection dialog, offering what the source holds
    AllHeld,    // carset runs: every item the source holds (the carset's, or the working set's)
};

// Import: whether the open editor writes its controls into the working set
// before the run and re-reads them after it.
enum class OpenEditor { Untouched, StoreAndRestore };

// Carset load: whether the carset's information replaces the user's (and is
// shown when it asks to be), or the user's stays (the editors' defaults).
enum class CarsetInformation { Take, Keep };

enum class ExportMode {
    Write,   // change the installation (after making a restore point)
    Preview, // only work out what would change
};

// An export worked out and held back: everything the data areas wrote, kept
// in memory with the report of the run, until TransferEngine::commitExport
// writes it. Dropping it writes nothing.
class PreparedExport {
public:
    // Whether there is a change set to write (not after a preparation that
    // was cancelled or refused, nor once it was committed).
    bool ready() const { return changes_.has_value(); }
    // The game files the export changes, as the confirmation lists them.
    const std::vector<FileChange>& changes() const { return report_.changes; }
    const TransferReport& report() const { return report_; }

private:
    friend class TransferEngine;
    std::optional<GameChangeSet> changes_;
    TransferReport report_;
};

// UI texts of the loading window and the final messages.
namespace transfer_text {
inline constexpr int kImportCaption = 208, kImportFirstLine = 209;
inline constexpr int kExportCaption = 929, kExportFirstLine = 930;
// A carset save with failed items over an existing carset; its file name.
inline constexpr int kCarsetKeptText = 1305;
inline constexpr int kExportFinished = 753;
inline constexpr int kNotACarset = 407, kOldCarsetFormat = 938, kLowDiskSpace = 939;
inline constexpr int kItemNotImported = 64, kItemNotLoaded = 65, kRolledBack = 66;
inline constexpr int kNotPutBack = 76, kNothingChanged = 168;
} // namespace transfer_text

class TransferEngine {
public:
    using FreeSpace = std::function<std::uint64_t(const std::string& directory)>;

    TransferEngine(ProgramState& program, TransferState& transfer, CarsetInfo& carsetInfo);

    // Areas register themselves; an area not registered is skipped.
    void registerArea(AreaId id, DataArea& area);
    // Free bytes of the file system holding a directory (replaceable for tests).
    void setFreeSpace(FreeSpace freeSpace) { freeSpace_ = std::move(freeSpace); }

    // Import and export know no AllHeld: it means AsSelected there.
    TransferOutcome importFromGame(ItemChoice items, OpenEditor editor, TransferUi& ui);
    // An export in two steps. prepareExport decides the selection (with the
    // dialog when asked for), asks every question the areas have and lets
    // them write into a change set that `prepared` keeps; nothing on disk
    // changes, and lastReport() says what would. commitExport then writes
    // exactly that change set, under the installation's lock behind one
    // restore point made before the first byte changes, and ends the export
    // (ui.exportEnded or the "finished" message). Between the two, the front
    // end can show what will change and let the user stop.
    TransferOutcome prepareExport(ItemChoice items, TransferUi& ui, PreparedExport& prepared);
    TransferOutcome commitExport(PreparedExport& prepared, TransferUi& ui);
    // Both steps in one (a preview stops after the first).
    TransferOutcome exportToGame(ItemChoice items, TransferUi& ui, ExportMode mode = ExportMode::Write);
    // A write into the game outside the data areas (the art-bank page's
    // expansion): `prepare` changes files through the run's change set
    // (false: it failed, said so, and nothing is written); then what it
    // changed is written as an export writes, under the installation's lock
    // behind one restore point made before the first byte changes, put back
    // when writing fails part-way.
    TransferOutcome writeToGame(const PointOperation& operation, TransferUi& ui,
                                const std::function<bool(TransferContext&)>& prepare);
    TransferOutcome loadCarset(ItemChoice items, const std::string& fileName, TransferUi& ui,
                               CarsetInformation information = CarsetInformation::Take);
    TransferOutcome saveCarset(ItemChoice items, const std::string& fileName, TransferUi& ui);

    TransferState& transfer() { return transfer_; }
    // What the last run failed at, skipped and changed.
    const TransferReport& lastReport() const { return report_; }
    // The items the registered areas carry.
    ItemBytes carriedItems() const;
    // The header of the carset being (or last) loaded: areas read older
    // member layouts when its format is 7.
    const CarsetHeader& lastHeader() const { return header_; }

private:
    template <typename Operation>
    void runAreas(const std::array<AreaId, 22>& order, TransferContext& context, Operation operation);
    // runAreas, the areas for which runsBeside holds shared with a helper
    // thread; what they show comes in their turn all the same.
    template <typename Operation, typename Beside>
    void runAreasBeside(const std::array<AreaId, 22>& order, TransferContext& context, Operation operation,
                        Beside runsBeside);
    // Starts a run's report: selected items that nothing carries are
    // skipped and dropped from the selection.
    void beginReport();
    // Import and export: items the installed game version lacks are neither
    // transferred nor reported; they leave the selection without a word.
    void dropItemsTheGameLacks();
    // After an import or carset load: a selected item that is not loaded
    // and has no failure of its own yet gets one.
    void reportNotLoaded(int text);
    TransferOutcome outcome() const;
    TransferContext makeContext(TransferUi& ui, Messenger& messenger);
    // Writes a run's changes (see GameChangeSet::commit) and says what went
    // wrong; nothing when everything was written.
    std::optional<TransferOutcome> commitRun(GameChangeSet& changes, const PointOperation& operation, TransferUi& ui,
                                             Messenger& messenger);
    // An export's operation for its restore point (see TransferUi::operation).
    PointOperation exportOperation(const TransferUi& ui) const;

    ProgramState& program_;
    TransferState& transfer_;
    CarsetInfo& carsetInfo_;
    std::array<DataArea*, static_cast<std::size_t>(AreaId::Count)> areas_{};
    FreeSpace freeSpace_;
    CarsetHeader header_;
    TransferReport report_;
};

} // namespace pitwall
