#pragma once
// The format routines as the data areas and the front ends call them when
// the user is to hear about a failure: each runs the routine of core/formats,
// shows a FormatError it throws through the messenger (none: nothing is
// shown) and gives false, an empty result or nothing. Errors without a UI
// text of their own pass on as they were thrown.

#include "formats/ArtBankDirectory.h"
#include "formats/ArtBankExpansion.h"
#include "formats/ArtPicture.h"
#include "formats/Image.h"
#include "formats/JamCopy.h"
#include "formats/JamFile.h"
#include "formats/JamPictureFiles.h"
#include "formats/SoundBankFiles.h"
#include "formats/TrackFile.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

class Messenger;

bool ReadStringFile(std::string_view file, std::vector<std::string>& strings, Messenger* messenger);
bool ReadTrackInfo(std::string_view file, TrackInfoBlock& block, Messenger* messenger);
std::vector<std::string> ReadJamList(std::string_view file, Messenger* messenger);

bool ReadArtDirectory(std::string_view bankFile, ArtDirectory& directory, Messenger* messenger);
bool ReadArtImage(std::string_view bankFile, std::size_t index, ArtPicture& picture, Messenger* messenger);
bool ReadArtImage(std::span<const std::uint8_t> bank, std::string_view bankName, std::size_t index, ArtPicture& picture,
                  Messenger* messenger);
bool WriteArtImage(std::string_view bankFile, const ArtEntry& entry, std::size_t index, const ArtPicture& picture,
                   Messenger* messenger);
bool WriteArtImage(std::vector<std::uint8_t>& bank, const ArtEntry& entry, std::size_t index, const ArtPicture& picture,
                   Messenger* messenger);
std::optional<std::vector<std::uint8_t>> EncodeForEntry(const ArtEntry& entry, std::size_t index,
                                                        const ArtPicture& picture, Messenger* messenger);
bool ExpandArtBank(std::string_view bankFile, const std::vector<bool>& flags, bool keepBackup, ArtDirectory& result,
                   Messenger* messenger, const ArtProgress& progress = {});
bool ExpandArtBank(std::string_view bankFile, const std::vector<bool>& flags, bool keepBackup, ArtDirectory& result,
                   Messenger* messenger, const ArtProgress& progress, unsigned workers,
                   NewBankSync sync = NewBankSync::ToDisk);
bool ComposeTeamSheet(std::string_view bankFile, int team, ArtPicture& sheet, Messenger* messenger);
// Every entry that could not take its picture has its message shown, in order.
bool WriteTeamSheet(std::string_view bankFile, const ArtDirectory& directory, int team, const ArtPicture& sheet,
                    Messenger* messenger);
bool ExportArtImage(const std::string& bankFile, std::size_t entry, const std::string& fileName, Messenger* messenger);
bool ImportArtPicture(const std::string& bankFile, const ArtDirectory& directory, std::size_t entry,
                      const std::string& fileName, Messenger* messenger);
// The checks of ImportArtPicture without the writing: the picture loads, has
// the entry's size and fits into it. `picture` stays empty for an entry past
// the directory or a file that is no picture.
bool PrepareArtPicture(const ArtDirectory& directory, std::size_t entry, const std::string& fileName,
                       std::optional<ArtPicture>& picture, Messenger* messenger);
bool ImportArtPicture(std::vector<std::uint8_t>& bank, const ArtDirectory& directory, std::size_t entry,
                      const std::string& fileName, Messenger* messenger);

bool SplitSoundBankFile(std::string_view bankFile, std::string_view workDirectory, SoundTable& table,
                        Messenger* messenger);
bool JoinSoundBank(const SoundTable& table, std::string_view workDirectory, std::vector<std::uint8_t>& bank,
                   Messenger* messenger);
bool TakeInSoundWav(SoundTable& table, std::size_t index, std::string_view wavFile, std::string_view workDirectory,
                    Messenger* messenger);
std::optional<SoundConversion> TakeInSoundFile(SoundTable& table, std::size_t index, std::string_view wavFile,
                                               std::string_view workDirectory, Messenger* messenger);

// An empty picture when it was not loaded.
Image LoadPicture(const std::string& fileName, Messenger* messenger);
bool SavePicture(const Image& image, const std::string& fileName, Messenger* messenger);
bool ImportPictureAsBmp(const std::string& source, const std::string& target, Messenger* messenger);
// Pastes a picture file over `target` (the editors' "load picture into"):
// the picture must have the target's size (else UI text 737); a different
// depth asks UI text 1045 and only Yes goes on. True when pasted.
bool LoadPictureInto(Image& target, const std::string& fileName, Messenger& messenger);

bool LoadJam(TJAMFile& jam, const std::string& fileName, bool raw, Messenger* messenger);
bool LoadJamFromBmp(TJAMFile& jam, const std::string& fileName, Messenger* messenger);
bool LoadJamPairFromBmp(TJAMFile& jam, const std::string& fileName, TJAMFile& second, Messenger* messenger);
bool LoadJamPage(TJAMFile& jam, const std::string& fileName, Dithering dithering, Messenger* messenger);
bool SaveJamPage(const TJAMFile& jam, const std::string& fileName, Messenger* messenger);
bool SaveJamAs(const TJAMFile& jam, const std::string& fileName, Messenger* messenger);
bool CopyBetweenKinds(TJAMFile& eightBit, TJAMFile& sixteenBit, JamCopyDirection direction, bool allowDifferentHeights,
                      JamCopySides sides, Messenger* messenger);

} // namespace pitwall
