#pragma once
// A window's language routine as data: which property of which control gets
// which UI text. Each window declares its table next to itself; one routine
// applies any table.

#include <span>

class QObject;

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

enum class TextRole {
    Caption,  // window title, label/button/check box text, group box title, menu or action text
    Hint,     // tool tip
    TabTitle, // the title of the tab page with this object name
    Item,     // entry `index` of a combo box or list widget
    Column,   // header `index` of a tree or table widget
};

struct TextBinding {
    const char* objectName; // the window itself when empty
    TextRole role;
    int text;
    int index = 0;
};

// Puts the texts into the controls below `window` found by object name.
// Controls that do not exist (yet) are skipped.
void ApplyTexts(QObject* window, std::span<const TextBinding> table, const UITexts& texts);

} // namespace pitwall::gui
