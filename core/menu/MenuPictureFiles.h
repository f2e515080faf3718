#pragma once
// The menu pictures as files of the user's: saving and taking in team art
// sheets, loading pictures and menu backgrounds, one at a time or all through
// a file-name pattern. Taking in works on the working copies (the team's
// sheet in memory, the files in the working directory); the transfers carry
// them on.

#include "formats/ArtPicture.h"
#include "formats/Image.h"

#include <string>

namespace pitwall {

class Messenger;

// The pattern with its "*" replaced by the number ("C:\\BG*.JPG", 12 gives
// "C:\\BG12.JPG"); the pattern itself when it has none.
std::string PatternFileName(const std::string& pattern, int number);

// A new 24-bit picture of the given size, resampled (area average when
// shrinking, bilinear when growing).
Image StretchPicture(const Image& source, int width, int height);

// The team's 960 x 590 sheet as a BMP.
bool SaveTeamSheet(const ArtPicture& sheet, const std::string& file, Messenger* messenger);
// Reads a BMP or JPG of 960 x 590 into the sheet; another size is UI text 661
// (960, 590) and the sheet stays. A file that cannot be read is reported.
bool LoadTeamSheet(ArtPicture& sheet, const std::string& file, Messenger& messenger);

// Takes a picture in as loading picture n: a BMP of 640 x 480 is copied as it
// is, a JPG of that size converted; another size asks UI text 352, and Yes
// stores it stretched to 640 x 480, No shows UI text 353 and changes nothing.
bool TakeInLoadingPicture(const std::string& workDirectory, int n, const std::string& file, Messenger& messenger);

// Takes a picture in as menu background n (MenuReplace<n>.BMP): 800 x 600 is
// stored as it is; another size asks UI text 662 (800, 600), Yes stores it
// stretched, No shows UI text 690.
bool TakeInMenuBackground(const std::string& workDirectory, int n, const std::string& file, Messenger& messenger);

// Saves menu background n, from its replacement picture when the working
// directory has one (an empty directory name has none), else from the art
// bank's entry. The target's extension decides: .JPG writes a JPEG (quality
// 90 from a replacement, 80 from the art bank), anything else a BMP. False
// when the picture could not be read (said through the messenger); a file
// that cannot be written throws with the reason.
bool SaveMenuBackground(const std::string& workDirectory, const std::string& bankFile, int n, const std::string& target,
                        Messenger* messenger);

} // namespace pitwall
