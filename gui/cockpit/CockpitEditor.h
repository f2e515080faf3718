#pragma once
// TForm16 "Cockpit": the cockpit graphics, the positions of the cockpit
// objects and LCD texts drawn over the cockpit, and the LCD displays of every
// language with the LCD emulated in the LCD font. The window shows and
// changes the working set's cockpit tables; the transfers move them.
//
// Pages (PageControl6): graphics, cockpit objects, LCD texts, LCD display;
// each with the choice of the cockpit set it draws over ("Anzeige:") and a
// status bar telling whether that set is loaded. The pages are classes of
// their own (CockpitGraphicsPage, CockpitPositionPages, CockpitLcdPage).

#include "CockpitPage.h"
#include "EditorStates.h"
#include "EditorWindow.h"

#include "formats/Image.h"

#include <array>
#include <vector>

class QStatusBar;
class QTabWidget;
class QTimer;

namespace pitwall::gui {

class CockpitEditor : public EditorWindow {
    Q_OBJECT

public:
    enum Page { kGraphicsPage, kObjectsPage, kTextsPage, kLcdPage, kPageCount };

    explicit CockpitEditor(AppContext& app, QWidget* parent = nullptr);

    void store() override;
    void restore() override;
    void setUp() override;
    void applyLanguage() override;
    // The page and what is chosen on it.
    QString recordOf(const QWidget* control) const override;

    // The picture the current page shows, as drawn last.
    const Image& shownPicture() const { return shown_; }

private:
    CockpitPage* currentPage() const;
    void runImport(const std::vector<int>& items);
    void runExport(const std::vector<int>& items);
    void chooseVariant(int variant);
    void showAll();
    void updateStatus();
    void redraw();

    CockpitPageContext context_;
    QTabWidget* pages_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::array<CockpitPage*, kPageCount> pageList_{};
    QTimer* timer_ = nullptr; // Timer1: the LCD redrawn once a second
    Image shown_;
};

} // namespace pitwall::gui
