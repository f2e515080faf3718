#include "EditorWindow.h"

#include "AppContext.h"
#include "MainWindow.h"
#include "NoDataPanel.h"

#include <algorithm>

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

bool EditorWindow::transferRunning() const { return app_.workingSet().transfer.busy; }

void EditorWindow::showWhetherDataIsLoaded()
{
    const auto& loaded = app_.workingSet().transfer.loaded;
    const bool nothing = std::all_of(loaded.begin(), loaded.end(), [](std::uint8_t b) { return b == 0; });
    if (!needsLoadedData() || !nothing) {
        if (noData_)
            noData_->hide();
        return;
    }
    if (!noData_)
        noData_ = new NoDataPanel(
            this, [this] { app_.mainWindow->importAllFromGame(); }, [this] { app_.mainWindow->openCarsetWithAll(); });
    noData_->applyLanguage(app_.program.texts);
    noData_->show();
    noData_->raise();
}

} // namespace pitwall::gui
