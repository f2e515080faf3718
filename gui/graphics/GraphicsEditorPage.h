#pragma once
// What the graphics editor's pages share: the program, the editor's
// remembered state, the dithering choice and the transfers; and the base of
// every page, which the editor asks to fill, enable, draw and remember.

#include "formats/PaletteReduction.h"
#include "graphics/GraphicsPages.h"

#include <QWidget>

#include <functional>
#include <vector>

class QLayout;
class QListWidget;

namespace pitwall {
struct GraphicsSet;
}

namespace pitwall::gui {

class AppContext;
struct GraphicsEditorState;

struct GraphicsPageContext {
    AppContext& app;
    // Set while the controls are made or refilled: nothing is shown then.
    bool filling = true;
    // Shows the current page again: timers, status bar and picture.
    std::function<void()> showPage;
    // Imports or exports exactly these items.
    std::function<void(const std::vector<int>& items, bool toGame)> transfer;
    // How a picture in other colours goes into an 8-bit JAM (the check box
    // under the pages).
    std::function<Dithering()> dithering;

    GraphicsSet& graphics() const;
    GraphicsEditorState& state() const;
    bool isLoaded(int item) const;
};

class GraphicsEditorPage : public QWidget {
    Q_OBJECT
public:
    GraphicsEditorPage(GraphicsPageContext& context, GraphicsPage kind, QWidget* parent);

    GraphicsPage kind() const { return kind_; }
    // The team (the tyre type on the tyre page) and the variant (0
    // software, 1 hardware) the page shows.
    virtual int team() const { return 0; }
    virtual int variant() const { return 0; }
    // What the page's controls edit, named for the undo steps: the team
    // and variant, the body part, the flag chosen.
    virtual QString record() const { return {}; }

    // The lists of names from the working set and the language.
    virtual void fillLists() {}
    // The edit controls work only on loaded items.
    virtual void enableControls(bool loaded) = 0;
    virtual void draw() = 0;
    // The choices the editor remembers between openings.
    virtual void storeChoices(GraphicsEditorState& state) const = 0;
    virtual void setUpChoices(const GraphicsEditorState& state) = 0;

protected:
    // The page's "Importieren", "Exportieren", "Alles importieren" and
    // "Alles exportieren".
    void addTransferButtons(QLayout* layout);
    // A choice of the user shows the page again; filling the lists does not.
    void showOnChange();
    // The racing teams' names, the chosen row kept.
    void fillTeamList(QListWidget* list) const;

    GraphicsPageContext& context_;

private:
    GraphicsPage kind_;
};

} // namespace pitwall::gui
