#include "ConfirmedExport.h"

#include "AppContext.h"
#include "ExportArtExpansion.h"
#include "ExportConfirmDialog.h"
#include "TransferSummary.h"
#include "graphics/ArtPrecheck.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace pitwall::gui {

namespace {

// The writing step runs the data areas a second time and meets the same
// problems as the preview: what the user was told or asked then is not
// told again (a question keeps its answer); anything new is shown.
class SecondPassMessages : public MessageSink {
public:
    explicit SecondPassMessages(MessageSink& target) : target_(target) {}
    void beginSecondPass() { second_ = true; }

    void showMessage(const Message& message) override
    {
        if (second_ && std::find(shown_.begin(), shown_.end(), key(message)) != shown_.end())
            return;
        if (!second_)
            shown_.push_back(key(message));
        target_.showMessage(message);
    }
    bool askYesNo(const Message& message) override
    {
        if (second_)
            for (const auto& [asked, answer] : answers_)
                if (asked == key(message))
                    return answer;
        bool answer = target_.askYesNo(message);
        if (!second_)
            answers_.emplace_back(key(message), answer);
        return answer;
    }

private:
    static std::pair<int, std::string> key(const Message& m) { return {m.number, m.text}; }

    MessageSink& target_;
    bool second_ = false;
    std::vector<std::pair<int, std::string>> shown_;
    std::vector<std::pair<std::pair<int, std::string>, bool>> answers_;
};

} // namespace

TransferOutcome RunConfirmedExport(AppContext& app, ItemChoice items, QWidget* parent)
{
    TransferEngine& engine = app.engine();
    ExpansionChoiceForOneExport expansion(app);
    TransferUi base = app.transferUi();
    SecondPassMessages messages(base.messages);
    TransferUi ui{base.loading, messages};
    ui.dialog = base.dialog;
    ui.editor = base.editor;
    ui.infoDialog = base.infoDialog;
    ui.commitObserver = base.commitObserver;
    // The preview has taken the items nothing carries out of the selection,
    // and those the user chose to export without: they stay part of what
    // this export did not do, which the writing run ends by telling.
    std::vector<int> skipped;
    ui.exportEnded = [&](const TransferReport& written) {
        TransferReport report = written;
        report.skipped.insert(report.skipped.begin(), skipped.begin(), skipped.end());
        std::vector<TransferFailure> leftOut;
        for (int item : expansion.leftOut()) {
            bool told = false;
            for (const auto& f : report.failures)
                told = told || f.item == item;
            for (const auto& f : leftOut)
                told = told || f.item == item;
            if (!told)
                leftOut.push_back({item, LeftOutText(item, app.program.texts)});
        }
        report.failures.insert(report.failures.begin(), leftOut.begin(), leftOut.end());
        if (base.exportEnded)
            base.exportEnded(report);
    };

    TransferOutcome outcome = engine.exportToGame(items, ui, ExportMode::Preview);
    if (outcome == TransferOutcome::Cancelled || outcome == TransferOutcome::Refused)
        return outcome;
    skipped = engine.lastReport().skipped;
    // With nothing to change there is nothing to confirm: the export still
    // runs (it writes nothing) and ends as every export does.
    if (!engine.lastReport().changes.empty()) {
        ExportConfirmDialog confirm(app.program.texts, engine.lastReport().changes, parent);
        if (confirm.exec() != QDialog::Accepted)
            return TransferOutcome::Cancelled;
    }
    messages.beginSecondPass();
    return engine.exportToGame(ItemChoice::AsSelected, ui);
}

} // namespace pitwall::gui
