#pragma once
// Watches the user's work in the open editor and tells the edit history
// after each edit: a key typed, a click, a wheel turn or a drop in the
// editor's window is followed (once the control has handled it) by the
// editor writing its controls into the working set and the history
// comparing the tables. Typing on in one field makes one step. The step is
// named after the control and, where the editor says which, the record it
// changed, as that record was when the edit started.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QTimer;

namespace pitwall::gui {

class AppContext;
class EditorWindow;

class EditTracker : public QObject {
    Q_OBJECT
public:
    EditTracker(AppContext& app, std::function<EditorWindow*()> currentEditor, QObject* parent = nullptr);

    // Takes in what the editor holds now (before a question, an undo, a
    // save); true when that made a new step.
    bool flush();
    // Takes in an edit made outside the editors (a dialog of the main
    // window, ended with OK) as one step named after that window.
    bool noticeEdit(const QString& windowCaption);

signals:
    // The history changed: a new step, an undo or redo, a save.
    void historyChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void check();

    AppContext& app_;
    std::function<EditorWindow*()> currentEditor_;
    QTimer* timer_;
    QPointer<QWidget> control_; // where the last edit happened
    bool typed_ = false;        // by keys (joins the step before) or by a click
    QString record_;            // what the editor named for it as it started
};

} // namespace pitwall::gui
