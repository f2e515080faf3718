#pragma once
// TForm17 "Sounds": the sounds of the game's sound bank, one row each, with
// the marks of the sounds a carset carries; playing, extracting and
// replacing single sounds or all of them, and the import and export of the
// sounds alone.

#include "EditorWindow.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QTreeWidget;

namespace pitwall {
struct SoundTable;
}

namespace pitwall::gui {

class SoundPlayer;
struct SoundsEditorState;

class SoundsEditor : public EditorWindow {
    Q_OBJECT
public:
    explicit SoundsEditor(AppContext& app, QWidget* parent = nullptr);
    ~SoundsEditor() override;

    void store() override;
    void restore() override;
    void setUp() override;
    std::vector<std::string> workingFiles() const override;
    void applyLanguage() override;
    // The sound chosen, for "Sound ersetzen".
    QString recordOf(const QWidget* control) const override;

    // The folder of "Alle Sounds extrahieren" / "ersetzen" (replaceable in
    // tests): the chosen folder or nothing.
    std::function<std::optional<std::string>()> chooseFolder;
    // Whether sound can be played at all (replaceable in tests).
    std::function<bool()> hasAudioOutput;
    // Where the sound module is looked for on the first play: the program's
    // own directory, or lib/pitwall beside bin/ when installed (replaceable
    // in tests).
    QString soundModuleDirectory;
    // The sound playing now, if any.
    std::optional<int> playing() const { return playing_; }

protected:
    // Hiding stops the sound.
    void hideEvent(QHideEvent* event) override;

private:
    SoundTable& table();
    SoundsEditorState& state();
    int selectedSound() const;
    void fillList();
    void enableControls();
    void stopPlaying();
    SoundPlayer* soundPlayer();

    void markSound(int row, bool checked);
    void markAllSounds(bool checked);
    void togglePlaying();
    void saveSoundToFile();
    void loadSoundFromFile();
    void saveAllSounds();
    void loadAllSounds();
    void importSounds();
    void exportSounds();

    QTreeWidget* list_ = nullptr;
    QCheckBox* selectAll_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* play_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::unique_ptr<SoundPlayer> player_;
    bool playerLoaded_ = false;
    QString playerFile_, playerFailure_;
    std::optional<int> playing_;
    bool filling_ = false;
};

} // namespace pitwall::gui
