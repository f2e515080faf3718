#pragma once
// Everything the windows share: the program state, the session with the
// working set and the transfer engine, the message boxes, and the fixed
// dialogs (built on first use).

#include "EditorStates.h"
#include "FileDialogs.h"
#include "LazyWindow.h"
#include "QtMessages.h"
#include "QtTranslations.h"
#include "app/ProgramState.h"
#include "session/Session.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pitwall::gui {

class LoadingWindow;
class MainWindow;
class OptionsDialog;
class SelectionDialogWindow;

class AppContext {
public:
    explicit AppContext(ProgramState& program);
    ~AppContext();

    ProgramState& program;
    Session session;
    QtMessages messages;

    Messenger messenger() { return Messenger(program.texts, messages); }
    WorkingSet& workingSet() { return session.workingSet; }
    TransferEngine& engine() { return session.engine; }
    EditorStates editorStates;     // what the editors remember between openings
    QtTranslations qtTranslations; // Qt's own dialogs in the chosen language

    // Set up by the main window at its creation; the dialogs are its
    // children, each built the first time it is used.
    MainWindow* mainWindow = nullptr;
    LazyWindow<LoadingWindow> loadingWindow;
    LazyWindow<SelectionDialogWindow> selectionDialog;
    LazyWindow<OptionsDialog> optionsDialog;

    // The front end's side of a transfer (loading window, selection dialog,
    // editor store/restore, carset information window).
    TransferUi transferUi();

    // The file dialogs (replaceable in tests): the chosen name or nothing.
    std::function<std::optional<std::string>(const FileRequest&)> chooseFileToOpen;
    std::function<std::optional<std::string>(const FileRequest&)> chooseFileToSave;

    // The answer to "Save carset / Export / Discard / Cancel" before edits
    // would be lost. Empty: the main window asks with its question box
    // (tests that are not about the question answer Discard here).
    enum class EditsAnswer { SaveCarset, Export, Discard, Cancel };
    std::function<EditsAnswer()> askAboutEdits;
    // The answer to "Save JAM / Discard / Cancel" before pictures loaded into
    // the workshop's open JAM (named, UTF-8) would be lost. Empty: the
    // workshop asks with its question box.
    enum class DocumentAnswer { Save, Discard, Cancel };
    std::function<DocumentAnswer(const std::string& jamFile)> askAboutOpenJam;

    // Ends the program after ShutdownCleanup (replaceable in tests).
    std::function<void()> quit;
    bool shutDown = false;
    void shutdown();

private:
    class TransferAdapters;
    std::unique_ptr<TransferAdapters> adapters_;
};

} // namespace pitwall::gui
