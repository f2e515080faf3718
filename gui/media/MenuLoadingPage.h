#pragma once
// The page "Loading-Pics" of the menu graphics editor: the six pictures the
// game shows while a race loads, one at a time, saved and replaced one by
// one or all through a file-name pattern.

#include "MenuGraphicsPages.h"

#include <QWidget>

class QButtonGroup;
class QLabel;
class QPushButton;

namespace pitwall::gui {

class MenuLoadingPage : public QWidget {
    Q_OBJECT
public:
    MenuLoadingPage(MenuGraphicsServices& services, QWidget* parent);

    // The remembered picture, shown when the pictures are loaded.
    void restore();
    // On a picture chosen: the working copy of picture n, or UI text 212.
    void showPicture(bool reportMissing);
    int picture() const; // 1..6

private:
    void enableControls();
    std::string workFile(int n) const;

    void savePictureToFile();
    void saveAllPictures();
    void loadPictureFromFile();
    void loadAllPictures();

    MenuGraphicsServices& services_;
    QLabel* image_ = nullptr;
    QButtonGroup* choice_ = nullptr;
    QWidget* controls_ = nullptr;
};

} // namespace pitwall::gui
