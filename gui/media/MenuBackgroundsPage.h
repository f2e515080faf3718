#pragma once
// The page "Menuhintergründe" of the menu graphics editor: the 85 menu
// backgrounds, shown from the user's replacement picture or the art bank,
// saved and replaced one by one or all, and the list of those to export.

#include "MenuGraphicsPages.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QListWidget;

namespace pitwall::gui {

class MenuBackgroundsPage : public QWidget {
    Q_OBJECT
public:
    MenuBackgroundsPage(MenuGraphicsServices& services, QWidget* parent);

    // The names, the remembered background and the export list.
    void restore();
    // On a background chosen: the replacement picture (Image8) or the art-bank
    // entry (Image9) of the selected background.
    void showBackground();
    int background() const; // 0..84

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enableControls();
    void fillExportList();
    std::string bankFile() const;

    void saveBackgroundToFile();
    void saveAllBackgrounds();
    void loadBackgroundFromFile();
    void loadAllBackgrounds();
    void addBackgroundToExport();
    void addAllBackgroundsToExport();
    void deleteSelectedFromList();

    MenuGraphicsServices& services_;
    QListWidget* names_ = nullptr;
    QListWidget* exportList_ = nullptr;
    QLabel* replacement_ = nullptr;
    QLabel* artEntry_ = nullptr;
    QCheckBox* show_ = nullptr;
    QWidget* controls_ = nullptr;
};

} // namespace pitwall::gui
