#pragma once
// An editor that is not built yet: its window with the status bar, so the
// main window's editor discipline works for every menu command.

#include "EditorWindow.h"

class QLabel;

namespace pitwall::gui {

class PlaceholderEditor : public EditorWindow {
    Q_OBJECT
public:
    PlaceholderEditor(AppContext& app, const char* className, const QString& title, int loadedItem);
    void Loaded() override;
    void Restore() override { Loaded(); }
    // The title is the menu command's text in the chosen language.
    void ApplyLanguage() override;

private:
    int loadedItem_;
    QLabel* label_;
};

} // namespace pitwall::gui
