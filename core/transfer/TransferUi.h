#pragma once
// What a transfer needs from the front end: the loading window, the
// selection dialog, the open editor and the carset information window. The
// desktop editor implements them with windows, the command line with text.

#include "base/Messages.h"
#include "transfer/PointOperation.h"
#include "transfer/SelectionItems.h"

#include <cstdint>
#include <functional>
#include <string>

namespace pitwall {

struct CarsetInfo;
class CommitObserver;
struct TransferReport;

// The modeless progress window of every transfer.
class LoadingWindow : public ProgressSink {
public:
    // Shows the window with its caption and first line; `total` is the sum
    // of the progress weights the run will add.
    virtual void begin(const std::string& caption, const std::string& firstLine, std::uint16_t total) = 0;
    virtual void end() = 0;
};

class SelectionDialog {
public:
    virtual ~SelectionDialog() = default;
    // Prepares the dialog with the offered items and shows it modally; true
    // when it ends with OK. selection() then reads the checked boxes.
    virtual bool showForImport(const ItemBytes& offered, bool carset, int gameVersion) = 0;
    virtual bool showForExport(const ItemBytes& offered, bool carset) = 0;
    virtual ItemBytes selection() const = 0;
    // The items some data area can carry; the dialog offers no other.
    virtual void setCarriedItems(const ItemBytes& carried) = 0;
};

// The open editor: it writes its controls into the working set before a
// transfer and re-reads them after an import or carset load.
class EditorSync {
public:
    virtual ~EditorSync() = default;
    virtual void storeEditor() = 0;
    virtual void restoreEditor() = 0;
};

// The carset information window, shown after a load whose information asks
// for it; true when it ended with OK (the edits are then in `info`).
class CarsetInfoDialog {
public:
    virtual ~CarsetInfoDialog() = default;
    virtual bool edit(CarsetInfo& info) = 0;
};

struct TransferUi {
    LoadingWindow& loading;
    MessageSink& messages;
    SelectionDialog* dialog = nullptr;
    EditorSync* editor = nullptr;
    CarsetInfoDialog* infoDialog = nullptr;
    // Told when an export has made its restore point and as it writes each file.
    CommitObserver* commitObserver = nullptr;
    // Told as an export to the game ends (its files written, or nothing to
    // write), to say what it wrote and what it did not. Without it, UI text
    // 753 ends an export that did everything when ShowExportOK asks for it.
    std::function<void(const TransferReport&)> exportEnded = nullptr;
    // What an export's restore point says it was. Without a kind: the apply
    // of the carset loaded last, if any, else an export; either with the
    // items it wrote.
    PointOperation operation = {};
};

} // namespace pitwall
