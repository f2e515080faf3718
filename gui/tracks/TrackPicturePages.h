#pragma once
// The tracks editor's pages of the track maps: the pictures with their
// section markers, and the sections of each view.

#include "TrackPage.h"
#include "formats/Image.h"

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class QSpinBox;
class QTreeWidget;

namespace pitwall::gui {

class TrackPictureView;

// "Streckengrafiken": the small and full-screen pictures of each view,
// loaded and saved one by one or all through a file-name pattern.
class TrackPicturesPage : public TrackPage {
    Q_OBJECT
public:
    TrackPicturesPage(TrackPageContext& context, QWidget* parent);
    void showSlot() override;
    void applyLanguage(const UITexts& texts) override;

    // Takes the picture file as the shown kind and view of the slot.
    void loadPicture(const std::string& file);

private:
    void describeSectionAt(int x, int y);
    void transferAllPictures(bool loading);

    TrackPictureView* picture_;
    QComboBox* pictureKind_;
    QComboBox* pictureView_;
    QComboBox* zoom_;
    QScrollBar* scrollX_;
    QScrollBar* scrollY_;
    QCheckBox* markSections_;
    QLabel* sectionUnderPointer_;
    Image shownPicture_;
};

// "Streckenabschnitte": the labelled sections of each view and the one
// being edited, with the room the labels leave.
class TrackSectionsPage : public TrackPage {
    Q_OBJECT
public:
    TrackSectionsPage(TrackPageContext& context, QWidget* parent);
    void showSlot() override;
    void storeSlot() override;
    void applyLanguage(const UITexts& texts) override;

private:
    void showSection(int index);
    void showSectionLimits();

    int shownSection_ = -1; // section the edit fields show
    QComboBox* sectionsView_;
    QTreeWidget* sections_;
    QGroupBox* sectionEdit_;
    QLineEdit* sectionName_;
    std::array<QSpinBox*, 4> sectionCorners_{};
    QSpinBox* sectionGear_;
    QSpinBox* sectionSpeed_;
    QLabel* sectionCount_;
    QLabel* sectionChars_;
};

} // namespace pitwall::gui
