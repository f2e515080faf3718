#pragma once
// The JAM pages of the 3D graphics editor: car liveries (with the
// car-number positions), cockpit liveries, jacks and helmets, one JAM kind
// each.

#include "GraphicsEditorPage.h"

#include <QImage>

#include <array>
#include <vector>

class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace pitwall {
class TJAMFile;
}

namespace pitwall::gui {

class CarNumbersBox;
class GP3Image;

class GraphicsJamPage : public GraphicsEditorPage {
    Q_OBJECT
public:
    GraphicsJamPage(GraphicsPageContext& context, GraphicsPage kind, const char* listName, const char* variantName,
                    QWidget* parent);

    int team() const override;
    int variant() const override;
    QString record() const override;
    void fillLists() override;
    void enableControls(bool loaded) override;
    void draw() override;
    void storeChoices(GraphicsEditorState& state) const override;
    void setUpChoices(const GraphicsEditorState& state) override;

    // The car page's car-number positions (null on the other pages).
    CarNumbersBox* carNumbers() const { return numbers_; }
    // The car page's timer step: toggles the outline of the focused
    // car-number field, drawn when the car page is shown.
    void blinkCarOutline(bool shown);
    bool blinkOn() const { return blink_; }
    // What the car page shows, outline included.
    const QImage& carPicture() const { return carPicture_; }

private:
    void drawPicture();
    void drawCarPicture();
    void saveJamPicture();
    void loadJamPicture();
    void convert(bool toHardware);
    // The files of the chosen team (or both helmet sheets) in one variant,
    // top first as the pictures stack them; empty slots stay null.
    std::vector<TJAMFile*> shownJams(int variant);

    QListWidget* list_ = nullptr;
    QGroupBox* variantGroup_ = nullptr;
    std::array<QRadioButton*, 2> variant_{};
    GP3Image* image_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* load_ = nullptr;
    QPushButton* toHard_ = nullptr;
    QPushButton* toSoft_ = nullptr;
    CarNumbersBox* numbers_ = nullptr;
    QImage carPicture_;
    bool blink_ = false;
};

} // namespace pitwall::gui
