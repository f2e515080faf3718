#pragma once
// The records an edit changes, named for the undo steps ("change of Engine
// (Team 3: Ferrano)"): teams, drivers and tracks as the loaded data names
// them, and what is chosen in an editor's lists and buttons. Each editor
// says itself which of its controls choose the record it edits
// (EditorWindow::recordOf); these are the pieces it names it with.

#include <QString>
#include <QStringList>

#include <initializer_list>

class QTabWidget;
class QWidget;

namespace pitwall::gui {

class AppContext;

// "Team 3: Ferrano" for slot 2; "Team 3" while the team has no name; empty
// for a slot that does not exist.
QString TeamRecordName(AppContext& app, int slot);
// "Driver 7: ..." for driver index 6, likewise.
QString DriverRecordName(AppContext& app, int driver);
// "Track 2: Interlagos" by the track's English city, likewise.
QString TrackRecordName(AppContext& app, int slot);
// "Text 123, English": a text of a language file.
QString TextRecordName(AppContext& app, int number, const QString& language);
// "Sound 12": a sound of the sound file, numbered as the sounds editor lists it.
QString SoundRecordName(AppContext& app, int number);

// What is chosen in these controls, in their order: a list's current row,
// a checked radio button or check box, a drop-down's entry. Null controls,
// unchecked buttons and empty entries are left out.
QString ChosenEntries(std::initializer_list<const QWidget*> choosers);
// The title of the page of `tabs` that holds `control`; empty when none does.
QString PageTitleOf(const QTabWidget* tabs, const QWidget* control);
// Whether `control` is `area` or lies within it.
bool Within(const QWidget* control, const QWidget* area);
// The parts that are not empty, joined by ", ".
QString RecordParts(const QStringList& parts);

} // namespace pitwall::gui
