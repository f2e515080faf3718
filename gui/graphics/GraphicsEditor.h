#pragma once
// TForm15 "Grafiken": the team graphics of the working set on seven pages:
// car liveries with the car-number positions, cockpit liveries, jacks,
// helmets, pit-crew colours, tyres and flag colours. Each page imports and
// exports its own items; the window edits the working set in place. The
// pages are classes of their own (GraphicsJamPages.h, GraphicsColourPages.h);
// the window keeps the tabs, the timers, the status bar and the transfers.

#include "EditorStates.h"
#include "EditorWindow.h"
#include "GraphicsEditorPage.h"

#include <QImage>
#include <array>
#include <vector>

class QCheckBox;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace pitwall::gui {

class GraphicsFlagsPage;
class GraphicsJamPage;

class GraphicsEditor : public EditorWindow {
    Q_OBJECT
public:
    explicit GraphicsEditor(AppContext& app, QWidget* parent = nullptr);

    void store() override;
    void restore() override;
    void setUp() override;
    void applyLanguage() override;
    // The page and what is chosen on it (team and variant, body part, flag).
    QString recordOf(const QWidget* control) const override;

    // The car page's timer step: toggles the outline of the focused
    // car-number field (every 500 ms while the car page is shown).
    void blinkCarOutline();
    // The flag page's timer step: the next marshal frame (every 100 ms
    // while "Animation" is ticked).
    void advanceFlagFrame();
    bool blinkOn() const;
    int flagFrame() const;
    // What the car page shows, outline included.
    const QImage& carPicture() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    GraphicsPage currentPage() const;
    GraphicsEditorPage* page(GraphicsPage page) const;

    void fillLists();
    void showPage();
    void showStatus();
    void runTransfer(const std::vector<int>& items, bool toGame);

    GraphicsPageContext context_;
    QTabWidget* pages_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::array<GraphicsEditorPage*, kGraphicsPageCount> pageList_{};
    GraphicsJamPage* carPage_ = nullptr;
    GraphicsFlagsPage* flagsPage_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;
    QCheckBox* dither_ = nullptr;
};

} // namespace pitwall::gui
