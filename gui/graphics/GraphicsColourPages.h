#pragma once
// The pit-crew, tyre and flag pages of the 3D graphics editor: ramp tables
// previewed on the game's textures, and the tyre pictures.

#include "GraphicsEditorPage.h"

#include <array>

class QCheckBox;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace pitwall::gui {

class ColorPicker;
class GP3Image;

// "Boxencrew": each team's colours of the pit crew's body parts.
class GraphicsPitCrewPage : public GraphicsEditorPage {
    Q_OBJECT
public:
    GraphicsPitCrewPage(GraphicsPageContext& context, QWidget* parent);

    int team() const override;
    QString record() const override;
    void fillLists() override;
    void enableControls(bool loaded) override;
    void draw() override;
    void storeChoices(GraphicsEditorState& state) const override;
    void setUpChoices(const GraphicsEditorState& state) override;

private:
    void colourClick(int index);

    QListWidget* crewTeams_ = nullptr;
    QListWidget* bodyParts_ = nullptr;
    QListWidget* textures_ = nullptr;
    GP3Image* crewImage_ = nullptr;
    ColorPicker* picker_ = nullptr;
};

// "Reifen": the two tyre makes' pictures in three views.
class GraphicsTyresPage : public GraphicsEditorPage {
    Q_OBJECT
public:
    GraphicsTyresPage(GraphicsPageContext& context, QWidget* parent);

    int team() const override; // the tyre type
    QString record() const override;
    void enableControls(bool loaded) override;
    void draw() override;
    void storeChoices(GraphicsEditorState& state) const override;
    void setUpChoices(const GraphicsEditorState& state) override;

private:
    int view() const;
    void saveTyrePicture();
    void loadTyrePicture();

    std::array<QRadioButton*, 2> tyreTypes_{};
    std::array<QRadioButton*, 3> tyreViews_{};
    GP3Image* tyreImage_ = nullptr;
    QPushButton* tyreSave_ = nullptr;
    QPushButton* tyreLoad_ = nullptr;
};

// "Flaggen": the two colours of each flag, shown on the marshal's frames.
class GraphicsFlagsPage : public GraphicsEditorPage {
    Q_OBJECT
public:
    GraphicsFlagsPage(GraphicsPageContext& context, QWidget* parent);

    QString record() const override;
    void fillLists() override;
    void enableControls(bool loaded) override;
    void draw() override;
    void storeChoices(GraphicsEditorState& state) const override;
    void setUpChoices(const GraphicsEditorState& state) override;

    // "Animation" ticked.
    bool animates() const;
    // The marshal frame shown, stepped forwards or back.
    int frame() const { return frame_; }
    void stepFrame(int step);

private:
    void gridClick(int colour, QPoint pos);

    QListWidget* flagTypes_ = nullptr;
    std::array<GP3Image*, 2> grids_{};
    GP3Image* flagImage_ = nullptr;
    QCheckBox* animation_ = nullptr;
    QPushButton* nextFrame_ = nullptr;
    QPushButton* previousFrame_ = nullptr;
    int frame_ = 0;
};

} // namespace pitwall::gui
