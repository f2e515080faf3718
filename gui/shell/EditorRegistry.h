#pragma once
// The editors the main window can open: class, menu command and how to make
// one. An editor that is built replaces its placeholder line here.

#include <QString>
#include <functional>
#include <span>

namespace pitwall::gui {

class AppContext;
class EditorWindow;

struct EditorEntry {
    const char* className;  // TForm12 ...
    const char* menuAction; // TeamsFahrer1 ...
    const char* caption;    // German menu caption
    int captionText;        // UI text of the menu command
    bool enabled;
    const char* iconLetters; // the tool button's tile
    unsigned iconColour;     // 0xRRGGBB
    std::function<EditorWindow*(AppContext&)> create;
};

std::span<const EditorEntry> Editors();
const EditorEntry* FindEditor(const char* className);

} // namespace pitwall::gui
