#include "PlaceholderEditor.h"

#include "AppContext.h"
#include "EditorRegistry.h"
#include "EditorStatusBar.h"
#include "QtMessages.h"

#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

namespace pitwall::gui {

PlaceholderEditor::PlaceholderEditor(AppContext& app, const char* className, const QString& title, int loadedItem)
    : EditorWindow(app, className), loadedItem_(loadedItem)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    label_ = new QLabel(title, this);
    label_->setAlignment(Qt::AlignCenter);
    label_->setStyleSheet("color: gray; font-size: 18px;");
    layout->addWidget(label_, 1);
    layout->addWidget(CreateEditorStatusBar(this));
    resize(720, 480);
}

void PlaceholderEditor::Loaded()
{
    bool loaded = loadedItem_ <= 0 || app_.workingSet().transfer.isLoaded(loadedItem_);
    SetupEditorStatusBar(findChild<QStatusBar*>("StatusBar1"), loaded, true, app_);
}

void PlaceholderEditor::ApplyLanguage()
{
    const EditorEntry* entry = FindEditor(objectName().toLatin1().constData());
    if (!entry)
        return;
    QString title = FromGameText(app_.program.texts.text(entry->captionText)).remove('&');
    setWindowTitle(title);
    label_->setText(title);
}

} // namespace pitwall::gui
