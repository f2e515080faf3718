#pragma once
// The workshop window's page "JAM-Workshop": one JAM file of any kind, its
// page or one image zoomed, its file and image fields, the palette position
// under the mouse, and conversion to and from pictures, the unscrambled copy
// and the JAM itself. The JAM stays open until another one opens; a file
// that fails to open leaves it in place. Recently opened JAMs are listed.

#include "formats/JamFile.h"
#include "session/SnapshotHistory.h"

#include <QPoint>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace pitwall::gui {

class AppContext;
class ZoomView;

class JamWorkshopPage : public QWidget {
    Q_OBJECT
public:
    explicit JamWorkshopPage(AppContext& app, QWidget* parent = nullptr);
    ~JamWorkshopPage() override;

    void applyLanguage();

    // FilenameEdit1AfterDialog: opens the file as the page's JAM. False (the
    // previous JAM kept) when it cannot be opened; the reason was shown.
    bool openJam(const std::string& fileName);
    void chooseJam();
    // choosePictureToLoad with the file already chosen (also for a dropped picture).
    bool loadPicture(const std::string& fileName);
    void choosePictureToLoad();
    // "In Datei speichern": true when the whole JAM was written (as .JAM or
    // .JAD), which makes the pictures loaded into it saved.
    bool saveJamToFile();
    // Before the open JAM goes (another JAM opened, the window closed): with
    // pictures loaded since it was last saved, asks whether to save it first.
    // False when the user cancels, or the save was cancelled or failed.
    bool keepPicturesBeforeGoingOn();
    // The page's mouse handlers, in page pixels.
    void pickImageAt(QPoint pagePoint, Qt::MouseButton button);
    void showPixelUnderMouse(QPoint pagePoint);
    void showChosenImages();

    // Undo and redo of the pictures loaded into the open JAM (the JAM is the
    // page's own document, written only by "Save as").
    const SnapshotHistory<TJAMFile>& history() const { return history_; }
    void undoStep();
    void redoStep();

    const TJAMFile* jam() const { return jam_.get(); }
    const std::string& jamFile() const { return jamFile_; }
    ZoomView* view() const { return view_; }
    int chosenImage() const;

signals:
    // A picture was loaded, undone or redone, or another JAM opened.
    void historyChanged();

private:
    void showJam();
    void showTexture();
    void refreshView();
    // Label2 for the point last under the mouse, as the view now shows it.
    void showPaletteIndex();
    bool saveJam(std::vector<int> filters);
    void rememberRecent(const std::string& fileName);
    void fillRecent();

    AppContext& app_;
    std::unique_ptr<TJAMFile> jam_;
    SnapshotHistory<TJAMFile> history_;
    std::string jamFile_;
    // The picture point last under the mouse, if the mouse was over it.
    std::optional<QPoint> hovered_;

    QLineEdit* fileName_;
    QPushButton* browse_;
    ZoomView* view_;
    QComboBox* zoom_;
    QRadioButton* allImages_;
    QRadioButton* oneImage_;
    QSpinBox* image_;
    QSpinBox* imageCount_;
    QSpinBox* pageHeight_;
    QComboBox* kind_;
    QSpinBox* left_;
    QSpinBox* top_;
    QSpinBox* width_;
    QSpinBox* height_;
    QSpinBox* textureId_;
    QSpinBox* tableSize_;
    QLabel* paletteIndex_;
    QPushButton* load_;
    QPushButton* save_;
    QCheckBox* dither_;
    QListWidget* recent_;
};

} // namespace pitwall::gui
