#pragma once
// TForm27 "Menugrafiken": the pictures of the game's menus on three pages —
// each racing team's art with its animations, the six loading pictures and
// the 85 menu backgrounds — with the import and export of each page's items.

#include "EditorWindow.h"
#include "MenuGraphicsPages.h"

#include <memory>

class QStatusBar;
class QTabWidget;
class QTimer;

namespace pitwall::gui {

class MenuBackgroundsPage;
class MenuLoadingPage;
class MenuTeamArtPage;

class MenuGraphicsEditor : public EditorWindow {
    Q_OBJECT
public:
    explicit MenuGraphicsEditor(AppContext& app, QWidget* parent = nullptr);
    ~MenuGraphicsEditor() override;

    void restore() override;
    void setUp() override;
    std::vector<std::string> workingFiles() const override;
    void applyLanguage() override;
    // The page and the team, loading picture or background chosen on it.
    QString recordOf(const QWidget* control) const override;

    // The sequence dialog (replaceable in tests).
    std::function<std::optional<PictureSequence>()>& chooseSequence() { return services_->chooseSequence; }
    QTimer* timer() const { return timer_; }
    void animateTeamArt();

protected:
    // Hiding stops the animation.
    void hideEvent(QHideEvent* event) override;

private:
    void showCurrentPage();
    void runTransfer(const std::vector<int>& items, bool exportToGame);

    std::unique_ptr<MenuGraphicsServices> services_;
    QTabWidget* pages_ = nullptr;
    MenuTeamArtPage* teamArt_ = nullptr;
    MenuLoadingPage* loading_ = nullptr;
    MenuBackgroundsPage* backgrounds_ = nullptr;
    QTimer* timer_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
};

} // namespace pitwall::gui
