#pragma once
// An editor that is not built yet: its window with the status bar, so the
// main window's editor discipline works for every menu command.

#include "EditorWindow.h"

namespace pitwall::gui {

class PlaceholderEditor : public EditorWindow {
    Q_OBJECT
public:
    PlaceholderEditor(AppContext& app, const char* className, const QString& title, int loadedItem);
    void Loaded() override;
    void Restore() override { Loaded(); }

private:
    int loadedItem_;
};

} // namespace pitwall::gui
