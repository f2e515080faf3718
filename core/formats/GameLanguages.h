#pragma once
// The game's languages: their names (the text files in LDATA are the name
// plus ".str"), which languages each game version has, how many strings each
// language file holds per version, and where the track texts start.

#include <array>
#include <cstddef>
#include <string>

namespace pitwall {

inline constexpr int kLanguageCount = 8;

// Single-byte Windows-1252 names: ñ, ç and ê are the bytes F1, E7 and EA.
inline constexpr std::array<const char*, kLanguageCount> kLanguageNames = {"DEUTSCH",
                                                                           "ENGLISH",
                                                                           "ESPA\xF1OL",
                                                                           "FRAN\xE7"
                                                                           "AIS",
                                                                           "ITALIANO",
                                                                           "AMERICAN_ENGLISH",
                                                                           "POLSKI",
                                                                           "PORTUGU\xEAs"};

// Number of languages a game version has: the unknown version only the
// first, v1.00 the first five, the v1.13 builds all eight.
int LanguagesOfVersion(int gameVersion);
bool LanguagePresent(int language, int gameVersion);

// The game path of a language's text file, "LDATA\" + name + ".str", in UTF-8
// so that it names the file on disk.
std::string LanguageFileGamePath(int language);
// Name as UTF-8, for showing and for command lines.
std::string LanguageNameUtf8(int language);
// Index of the language of that name (UTF-8 or Windows-1252, any letter
// case), -1 when there is none.
int LanguageIndexOf(const std::string& name);

// Expected number of strings of a language file for a game version; 0 where
// none is expected (the unknown version, or a language the version lacks).
int ExpectedStringCount(int language, int gameVersion);
// True when `count` is the expected count of that language and version.
bool StringCountFits(int language, int gameVersion, std::size_t count);
// The first version (v1.00, v1.13, v1.13 (Gp3Video)) whose expected count of
// the language equals `count`; 0 (unknown version) when none does.
int VersionOfStringCount(int language, std::size_t count);

// Seven blocks of 16 track texts (one per track): the text number of block b
// (0..6) for the first track, by language. Track t's text is that + t.
inline constexpr int kTrackTextBlocks = 7;
inline constexpr int kTrackTextLength = 29;
int TrackTextNumber(int block, int language, int track);

} // namespace pitwall
