#include "PlaceholderEditor.h"

#include "AppContext.h"
#include "EditorStatusBar.h"

#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

namespace pitwall::gui {

PlaceholderEditor::PlaceholderEditor(AppContext& app, const char* className, const QString& title, int loadedItem)
    : EditorWindow(app, className), loadedItem_(loadedItem)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(title, this);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet("color: gray; font-size: 18px;");
    layout->addWidget(label, 1);
    layout->addWidget(CreateEditorStatusBar(this));
    resize(720, 480);
}

void PlaceholderEditor::Loaded()
{
    bool loaded = loadedItem_ <= 0 || app_.workingSet().transfer.isLoaded(loadedItem_);
    SetupEditorStatusBar(findChild<QStatusBar*>("StatusBar1"), loaded, true, app_);
}

} // namespace pitwall::gui
