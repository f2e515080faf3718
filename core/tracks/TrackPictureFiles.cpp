#include "tracks/TrackPictureFiles.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/Messages.h"
#include "formats/ArtBankDirectory.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/Bmp.h"
#include "formats/Pictures.h"
#include "tracks/TrackPictures.h"
#include "transfer/FormatMessages.h"
#include "transfer/ReportedFormats.h"

namespace pitwall {

namespace {
constexpr int kWrongPictureSize = 710;
}

Image LoadTrackPicture(const std::string& gameDirectory, const std::string& workingDirectory, int slot, int kind,
                       int view, Messenger* messenger)
{
    const std::string replaced = workingDirectory + TrackPictureMember(slot, kind, view);
    try {
        if (FileExists(replaced))
            return LoadBmpFile(replaced);
        ArtPicture picture;
        if (!ReadArtImage(ResolveGamePath(gameDirectory, kArtBankGamePath), TrackPictureEntry(slot, kind, view),
                          picture, messenger))
            return {};
        return ArtPictureToImage(picture);
    } catch (const std::exception& e) {
        if (messenger)
            messenger->showFixed(e.what());
        return {};
    }
}

bool TakeTrackPicture(const std::string& file, const std::string& workingDirectory, int slot, int kind, int view,
                      Messenger& messenger)
{
    const std::string target = workingDirectory + TrackPictureMember(slot, kind, view);
    try {
        // Checked before the working copy is touched: a refused picture
        // leaves the one there.
        PictureNotes notes;
        Image image;
        if (!ReportFormatErrors(&messenger, [&] { image = LoadPicture(file, &notes); }))
            return false;
        if (!TrackPictureSizeFits(kind, image.width(), image.height())) {
            messenger.show(kWrongPictureSize);
            return false;
        }
        // The working copy is a BMP: a BMP is kept as it is.
        if (EqualsIgnoreAsciiCase(ExtensionOf(file), ".BMP")) {
            if (!CopyFileForced(file, target))
                return false;
        } else {
            SaveBmpFile(image, target);
        }
        ShowPictureNotes(&messenger, file, notes);
        return true;
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
        return false;
    }
}

} // namespace pitwall
