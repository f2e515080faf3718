#pragma once
// The tool bar's pictures: the style's standard icons where one fits, and
// small lettered tiles for the editors (no icon theme is needed). The
// style's pictures are read when first painted, one size at a time.

#include <QIcon>

namespace pitwall::gui {

enum class ToolIcon { Open, Save, Import, Export, Quit, CarsetInfo, Backup, Options, StartGame, Help, About, Info };

QIcon MakeToolIcon(ToolIcon icon);
// A tile with one or two letters, coloured per editor.
QIcon MakeEditorIcon(const QString& letters, const QColor& colour);

} // namespace pitwall::gui
