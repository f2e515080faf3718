#include "AppContext.h"

#include "CarsetInfoWindow.h"
#include "ExportArtExpansion.h"
#include "LoadingWindow.h"
#include "MainWindow.h"
#include "SelectionDialogWindow.h"
#include "TransferSummary.h"
#include "transfer/TransferEngine.h"

#include <QApplication>

namespace pitwall::gui {

// Connects the transfer engine's interfaces to the windows.
class AppContext::TransferAdapters : public EditorSync, public CarsetInfoDialog {
public:
    explicit TransferAdapters(AppContext& app) : app_(app) {}
    void storeEditor() override
    {
        if (app_.mainWindow)
            app_.mainWindow->storeCurrentEditor();
    }
    void restoreEditor() override
    {
        if (app_.mainWindow)
            app_.mainWindow->restoreCurrentEditor();
    }
    bool edit(CarsetInfo& info) override
    {
        CarsetInfoWindow window(app_, info, app_.mainWindow);
        if (window.exec() != QDialog::Accepted)
            return false;
        window.applyCarsetInfoEdits(info);
        return true;
    }

private:
    AppContext& app_;
};

AppContext::AppContext(ProgramState& programState)
    : program(programState), session(programState), adapters_(std::make_unique<TransferAdapters>(*this))
{
    quit = [] { QApplication::exit(0); };
    chooseFileToOpen = [this](const FileRequest& r) { return ChooseFileToOpen(*this, mainWindow, r); };
    chooseFileToSave = [this](const FileRequest& r) { return ChooseFileToSave(*this, mainWindow, r); };
    UseExpansionDialogBeforeExports(*this);
}

AppContext::~AppContext() = default;

TransferUi AppContext::transferUi()
{
    TransferUi ui{*loadingWindow, messages};
    ui.dialog = selectionDialog;
    ui.editor = adapters_.get();
    ui.infoDialog = adapters_.get();
    ui.exportEnded = [this](const TransferReport& report) {
        Messenger m = messenger();
        ShowExportEnding(report, m, program.settings.showExportOK);
    };
    return ui;
}

void AppContext::shutdown()
{
    if (shutDown)
        return;
    shutDown = true;
    ShutdownCleanup(program, messages);
}

} // namespace pitwall::gui
