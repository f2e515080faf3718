#include "transfer/TransferEngine.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/PrivateDirectory.h"
#include "formats/GameInstallation.h"
#include "transfer/AreaRecording.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CommitFailureText.h"
#include "transfer/GameFile.h"
#include "transfer/ProgramRestorePoints.h"
#include "transfer/RestorePoints.h"
#include "transfer/SavegameChecksum.h"
#include "transfer/TransferOrder.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

namespace pitwall {

using namespace transfer_text;

namespace {

// Room a carset load needs beyond the members themselves.
constexpr std::uint64_t kLoadReserve = 5'000'000;
// What all members of a carset may unpack to together. Each area bounds
// what it takes of its own members as well; this bounds the whole.
constexpr std::uint64_t kMaxCarsetBytes = 1'000'000'000;

std::uint64_t FileSystemFreeSpace(const std::string& directory)
{
    std::error_code ec;
    std::string probe = directory;
    // The working directory may not exist yet: ask its nearest existing parent.
    while (!probe.empty() && !DirectoryExists(probe))
        probe = DirectoryOf(probe.substr(0, probe.size() - 1));
    auto info = std::filesystem::space(NativePath(probe.empty() ? "." : probe), ec);
    return ec ? UINT64_MAX : static_cast<std::uint64_t>(info.available);
}

// Clears the busy flag however a run ends.
struct BusyGuard {
    TransferState& state;
    explicit BusyGuard(TransferState& s) : state(s) { state.busy = true; }
    ~BusyGuard() { state.busy = false; }
};

// Hides the loading window however a run ends.
struct LoadingGuard {
    LoadingWindow& window;
    LoadingGuard(LoadingWindow& w, const std::string& caption, const std::string& firstLine, std::uint16_t total)
        : window(w)
    {
        window.begin(caption, firstLine, total);
    }
    ~LoadingGuard() { window.end(); }
};

} // namespace

TransferEngine::TransferEngine(ProgramState& program, TransferState& transfer, CarsetInfo& carsetInfo)
    : program_(program), transfer_(transfer), carsetInfo_(carsetInfo), freeSpace_(FileSystemFreeSpace)
{}

void TransferEngine::registerArea(AreaId id, DataArea& area) { areas_.at(static_cast<std::size_t>(id)) = &area; }

ItemBytes TransferEngine::carriedItems() const
{
    ItemBytes carried{};
    for (const DataArea* area : areas_)
        if (area)
            for (int item : area->items())
                if (item > 0 && item < kItemCount)
                    carried[static_cast<std::size_t>(item)] = 1;
    return carried;
}

void TransferEngine::beginReport()
{
    report_ = {};
    ItemBytes carried = carriedItems();
    for (int n = 1; n <= kLastItem; ++n) {
        auto& selected = transfer_.selection[static_cast<std::size_t>(n)];
        if (selected && IsDataItem(n) && !carried[static_cast<std::size_t>(n)]) {
            report_.skipped.push_back(n);
            selected = 0;
        }
    }
}

void TransferEngine::dropItemsTheGameLacks()
{
    for (int n = 1; n <= kLastItem; ++n)
        if (!ItemInGameVersion(n, program_.gameVersion))
            transfer_.selection[static_cast<std::size_t>(n)] = 0;
}

void TransferEngine::reportNotLoaded(int text)
{
    ItemBytes carried = carriedItems();
    for (int n = 1; n <= kLastItem; ++n) {
        auto i = static_cast<std::size_t>(n);
        if (!transfer_.selection[i] || !carried[i] || !IsDataItem(n) || transfer_.loaded[i])
            continue;
        bool explained = false;
        for (const auto& f : report_.failures)
            explained = explained || f.item == n;
        if (!explained)
            report_.failures.push_back({n, program_.texts.format(text, Args(ItemDescription(n, program_.texts)))});
    }
}

TransferOutcome TransferEngine::outcome() const
{
    return report_.ok() ? TransferOutcome::Done : TransferOutcome::DoneWithErrors;
}

TransferContext TransferEngine::makeContext(TransferUi& ui, Messenger& messenger)
{
    TransferContext context{transfer_, program_, ui.loading, messenger};
    context.failures = &report_.failures;
    return context;
}

namespace {

// An area that fails (a damaged member, a short game file) is reported and
// ends; the others still run.
template <typename Operation>
void RunArea(DataArea& area, TransferContext& context, Operation& operation)
{
    context.currentItem = 0;
    try {
        operation(area, context);
    } catch (const std::exception& e) {
        context.fail(e.what());
    }
}

} // namespace

template <typename Operation>
void TransferEngine::runAreas(const std::array<AreaId, 22>& order, TransferContext& context, Operation operation)
{
    for (AreaId id : order)
        if (DataArea* area = areas_[static_cast<std::size_t>(id)])
            RunArea(*area, context, operation);
}

template <typename Operation, typename Beside>
void TransferEngine::runAreasBeside(const std::array<AreaId, 22>& order, TransferContext& context, Operation operation,
                                    Beside runsBeside)
{
    // The areas that may run beside the others are shared between this
    // thread and a helper: this thread runs the order and takes each such
    // area whose turn comes before the helper has taken it; the helper takes
    // them from the last backwards and records what each shows, which this
    // thread shows when the area's turn comes. The user sees the same lines
    // and messages in the same order as when every area ran here.
    std::vector<std::size_t> beside;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (const DataArea* area = areas_[static_cast<std::size_t>(order[i])]; area && runsBeside(*area))
            beside.push_back(i);
    std::vector<AreaRecording> recordings(beside.size());
    std::vector<char> recorded(beside.size(), 0);
    // This thread takes them from `front` on, the helper from `back` down.
    std::size_t front = 0;
    std::size_t back = beside.size();
    std::mutex lock;
    std::condition_variable finished;
    auto helperWork = [&] {
        for (;;) {
            std::size_t k = 0;
            {
                std::lock_guard guard(lock);
                if (front >= back)
                    return;
                k = --back;
            }
            AreaRecording& recording = recordings[k];
            try {
                Messenger messenger(program_.texts, recording);
                TransferContext own{transfer_, program_, recording, messenger};
                own.failures = &recording.failures;
                own.exe = context.exe;
                own.savegame = context.savegame;
                own.source = context.source;
                own.headerRead = context.headerRead;
                RunArea(*areas_[static_cast<std::size_t>(order[beside[k]])], own, operation);
            } catch (...) {
                recording.escaped = std::current_exception();
            }
            std::lock_guard guard(lock);
            recorded[k] = 1;
            finished.notify_one();
        }
    };
    std::jthread helper;
    try {
        helper = std::jthread(helperWork);
    } catch (const std::system_error&) {
        // No thread to be had: this thread takes every area in its turn.
    }

    for (std::size_t i = 0; i < order.size(); ++i) {
        DataArea* area = areas_[static_cast<std::size_t>(order[i])];
        if (!area)
            continue;
        if (front < beside.size() && beside[front] == i) {
            const std::size_t k = front;
            std::unique_lock wait(lock);
            if (k < back) {
                front = k + 1; // this thread's now
            } else {
                // The helper has it: wait, keeping the loading window painted.
                while (!finished.wait_for(wait, std::chrono::milliseconds(50), [&] { return recorded[k] != 0; })) {
                    wait.unlock();
                    context.loading.keepAlive();
                    wait.lock();
                }
                front = k + 1;
                wait.unlock();
                recordings[k].replay(context.loading, context.messenger.sink(), report_.failures);
                continue;
            }
        }
        RunArea(*area, context, operation);
    }
}

namespace {

// Whether a game file is there, without touching it (a read-only game file
// stays read-only when it is only read).
bool RequireGameFile(const std::string& path, Messenger& messenger)
{
    if (FileExists(path))
        return true;
    messenger.show(349, Args(path));
    return false;
}

} // namespace

TransferOutcome TransferEngine::importFromGame(ItemChoice items, OpenEditor editor, TransferUi& ui)
{
    BusyGuard busy(transfer_);
    Messenger messenger(program_.texts, ui.messages);
    report_ = {};
    if (editor == OpenEditor::StoreAndRestore && ui.editor)
        ui.editor->storeEditor();
    if (items == ItemChoice::AskUser) {
        if (!ui.dialog)
            return TransferOutcome::Cancelled;
        ui.dialog->setCarriedItems(carriedItems());
        if (!ui.dialog->showForImport(transfer_.loaded, false, program_.gameVersion))
            return TransferOutcome::Cancelled;
        transfer_.selection = ui.dialog->selection();
    }
    beginReport();
    dropItemsTheGameLacks();
    std::uint16_t total = ProgressTotal(transfer_.selection);

    std::string savePath = GameFilePath(program_.settings.gameDirectory, kSavegameName);
    std::string exePath = GameFilePath(program_.settings.gameDirectory, kGameExeName);
    if (!RequireGameFile(savePath, messenger) || !RequireGameFile(exePath, messenger))
        return TransferOutcome::Refused;
    GameFile savegame(savePath);
    GameFile exe(exePath);

    {
        LoadingGuard loading(ui.loading, program_.texts.text(kImportCaption), program_.texts.text(kImportFirstLine),
                             total);
        TransferContext context = makeContext(ui, messenger);
        context.exe = &exe;
        context.savegame = &savegame;
        runAreasBeside(
            kImportOrder, context, [](DataArea& a, TransferContext& c) { a.importFromGame(c); },
            [](const DataArea& a) { return a.importsBesideOthers(); });
    }
    reportNotLoaded(kItemNotImported);
    if (editor == OpenEditor::StoreAndRestore && ui.editor)
        ui.editor->restoreEditor();
    return outcome();
}

TransferOutcome TransferEngine::exportToGame(ItemChoice items, TransferUi& ui, ExportMode mode)
{
    PreparedExport prepared;
    TransferOutcome outcome = prepareExport(items, ui, prepared);
    if (!prepared.ready())
        return outcome;
    if (mode == ExportMode::Preview) {
        report_ = std::move(prepared.report_);
        return outcome;
    }
    return commitExport(prepared, ui);
}

TransferOutcome TransferEngine::prepareExport(ItemChoice items, TransferUi& ui, PreparedExport& prepared)
{
    Messenger messenger(program_.texts, ui.messages);
    prepared = PreparedExport();
    report_ = {};
    if (items == ItemChoice::AskUser) {
        if (!ui.dialog)
            return TransferOutcome::Cancelled;
        ui.dialog->setCarriedItems(carriedItems());
        if (!ui.dialog->showForExport(transfer_.loaded, false))
            return TransferOutcome::Cancelled;
        transfer_.selection = ui.dialog->selection();
    }
    const bool leftOutHeld =
        items == ItemChoice::AskUser && LeavesOutHeldItems(transfer_.selection, transfer_.loaded, carriedItems());
    // Only what the working set holds can be written.
    for (int n = 0; n < kItemCount; ++n)
        transfer_.selection[static_cast<std::size_t>(n)] &= transfer_.loaded[static_cast<std::size_t>(n)];
    beginReport();
    report_.leftOutHeld = leftOutHeld;
    dropItemsTheGameLacks();
    report_.preview = true;
    for (int n = 1; n <= kLastItem; ++n)
        report_.itemsToWrite += transfer_.selection[static_cast<std::size_t>(n)] && IsDataItem(n) ? 1 : 0;

    const std::string& game = program_.settings.gameDirectory;
    if (!RequireGameFile(GameFilePath(game, kGameExeName), messenger)
        || !RequireGameFile(GameFilePath(game, kSavegameName), messenger))
        return TransferOutcome::Refused;
    // Everything the areas write is collected first and written at the end.
    GameChangeSet changes(game);
    GameFile& exe = changes.patchFile(kGameExeName);
    GameFile& savegame = changes.patchFile(kSavegameName);

    TransferContext context = makeContext(ui, messenger);
    context.exe = &exe;
    context.savegame = &savegame;
    context.changes = &changes;
    for (AreaId id : kExportOrder)
        if (DataArea* area = areas_[static_cast<std::size_t>(id)]; area && !area->checkBeforeExport(context))
            return TransferOutcome::Cancelled;

    {
        LoadingGuard loading(ui.loading, program_.texts.text(kExportCaption), program_.texts.text(kExportFirstLine),
                             ProgressTotal(transfer_.selection));
        runAreas(kExportOrder, context, [](DataArea& a, TransferContext& c) { a.exportToGame(c); });
        // Whatever the areas wrote, the game only accepts the savegame with
        // a matching checksum.
        changes.setItem(0);
        if (savegame.size() >= 4) {
            std::vector<std::uint8_t> image = savegame.bytes();
            WriteSavegameChecksum(image);
            savegame.write(savegame.size() - 4, std::span(image).last(4));
        }
    }
    // The list of changes can hold a million ranges: the prepared export
    // keeps it, the engine's report does not hold a second copy.
    prepared.report_ = report_;
    prepared.report_.changes = changes.changes();
    // The files stay held where the areas patched them: moving the change
    // set moves only its handles.
    prepared.changes_.emplace(std::move(changes));
    return outcome();
}

TransferOutcome TransferEngine::commitExport(PreparedExport& prepared, TransferUi& ui)
{
    if (!prepared.ready())
        return TransferOutcome::Cancelled;
    Messenger messenger(program_.texts, ui.messages);
    report_ = std::move(prepared.report_);
    report_.preview = false;
    GameChangeSet changes = std::move(*prepared.changes_);
    prepared = PreparedExport();
    if (auto failed = commitRun(changes, exportOperation(ui), ui, messenger))
        return *failed;
    if (ui.exportEnded)
        ui.exportEnded(report_);
    else if (program_.settings.showExportOK && report_.ok())
        messenger.show(kExportFinished);
    return outcome();
}

TransferOutcome TransferEngine::writeToGame(const PointOperation& operation, TransferUi& ui,
                                            const std::function<bool(TransferContext&)>& prepare)
{
    Messenger messenger(program_.texts, ui.messages);
    report_ = {};
    GameChangeSet changes(program_.settings.gameDirectory);
    TransferContext context = makeContext(ui, messenger);
    context.changes = &changes;
    bool prepared = false;
    try {
        prepared = prepare(context);
    } catch (const std::exception& e) {
        context.fail(e.what());
    }
    if (!prepared)
        return TransferOutcome::Refused;
    report_.changes = changes.changes();
    if (auto failed = commitRun(changes, operation, ui, messenger))
        return *failed;
    return outcome();
}

PointOperation TransferEngine::exportOperation(const TransferUi& ui) const
{
    if (!ui.operation.kind.empty())
        return ui.operation;
    PointOperation operation;
    operation.kind = program_.currentCarsetFile.empty() ? point_kind::kExport : point_kind::kApply;
    if (!program_.currentCarsetFile.empty())
        operation.args.push_back(FileNameOf(program_.currentCarsetFile));
    std::set<int> items;
    for (const FileChange& change : report_.changes)
        for (const ItemChange& item : change.items)
            if (item.item > 0)
                items.insert(item.item);
    for (int item : items)
        operation.args.push_back(std::to_string(item));
    return operation;
}

std::optional<TransferOutcome> TransferEngine::commitRun(GameChangeSet& changes, const PointOperation& operation,
                                                         TransferUi& ui, Messenger& messenger)
{
    RestorePoints points = ProgramRestorePoints(program_, changes.gameDirectory());
    CommitResult written;
    try {
        written = changes.commit(points, operation, ui.commitObserver, &report_.changes,
                                 [&ui] { ui.loading.keepAlive(); });
    } catch (const RestorePointError& e) {
        messenger.showFixed(e.what());
        report_.failures.push_back({0, e.what()});
        return TransferOutcome::Refused;
    }
    report_.restorePointId = written.restorePointId;
    if (!written.rolledBack)
        report_.written = written.written;
    if (written.ok())
        return std::nullopt;
    const std::string text = CommitFailureText(program_.texts, written);
    messenger.showFixed(text);
    report_.failures.push_back({0, text});
    return TransferOutcome::DoneWithErrors;
}

TransferOutcome TransferEngine::loadCarset(ItemChoice items, const std::string& fileName, TransferUi& ui,
                                           CarsetInformation information)
{
    BusyGuard busy(transfer_);
    Messenger messenger(program_.texts, ui.messages);
    report_ = {};
    const std::string& working = program_.directories.working;
    try {
        EnsurePrivateDirectory(working);
    } catch (const PrivateDirectoryError& e) {
        messenger.showFixed(e.what());
        return TransferOutcome::Refused;
    }

    constexpr int kMissingFile = 349;
    if (!FileExists(fileName)) {
        messenger.show(kMissingFile, Args(fileName));
        return TransferOutcome::Refused;
    }
    // Only a file without zip structure, or a zip without a header, is "not
    // a carset"; a file that cannot be read, a header packed in a way this
    // program cannot unpack and a working directory that cannot be written
    // are each reported as what they are.
    std::unique_ptr<CarsetArchive> archive;
    std::optional<CarsetHeader> header;
    try {
        archive = std::make_unique<CarsetArchive>(fileName, CarsetArchive::Mode::Read);
        // Whether the carset has a header is the archive's say, never that
        // of a Header.DAT some earlier load left in the working directory.
        if (auto bytes = archive->extract(kHeaderMember, working, kHeaderSize + kMemberSlack))
            header = ParseCarsetHeader(*bytes);
    } catch (const CarsetError& e) {
        if (e.kind() == CarsetError::Kind::NotAZip)
            messenger.show(kNotACarset);
        else
            messenger.showFixed(e.what());
        return TransferOutcome::Refused;
    }
    if (!header) {
        messenger.show(kNotACarset);
        return TransferOutcome::Refused;
    }

    std::uint64_t members = archive->totalUncompressedSize();
    if (members > kMaxCarsetBytes) {
        messenger.showFixed(FileNameOf(fileName) + " is not loaded: its members unpack to "
                            + std::to_string(members / 1'000'000) + " MB, more than a carset may hold ("
                            + std::to_string(kMaxCarsetBytes / 1'000'000) + " MB).");
        return TransferOutcome::Refused;
    }
    std::uint64_t free = freeSpace_(working);
    if (members > UINT64_MAX - kLoadReserve || members + kLoadReserve > free) {
        auto neededMb = static_cast<std::int64_t>(members / 1'000'000 + 5);
        auto freeMb = static_cast<std::int64_t>(free / 1'000'000);
        if (!messenger.ask(kLowDiskSpace, Args(neededMb, freeMb)))
            return TransferOutcome::Cancelled;
    }
    if (header->format < kOldestCarsetFormat) {
        messenger.show(kOldCarsetFormat);
        return TransferOutcome::Refused;
    }
    header_ = *header;

    if (items == ItemChoice::AskUser) {
        if (!ui.dialog)
            return TransferOutcome::Cancelled;
        ui.dialog->setCarriedItems(carriedItems());
        if (!ui.dialog->showForImport(header->items, true, program_.gameVersion))
            return TransferOutcome::Cancelled;
        transfer_.selection = ui.dialog->selection();
    } else if (items == ItemChoice::AllHeld) {
        transfer_.selection = header->items;
    } else {
        for (int n = 0; n < kItemCount; ++n)
            transfer_.selection[static_cast<std::size_t>(n)] &= header->items[static_cast<std::size_t>(n)];
    }
    beginReport();
    // From here on the carset's items are loaded, and the next export's
    // restore point is named after it; a load that was refused or cancelled
    // above leaves the carset loaded before as the current one.
    program_.currentCarsetFile = fileName;

    {
        LoadingGuard loading(ui.loading, program_.texts.text(kImportCaption), program_.texts.text(kImportFirstLine),
                             ProgressTotal(transfer_.selection));
        TransferContext context = makeContext(ui, messenger);
        context.source = archive.get();
        context.headerRead = &header_;
        runAreasBeside(
            kCarsetLoadOrder, context, [](DataArea& a, TransferContext& c) { a.loadFromCarset(c); },
            [](const DataArea& a) { return a.loadsBesideOthers(); });

        // The information stays as it was when the carset has none, or when
        // the load does not take it.
        try {
            if (auto bytes = information == CarsetInformation::Take
                    ? archive->extract(kInfoMember, working, kMaxCarsetInfoSize)
                    : std::nullopt)
                carsetInfo_ = ParseCarsetInfo(std::string(bytes->begin(), bytes->end()));
        } catch (const std::exception& e) {
            context.currentItem = 0;
            context.fail(e.what());
        }
    }
    reportNotLoaded(kItemNotLoaded);
    transfer_.busy = false;
    if (ui.editor)
        ui.editor->restoreEditor();
    if (information == CarsetInformation::Take && ShowCarsetInfoOnLoad(carsetInfo_) && ui.infoDialog) {
        CarsetInfo edited = carsetInfo_;
        if (ui.infoDialog->edit(edited))
            carsetInfo_ = edited;
    }
    return outcome();
}

TransferOutcome TransferEngine::saveCarset(ItemChoice items, const std::string& fileName, TransferUi& ui)
{
    Messenger messenger(program_.texts, ui.messages);
    report_ = {};
    if (items == ItemChoice::AskUser) {
        if (!ui.dialog)
            return TransferOutcome::Cancelled;
        ui.dialog->setCarriedItems(carriedItems());
        if (!ui.dialog->showForExport(transfer_.loaded, true))
            return TransferOutcome::Cancelled;
        transfer_.selection = ui.dialog->selection();
    } else if (items == ItemChoice::AllHeld) {
        transfer_.selection = transfer_.loaded;
    } else {
        for (int n = 0; n < kItemCount; ++n)
            transfer_.selection[static_cast<std::size_t>(n)] &= transfer_.loaded[static_cast<std::size_t>(n)];
    }
    const bool leftOutHeld =
        items == ItemChoice::AskUser && LeavesOutHeldItems(transfer_.selection, transfer_.loaded, carriedItems());
    beginReport();
    report_.leftOutHeld = leftOutHeld;
    // The staging directory is recreated if it went missing, and never used
    // when something else (a link, another user's folder) took its place.
    try {
        EnsurePrivateDirectory(program_.directories.working);
        EnsurePrivateDirectory(program_.directories.staging);
    } catch (const PrivateDirectoryError& e) {
        messenger.showFixed(e.what());
        return TransferOutcome::Refused;
    }

    // The archive is written to a temporary file and renamed at the end, so
    // a failed save leaves an earlier carset of that name as it was. A new
    // carset that lacks items that failed is written all the same; it never
    // takes the place of an earlier one, whose items would be lost.
    const bool replacing = FileExists(fileName);
    CarsetArchive archive(fileName, CarsetArchive::Mode::Create);
    archive.setKeepAlive([&] { ui.loading.keepAlive(); });
    CarsetHeader header;
    header.format = kCarsetFormat;
    header.items = transfer_.selection;
    {
        LoadingGuard loading(ui.loading, program_.texts.text(kExportCaption), program_.texts.text(kExportFirstLine),
                             ProgressTotal(transfer_.selection));
        TransferContext context = makeContext(ui, messenger);
        context.target = &archive;
        context.headerWrite = &header;
        runAreas(kCarsetSaveOrder, context, [&header](DataArea& a, TransferContext& c) {
            c.itemsStarted.clear();
            try {
                a.saveToCarset(c);
            } catch (const std::exception&) {
                // An area that breaks off stores none of the items it had
                // not come to yet.
                for (int n : a.items())
                    if (n > 0 && n < kItemCount
                        && std::find(c.itemsStarted.begin(), c.itemsStarted.end(), n) == c.itemsStarted.end())
                        header.items[static_cast<std::size_t>(n)] = 0;
                throw;
            }
        });
        // The header lists only what the carset really holds.
        for (const auto& f : report_.failures)
            if (f.item > 0 && f.item < kItemCount)
                header.items[static_cast<std::size_t>(f.item)] = 0;
        header.format = kCarsetFormat;
        context.saveMember(kHeaderMember, CarsetHeaderImage(header));
        std::string info = CarsetInfoText(carsetInfo_);
        context.saveMember(kInfoMember, std::vector<std::uint8_t>(info.begin(), info.end()));
        if (replacing && !report_.failures.empty()) {
            archive.discard();
            messenger.show(kCarsetKeptText, Args(fileName));
            return TransferOutcome::Refused;
        }
        archive.close();
    }
    return outcome();
}

} // namespace pitwall
