#pragma once
// Pictures told to assistive technology: a picture control is named
// "Picture" and described by where it is (the window and its tab pages)
// and what the user chose to see in it (the current rows of the lists, the
// chosen radio buttons and drop-down entries around it), or as empty. The
// description is renewed whenever the picture is painted, so it follows
// every change of the picture and of the language.

#include <QString>

class QWidget;

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

// Keeps the picture control described from now on.
void KeepPictureDescribed(QWidget* picture, const UITexts& texts);

// A picture that always shows the same: a fixed description.
void DescribeFixedPicture(QWidget* picture, const UITexts& texts, int descriptionText);

// The description as it would be given now (the tests compare it).
QString PictureDescription(const QWidget* picture, const UITexts& texts);

} // namespace pitwall::gui
