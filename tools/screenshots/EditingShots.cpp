// The Edit menu with an undo step, and the question before unsaved edits
// are lost.

#include "AppContext.h"
#include "EditTrackerRecords.h"
#include "MainWindow.h"
#include "QtMessages.h"
#include "UnsavedEditsQuestion.h"
#include "base/DelphiFormat.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>

#include <iostream>

using namespace pitwall;
using namespace pitwall::gui;

namespace pitwall::gui {

void SaveEditingShots(AppContext& app, MainWindow& window, const QString& out)
{
    // One edit of the teams, as the editor would report it.
    TeamRecord& team = app.workingSet().teams.teams[2];
    team.engine.assign("EngineX");
    app.session.edits.notice(app.workingSet(),
                             app.program.texts.format(1255, Args("Engine", ToGameText(TeamRecordName(app, 2)))));
    window.updateEditState();

    // The main window with its Edit menu open below the menu's title.
    window.show();
    QApplication::processEvents();
    auto* edit = window.findChild<QMenu*>("Bearbeiten1");
    const QRect title = window.menuBar()->actionGeometry(edit->menuAction());
    edit->popup(window.mapToGlobal(title.bottomLeft()));
    QApplication::processEvents();
    const QPixmap top = window.grab();
    const QPixmap menu = edit->grab();
    const qreal ratio = top.devicePixelRatio();
    const QPoint at = window.menuBar()->mapTo(&window, title.bottomLeft());
    QPixmap both(std::max<int>(top.width(), static_cast<int>((at.x() + menu.deviceIndependentSize().width()) * ratio)),
                 std::max<int>(top.height(), static_cast<int>((at.y() + menu.deviceIndependentSize().height()) * ratio)));
    both.setDevicePixelRatio(ratio);
    both.fill(Qt::white);
    QPainter p(&both);
    p.drawPixmap(0, 0, top);
    p.drawPixmap(at, menu);
    p.end();
    edit->hide();
    if (!both.save(out + "/edit-menu.png"))
        std::cerr << "cannot write edit-menu.png\n";

    auto question = MakeUnsavedEditsQuestion(app.program.texts, &window);
    question->show();
    QApplication::processEvents();
    if (!question->grab().save(out + "/unsaved-question.png"))
        std::cerr << "cannot write unsaved-question.png\n";
    question->hide();
    app.session.edits.undo(app.workingSet());
    window.updateEditState();
}

} // namespace pitwall::gui
