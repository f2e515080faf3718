#pragma once
// What the tracks editor's pages share: the program, the slot they show and
// the editor's remembered state; and the base of every page, which the
// editor asks to show, store and relabel the shown slot.

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;

namespace pitwall {
class UITexts;
struct TrackInfo;
struct TrackTable;
} // namespace pitwall

namespace pitwall::gui {

class AppContext;
struct TracksEditorState;

struct TrackPageContext {
    AppContext& app;
    int shown = -1; // slot the controls show
    // Set while the controls are refilled after a transfer: the handlers
    // of the section and view controls must not write half-filled controls
    // back.
    bool busy = false;
    // Every page stores into the shown slot, or shows it again.
    std::function<void()> storeSlot;
    std::function<void()> showSlot;

    TrackTable& table() const;
    TracksEditorState& state() const;
    int shownSlot() const; // 0..15 even before a slot is shown
    TrackInfo& info() const;
};

class TrackPage : public QWidget {
    Q_OBJECT
public:
    TrackPage(TrackPageContext& context, QWidget* parent) : QWidget(parent), context_(context) {}

    // Fills the controls from the shown slot.
    virtual void showSlot() = 0;
    // Writes what the user changed back into the shown slot.
    virtual void storeSlot() {}
    // The captions the language's texts build, and what the page shows in
    // the language's own words.
    virtual void applyLanguage(const UITexts& texts) = 0;

protected:
    TrackPageContext& context_;
};

namespace tracks {

// The lines of a text that captions several controls ("|" in the language
// file).
QStringList TextLinesOf(const UITexts& texts, int number);
// Sets the text of the label, button or group box `name` below `root`.
void SetCaption(QWidget* root, const QString& name, const QString& text);
// Replaces a combo box's entries without reporting a change.
void SetEntries(QComboBox* combo, const QStringList& entries);
// "View 1" to "View 4" in the language's words.
QStringList ViewEntries(const UITexts& texts);

} // namespace tracks

} // namespace pitwall::gui
