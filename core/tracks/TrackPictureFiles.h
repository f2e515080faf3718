#pragma once
// The track pictures as the tracks editor shows and exchanges them: a
// replaced picture waits in the working directory as TrackReplace<slot>
// <kind><view>.BMP until the export; otherwise the art bank's picture is
// shown.

#include "formats/Image.h"

#include <string>

namespace pitwall {

class Messenger;

// The working directory's picture, else the art bank's (BITMAPS\GP3ART5.BIN
// of the game directory). A null image after a message when neither can be
// read.
Image LoadTrackPicture(const std::string& gameDirectory, const std::string& workingDirectory, int slot, int kind,
                       int view, Messenger* messenger);
// Takes a BMP or JPG file into the working directory as the slot's picture.
// A picture without the kind's size (498 x 359 small, 800 x 600 full-screen)
// gets UI text 710 and false before anything is copied: the picture the
// working directory held stays, as the game could not take the new one.
bool TakeTrackPicture(const std::string& file, const std::string& workingDirectory, int slot, int kind, int view,
                      Messenger& messenger);

} // namespace pitwall
