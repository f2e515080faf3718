#include "EditorWindow.h"

namespace pitwall::gui {

EditorWindow::EditorWindow(AppContext& app, const char* className, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), app_(app)
{
    setObjectName(className);
}

void EditorWindow::hideEvent(QHideEvent* event)
{
    // An editor that disappears keeps what the user typed.
    if (storesData())
        store();
    QWidget::hideEvent(event);
}

} // namespace pitwall::gui
