#pragma once
// A standard icon of the style whose pictures are read when painted. The
// built-in style keeps each standard icon as a few PNG files of different
// sizes (16, 32, 128 pixels ...) and reads all of them when asked for the
// icon; a tool bar paints one size per screen. This icon reads only the file
// the style's own icon would draw at the size asked for, so both look alike
// at every size and scale.

#include <QIcon>
#include <QSize>
#include <QString>
#include <QStyle>

#include <initializer_list>
#include <utility>
#include <vector>

namespace pitwall::gui {

// One of the style's files for an icon with the size of its picture.
struct StyleIconFile {
    QString path;
    QSize size;
};

// The style's icon `standard` read lazily from `files` when the style draws
// its standard icons from exactly these files (the built-in Fusion style
// without an icon theme); otherwise, or when a file is missing, the style's
// own icon.
QIcon DeferredStyleIcon(QStyle::StandardPixmap standard, std::vector<StyleIconFile> files);

// An icon read lazily from `files`, or a null icon when one of them is
// missing.
QIcon DeferredFileIcon(std::vector<StyleIconFile> files);

// Whether `style` (or the style a proxy style wraps) draws its standard icons
// from the files DeferredStyleIcon reads: the built-in Fusion style without
// an icon theme.
bool StyleDrawsFromItsFiles(const QStyle* style);

// The style's files "<name>-<size>.png" for the sizes given.
std::vector<StyleIconFile> StyleIconFiles(const char* name, std::initializer_list<int> sizes);

} // namespace pitwall::gui
