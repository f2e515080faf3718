#pragma once
// What the three pages of the menu graphics editor share: the program, the
// editor's remembered state, the sequence dialog and the transfers of a
// page's own items.

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace pitwall {
class Messenger;
}

namespace pitwall::gui {

class AppContext;
struct MenuGraphicsEditorState;

// A folder and a file-name pattern with "*" for the number.
struct PictureSequence {
    std::string folder;
    std::string pattern;
    std::string fileName(int number) const;
};

struct MenuGraphicsServices {
    AppContext& app;
    MenuGraphicsEditorState& state;
    // The sequence dialog: nothing when cancelled or the pattern is empty.
    std::function<std::optional<PictureSequence>()> chooseSequence;
    // Imports or exports exactly these items (export stores the window first).
    std::function<void(const std::vector<int>& items, bool exportToGame)> transfer;
};

// The progress window of a picture sequence (UI texts 554, 1003 and the
// given first line), stepped once per picture while `work` runs for each.
// Whether a file of the sequence exists for one of the numbers; when none
// does, the user is told so (UI text 163).
bool AnyFileOf(const PictureSequence& sequence, const std::vector<int>& numbers, Messenger& messenger);

void RunPictureSequence(QWidget* parent, AppContext& app, int firstLineText, const std::vector<int>& numbers,
                        const std::function<void(int number)>& work);

} // namespace pitwall::gui
