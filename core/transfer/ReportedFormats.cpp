#include "transfer/ReportedFormats.h"

#include "base/Messages.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/Pictures.h"
#include "formats/StringFile.h"
#include "formats/TeamArtSheet.h"
#include "transfer/FormatMessages.h"

namespace pitwall {

bool ReadStringFile(std::string_view file, std::vector<std::string>& strings, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { ReadStringFile(file, strings); });
}

bool ReadTrackInfo(std::string_view file, TrackInfoBlock& block, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { return ReadTrackInfo(file, block); });
}

std::vector<std::string> ReadJamList(std::string_view file, Messenger* messenger)
{
    std::vector<std::string> names;
    ReportFormatErrors(messenger, [&] { names = ReadJamList(file); });
    return names;
}

bool ReadArtDirectory(std::string_view bankFile, ArtDirectory& directory, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { directory = ReadArtDirectory(bankFile); });
}

bool ReadArtImage(std::string_view bankFile, std::size_t index, ArtPicture& picture, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { return ReadArtImage(bankFile, index, picture); });
}

bool ReadArtImage(std::span<const std::uint8_t> bank, std::string_view bankName, std::size_t index, ArtPicture& picture,
                  Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { return ReadArtImage(bank, bankName, index, picture); });
}

bool WriteArtImage(std::string_view bankFile, const ArtEntry& entry, std::size_t index, const ArtPicture& picture,
                   Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { WriteArtImage(bankFile, entry, index, picture); });
}

bool WriteArtImage(std::vector<std::uint8_t>& bank, const ArtEntry& entry, std::size_t index, const ArtPicture& picture,
                   Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { WriteArtImage(bank, entry, index, picture); });
}

std::optional<std::vector<std::uint8_t>> EncodeForEntry(const ArtEntry& entry, std::size_t index,
                                                        const ArtPicture& picture, Messenger* messenger)
{
    std::optional<std::vector<std::uint8_t>> bytes;
    ReportFormatErrors(messenger, [&] { bytes = EncodeForEntry(entry, index, picture); });
    return bytes;
}

bool ExpandArtBank(std::string_view bankFile, const std::vector<bool>& flags, bool keepBackup, ArtDirectory& result,
                   Messenger* messenger, const ArtProgress& progress)
{
    return ReportFormatErrors(messenger, [&] { result = ExpandArtBank(bankFile, flags, keepBackup, progress); });
}

bool ExpandArtBank(std::string_view bankFile, const std::vector<bool>& flags, bool keepBackup, ArtDirectory& result,
                   Messenger* messenger, const ArtProgress& progress, unsigned workers, NewBankSync sync)
{
    return ReportFormatErrors(messenger,
                              [&] { result = ExpandArtBank(bankFile, flags, keepBackup, progress, workers, sync); });
}

bool ComposeTeamSheet(std::string_view bankFile, int team, ArtPicture& sheet, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { return ComposeTeamSheet(bankFile, team, sheet); });
}

bool WriteTeamSheet(std::string_view bankFile, const ArtDirectory& directory, int team, const ArtPicture& sheet,
                    Messenger* messenger)
{
    std::vector<FormatError> faults;
    const bool all = WriteTeamSheet(bankFile, directory, team, sheet, faults);
    if (messenger)
        for (const FormatError& fault : faults)
            ShowFormatError(*messenger, fault);
    return all;
}

bool ExportArtImage(const std::string& bankFile, std::size_t entry, const std::string& fileName, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { return ExportArtImage(bankFile, entry, fileName); });
}

bool ImportArtPicture(const std::string& bankFile, const ArtDirectory& directory, std::size_t entry,
                      const std::string& fileName, Messenger* messenger)
{
    PictureNotes notes;
    const bool imported =
        ReportFormatErrors(messenger, [&] { return ImportArtPicture(bankFile, directory, entry, fileName, &notes); });
    if (imported)
        ShowPictureNotes(messenger, fileName, notes);
    return imported;
}

bool PrepareArtPicture(const ArtDirectory& directory, std::size_t entry, const std::string& fileName,
                       std::optional<ArtPicture>& picture, Messenger* messenger)
{
    PictureNotes notes;
    const bool prepared = ReportFormatErrors(messenger, [&] {
        picture = ArtPictureForEntry(directory, entry, fileName, &notes);
        if (picture)
            EncodeForEntry(directory.entries[entry], entry, *picture);
    });
    if (prepared && picture)
        ShowPictureNotes(messenger, fileName, notes);
    return prepared;
}

bool ImportArtPicture(std::vector<std::uint8_t>& bank, const ArtDirectory& directory, std::size_t entry,
                      const std::string& fileName, Messenger* messenger)
{
    PictureNotes notes;
    const bool imported =
        ReportFormatErrors(messenger, [&] { return ImportArtPicture(bank, directory, entry, fileName, &notes); });
    if (imported)
        ShowPictureNotes(messenger, fileName, notes);
    return imported;
}

bool SplitSoundBankFile(std::string_view bankFile, std::string_view workDirectory, SoundTable& table,
                        Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { SplitSoundBankFile(bankFile, workDirectory, table); });
}

bool JoinSoundBank(const SoundTable& table, std::string_view workDirectory, std::vector<std::uint8_t>& bank,
                   Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { bank = JoinSoundBank(table, workDirectory); });
}

bool TakeInSoundWav(SoundTable& table, std::size_t index, std::string_view wavFile, std::string_view workDirectory,
                    Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { return TakeInSoundWav(table, index, wavFile, workDirectory); });
}

std::optional<SoundConversion> TakeInSoundFile(SoundTable& table, std::size_t index, std::string_view wavFile,
                                               std::string_view workDirectory, Messenger* messenger)
{
    // Not through an optional assigned inside ReportFormatErrors: GCC 12
    // lets the callee build its result straight into that optional, which a
    // refusal then leaves unset.
    try {
        return TakeInSoundFile(table, index, wavFile, workDirectory);
    } catch (const FormatError& e) {
        if (e.number() < 0)
            throw;
        if (messenger)
            ShowFormatError(*messenger, e);
        return std::nullopt;
    }
}

Image LoadPicture(const std::string& fileName, Messenger* messenger)
{
    PictureNotes notes;
    Image picture;
    if (ReportFormatErrors(messenger, [&] { picture = LoadPicture(fileName, &notes); }))
        ShowPictureNotes(messenger, fileName, notes);
    return picture;
}

bool SavePicture(const Image& image, const std::string& fileName, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { SavePicture(image, fileName); });
}

bool ImportPictureAsBmp(const std::string& source, const std::string& target, Messenger* messenger)
{
    PictureNotes notes;
    const bool imported = ReportFormatErrors(messenger, [&] { return ImportPictureAsBmp(source, target, &notes); });
    if (imported)
        ShowPictureNotes(messenger, source, notes);
    return imported;
}

bool LoadPictureInto(Image& target, const std::string& fileName, Messenger& messenger)
{
    PictureNotes notes;
    Image picture;
    if (!ReportFormatErrors(&messenger, [&] { picture = LoadPictureFor(target, fileName, &notes); }))
        return false;
    ShowPictureNotes(&messenger, fileName, notes);
    if (picture.depth() != target.depth() && !messenger.ask(1045))
        return false;
    PastePicture(target, std::move(picture));
    return true;
}

bool LoadJam(TJAMFile& jam, const std::string& fileName, bool raw, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { jam.LoadFromFile(fileName, raw); });
}

bool LoadJamFromBmp(TJAMFile& jam, const std::string& fileName, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { jam.LoadFromBMP(fileName); });
}

bool LoadJamPairFromBmp(TJAMFile& jam, const std::string& fileName, TJAMFile& second, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { jam.LoadPairFromBMP(fileName, second); });
}

bool LoadJamPage(TJAMFile& jam, const std::string& fileName, Dithering dithering, Messenger* messenger)
{
    PictureNotes notes;
    const bool loaded = ReportFormatErrors(messenger, [&] { return LoadJamPage(jam, fileName, dithering, &notes); });
    if (loaded)
        ShowPictureNotes(messenger, fileName, notes);
    return loaded;
}

bool SaveJamPage(const TJAMFile& jam, const std::string& fileName, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { SaveJamPage(jam, fileName); });
}

bool SaveJamAs(const TJAMFile& jam, const std::string& fileName, Messenger* messenger)
{
    return ReportFormatErrors(messenger, [&] { SaveJamAs(jam, fileName); });
}

bool CopyBetweenKinds(TJAMFile& eightBit, TJAMFile& sixteenBit, JamCopyDirection direction, bool allowDifferentHeights,
                      JamCopySides sides, Messenger* messenger)
{
    return ReportFormatErrors(
        messenger, [&] { return CopyBetweenKinds(eightBit, sixteenBit, direction, allowDifferentHeights, sides); });
}

} // namespace pitwall
