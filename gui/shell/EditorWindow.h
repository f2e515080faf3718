#pragma once
// The base of every editor window: it shows part of the working set and
// writes it back. The main window keeps at most one editor open, directly
// below itself.

#include <QWidget>

#include <string>
#include <vector>

class QStatusBar;

namespace pitwall::gui {
class NoDataPanel;
}

namespace pitwall::gui {

class AppContext;

class EditorWindow : public QWidget {
    Q_OBJECT
public:
    EditorWindow(AppContext& app, const char* className, QWidget* parent = nullptr);

    // Writes the controls into the working set (before exports and saves,
    // and when the editor is hidden).
    virtual void store() {}
    // Re-reads the controls from the working set (after imports and loads).
    virtual void restore() {}
    // Sets the window up after creation, its status bar included.
    virtual void setUp() {}
    // The window's language routine.
    virtual void applyLanguage() {}
    // Whether the main window calls store / restore on this editor.
    virtual bool storesData() const { return true; }
    virtual bool restoresData() const { return true; }
    // Whether the editor only shows data an import or carset brought in;
    // while nothing at all is loaded it shows how to begin instead.
    virtual bool needsLoadedData() const { return true; }
    // The working files (sounds, pictures) the editor's actions may write:
    // the edit history keeps what they hold before each action, for undo.
    virtual std::vector<std::string> workingFiles() const { return {}; }
    // An editor with a document of its own (not working-set data, such as
    // the workshop's open JAM) undoes its own steps: while it is in front,
    // the Edit menu works on those. The names are empty when there is
    // nothing to undo or redo.
    virtual bool keepsOwnHistory() const { return false; }
    virtual std::string ownUndoName() const { return {}; }
    virtual std::string ownRedoName() const { return {}; }
    virtual void undoOwnStep() {}
    virtual void redoOwnStep() {}
    // Asked before the editor goes (another editor opened, the program
    // quits): an editor whose own document holds unsaved steps asks the
    // user, and false keeps it open.
    virtual bool mayClose() { return true; }
    // Shows or hides that first view, as the working set's data stands.
    void showWhetherDataIsLoaded();
    // The record an edit in `control` changes, named as the user knows it
    // ("Team 3: Ferrano"), for the name of the undo step; empty when the
    // control edits no single record. Asked as the edit starts, before the
    // control has handled the click or key.
    virtual QString recordOf(const QWidget* control) const
    {
        (void)control;
        return {};
    }

signals:
    // A step of the editor's own history was done, undone or dropped.
    void ownHistoryChanged();

protected:
    void hideEvent(QHideEvent* event) override;
    // While a transfer runs, areas may be filling the working set on another
    // thread: an editor's timers (animations, blinking) leave it alone then.
    bool transferRunning() const;

    AppContext& app_;

private:
    NoDataPanel* noData_ = nullptr;
};

} // namespace pitwall::gui
