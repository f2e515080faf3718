#pragma once
// TForm20 "Workshops": low-level tools for the game's two picture
// containers, the art bank (ArtBankPage) and any JAM file (JamWorkshopPage).
// A JAM file dropped on the window opens on the JAM page; a picture dropped
// on it replaces the open JAM's page.

#include "EditorWindow.h"

#include <string>

class QStatusBar;
class QTabWidget;

namespace pitwall::gui {

class ArtBankPage;
class JamWorkshopPage;

class WorkshopsWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit WorkshopsWindow(AppContext& app, QWidget* parent = nullptr);
    // Works on the game's files themselves, loaded data or not.
    bool needsLoadedData() const override { return false; }

    void setUp() override;
    void applyLanguage() override;
    // The page, and on the art bank the entry chosen.
    QString recordOf(const QWidget* control) const override;
    // The window keeps no working-set data of its own.
    bool storesData() const override { return false; }
    bool restoresData() const override { return false; }
    // The open JAM is the window's own document, with its own steps.
    bool keepsOwnHistory() const override { return true; }
    std::string ownUndoName() const override;
    std::string ownRedoName() const override;
    void undoOwnStep() override;
    void redoOwnStep() override;
    // Asks before pictures loaded into the open JAM would be lost.
    bool mayClose() override;

    // What a drop of this file does; false when the window takes no such file.
    bool dropFile(const std::string& fileName);

    ArtBankPage* artPage() const { return artPage_; }
    JamWorkshopPage* jamPage() const { return jamPage_; }
    QTabWidget* pages() const { return pages_; }

protected:
    void hideEvent(QHideEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QTabWidget* pages_;
    ArtBankPage* artPage_;
    JamWorkshopPage* jamPage_;
    QStatusBar* statusBar_;
};

} // namespace pitwall::gui
