#include "WorkshopsState.h"

#include "AppContext.h"
#include "MainWindow.h"

#include <QCoreApplication>
#include <QObject>

namespace pitwall::gui {

namespace {

class WorkshopsStateHolder : public QObject {
public:
    explicit WorkshopsStateHolder(QObject* owner) : QObject(owner) { setObjectName("WorkshopsState"); }
    WorkshopsState state;
};

} // namespace

WorkshopsState& WorkshopsStateOf(AppContext& app)
{
    QObject* owner = app.mainWindow ? static_cast<QObject*>(app.mainWindow) : QCoreApplication::instance();
    for (QObject* child : owner->children())
        if (auto* holder = dynamic_cast<WorkshopsStateHolder*>(child))
            return holder->state;
    return (new WorkshopsStateHolder(owner))->state;
}

} // namespace pitwall::gui
