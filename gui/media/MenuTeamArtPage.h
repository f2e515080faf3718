#pragma once
// The page "Teamgrafiken (Menu)" of the menu graphics editor: a racing
// team's art sheet as its sprites, the car rotation and helmet animations,
// the sheet as a BMP, and the import and export of team art.

#include "MenuGraphicsPages.h"

#include <QWidget>

#include <array>

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace pitwall {
struct ArtPicture;
}

namespace pitwall::gui {

class MenuTeamArtPage : public QWidget {
    Q_OBJECT
public:
    MenuTeamArtPage(MenuGraphicsServices& services, QWidget* parent);

    // The team names and the remembered team and inner page.
    void restore();
    // On a team chosen: every picture cleared, then the team's sprites when its
    // art is loaded. Returns whether the team's art is loaded (the timer
    // runs only then).
    bool showTeam();
    // One animation step on the inner page shown.
    void animateTeamArt();
    bool teamLoaded() const;

private:
    QLabel* picture(const char* name, int width, int height, QWidget* parent);
    const ArtPicture& sheet() const;
    void draw(QLabel* label, std::size_t position, bool centred);
    void enableControls();

    void saveSheetToFile();
    void loadSheetFromFile();

    MenuGraphicsServices& services_;
    QListWidget* teams_ = nullptr;
    QTabWidget* inner_ = nullptr;
    std::vector<QLabel*> pictures_;
    std::vector<QPushButton*> needLoaded_;
};

} // namespace pitwall::gui
