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
// While a transfer runs (the "Standard" buttons load a carset), the tables
// are half written: look again a little later.
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
    const bool starts = type == QEvent::KeyPress || type == QEvent::MouseButtonPress || type == QEvent::Drop;
    if (!starts && type != QEvent::KeyRelease && type != QEvent::MouseButtonRelease && type != QEvent::Wheel)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    EditorWindow* editor = currentEditor_();
    if (!widget || !editor || widget->window() != editor)
        return false;
    if (starts) {
        // Before the control acts: the working files it may write are kept
        // as they are now (files watched already cost a look-up).
        app_.session.edits.watchFiles(editor->workingFiles());
        if (type != QEvent::Drop)
            return false;
    }
    if (type == QEvent::KeyRelease && static_cast<QKeyEvent*>(event)->isAutoRepeat())
        return false;
    QWidget* control = type == QEvent::KeyRelease && QApplication::focusWidget() ? QApplication::focusWidget() : widget;
    if (control_ != control || typed_ != (type == QEvent::KeyRelease)) {
        // Another control: what the last one did is a step of its own.
        if (control_ && timer_->isActive())
            check();
        control_ = control;
        typed_ = type == QEvent::KeyRelease;
    }
    timer_->start();
    return false;
}

void EditTracker::check()
{
    if (app_.workingSet().transfer.busy) {
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
    const std::string name = app_.program.texts.format(kChangeStepText, Args(ToGameText(caption)));
    // Keys typed into one field join into one step; each click is its own.
    const std::string key =
        typed_ && control_ ? std::to_string(reinterpret_cast<std::uintptr_t>(control_.data())) : std::string();
    if (!app_.session.edits.notice(app_.workingSet(), name, key))
        return false;
    emit historyChanged();
    return true;
}

} // namespace pitwall::gui
