#include "EditTracker.h"

#include "AppContext.h"
#include "ControlCaption.h"
#include "EditorWindow.h"
#include "QtMessages.h"
#include "base/DelphiFormat.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <cstdint>

namespace pitwall::gui {

namespace {
constexpr int kChangeStepText = 1173; // "change of %s"
constexpr int kRecordStepText = 1255; // "change of %s (%s)"
// While a transfer runs (the "Standard" buttons load a carset) or a dialog
// is open, the edit is not done yet: look again a little later.
constexpr int kBusyRetryMs = 50;
} // namespace

EditTracker::EditTracker(AppContext& app, std::function<EditorWindow*()> currentEditor, QObject* parent)
    : QObject(parent), app_(app), currentEditor_(std::move(currentEditor)), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    timer_->setInterval(0);
    connect(timer_, &QTimer::timeout, this, &EditTracker::check);
    qApp->installEventFilter(this);
}

bool EditTracker::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool keys = type == QEvent::KeyPress || type == QEvent::KeyRelease;
    // A press starts an edit, a release ends it; a wheel turn or a drop is both.
    const bool starts = type == QEvent::KeyPress || type == QEvent::MouseButtonPress
        || type == QEvent::MouseButtonDblClick || type == QEvent::Wheel || type == QEvent::Drop;
    const bool ends = type == QEvent::KeyRelease || type == QEvent::MouseButtonRelease || type == QEvent::Wheel
        || type == QEvent::Drop;
    if (!starts && !ends)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    EditorWindow* editor = currentEditor_();
    if (!widget || !editor)
        return false;
    // A drop-down's list opens as a window of its own: what is chosen there
    // is an edit of the drop-down.
    if (QWidget* window = widget->window(); window != editor && window->windowType() == Qt::Popup
        && window->parentWidget() && window->parentWidget()->window() == editor)
        widget = window->parentWidget();
    if (widget->window() != editor)
        return false;
    if (keys && static_cast<QKeyEvent*>(event)->isAutoRepeat())
        return false;
    // Keys are the focused control's, also where its parent or its inner
    // field hears them; keys sent straight to another control are that one's.
    QWidget* focus = QApplication::focusWidget();
    const bool focusHears = focus && (focus == widget || widget->isAncestorOf(focus) || focus->isAncestorOf(widget));
    QWidget* control = keys && focusHears ? focus : widget;
    if (control_ != control || typed_ != keys) {
        // Another control: what the last one did is a step of its own, taken
        // in before this control handles anything.
        if (control_ && timer_->isActive())
            check();
        control_ = control;
        typed_ = keys;
        record_ = editor->recordOf(control);
    } else if (starts && !keys) {
        // Each click is an edit of its own, of the record chosen as it starts.
        if (timer_->isActive())
            check();
        record_ = editor->recordOf(control);
    }
    if (starts) {
        // Before the control acts: the working files it may write are kept
        // as they are now (files watched already cost a look-up).
        app_.session.edits.watchFiles(editor->workingFiles());
    }
    if (ends)
        timer_->start();
    return false;
}

void EditTracker::check()
{
    // A click that opened a dialog (a file to load, a text to edit) changes
    // the data only once the dialog closes: look again until it has.
    if (app_.workingSet().transfer.busy || QApplication::activeModalWidget()) {
        timer_->start(kBusyRetryMs);
        return;
    }
    timer_->setInterval(0);
    flush();
}

bool EditTracker::flush()
{
    if (app_.workingSet().transfer.busy)
        return false;
    EditorWindow* editor = currentEditor_();
    if (editor && editor->storesData())
        editor->store();
    QString caption = ControlCaption(control_);
    if (caption.isEmpty() && editor)
        caption = editor->windowTitle();
    const std::string name = record_.isEmpty()
        ? app_.program.texts.format(kChangeStepText, Args(ToGameText(caption)))
        : app_.program.texts.format(kRecordStepText, Args(ToGameText(caption), ToGameText(record_)));
    // Keys typed into one field join into one step, as long as they go to
    // the same record; each click is its own.
    const std::string key = typed_ && control_
        ? std::to_string(reinterpret_cast<std::uintptr_t>(control_.data())) + '\n' + record_.toStdString()
        : std::string();
    if (!app_.session.edits.notice(app_.workingSet(), name, key))
        return false;
    emit historyChanged();
    return true;
}

bool EditTracker::noticeEdit(const QString& windowCaption)
{
    if (!app_.session.edits.notice(app_.workingSet(),
                                   app_.program.texts.format(kChangeStepText, Args(ToGameText(windowCaption)))))
        return false;
    emit historyChanged();
    return true;
}

} // namespace pitwall::gui
