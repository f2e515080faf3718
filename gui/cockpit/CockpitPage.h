#pragma once
// What the cockpit editor's pages share: the program, the editor's
// remembered state, the transfers and the redrawing; and the frame of every
// page: the picture, the choice of the cockpit set it draws over
// ("Anzeige:"), a status bar telling whether that set is loaded, and the
// page's own controls beside them.

#include "formats/Image.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QLabel;
class QRadioButton;
class QStatusBar;
class QVBoxLayout;

namespace pitwall {
struct CockpitData;
}

namespace pitwall::gui {

class AppContext;
struct CockpitEditorState;

struct CockpitPageContext {
    AppContext& app;
    // Set while the controls are filled from the working set: their
    // handlers change nothing then.
    bool showing = false;
    // Draws the current page's picture again.
    std::function<void()> redraw;
    // The status bars follow the chosen language or cockpit set.
    std::function<void()> updateStatus;
    // Software (0) or hardware (1) cockpit on every page.
    std::function<void(int variant)> chooseVariant;
    // The window is stored first; every page is shown again after.
    std::function<void(const std::vector<int>& items)> runImport;
    std::function<void(const std::vector<int>& items)> runExport;

    CockpitData& cockpit() const;
    CockpitEditorState& state() const;
    bool loaded(int item) const;
};

class CockpitPage : public QWidget {
    Q_OBJECT
public:
    // `number` counts the pages from 0 and names the frame's controls.
    CockpitPage(CockpitPageContext& context, int number, QWidget* parent);

    // The page's picture over the given cockpit preview.
    virtual Image picture(Image cockpit) const { return cockpit; }
    // The item whose loaded flag the window's status bar reports.
    virtual int statusItem() const = 0;
    // Fills the controls from the working set and the remembered choices.
    virtual void showState() {}
    // Writes the fields back into the working set.
    virtual void store() {}
    // What the page's controls edit, named for the undo steps: the cockpit
    // set shown, and what the page has chosen (object, text, display).
    virtual QString record() const;

    void showVariant(int variant);
    void showStatusText(const QString& text);
    void showPicture(const Image& picture, int scale);

protected:
    // The page's own controls, right of the picture.
    void setControls(QWidget* controls);
    // Controls below the picture and its variant buttons, given the room the
    // picture does not need.
    void setBelowPicture(QWidget* below);

    CockpitPageContext& context_;

private:
    QLabel* picture_ = nullptr;
    QVBoxLayout* pictureColumn_ = nullptr;
    std::array<QRadioButton*, 2> variants_{};
    QStatusBar* status_ = nullptr;
};

} // namespace pitwall::gui
