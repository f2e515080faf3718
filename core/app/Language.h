#pragma once
// UI language files (*.LNG beside the executable): line 1 is the marquee text
// of the status bars, line n + 2 is UI text n, "|" stands for a line break.

#include "base/UITexts.h"

#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

class MessageSink;

inline constexpr const char* kNoLanguageFilesMessage =
    "Cannot find language-files (*.LNG). You must put at least one language-file in the directory Pitwall is "
    "started from!";
inline constexpr const char* kLanguageFileMissingMessage = "Cannot find language-file!";
inline constexpr const char* kInvalidLanguageFileSuffix =
    " is an invalid language-file! Maybe some texts will not be displayed correctly!";
inline constexpr const char* kDefaultLanguageFile = "ENGLISH.LNG";

// File names (no directory) of the *.LNG files in the directory.
std::vector<std::string> ListLanguageFiles(std::string_view programDirectory);

// Position of the language to use: the setting when it names a listed file,
// else ENGLISH.LNG, else the first file; -1 when the list is empty.
int ChooseLanguageIndex(const std::vector<std::string>& languageFiles, std::string_view setting);

// Splits a language file's bytes into lines (CR LF, LF or CR).
std::vector<std::string> SplitLines(std::string_view text);

// Turns language file lines into UI texts: fills a short file up to the
// minimum with the filler text, replaces "|" by line feeds and takes line 1 as
// the marquee. Returns whether the file had enough lines.
bool BuildUITexts(std::vector<std::string> lines, UITexts& texts);

// Reads the language file into `texts`. A missing or unreadable file shows
// "Cannot find language-file!" and leaves the texts as they were; a short file
// shows the invalid-file message and is filled. Returns whether texts were
// loaded.
bool LoadLanguage(std::string_view programDirectory, std::string_view languageFile, UITexts& texts, MessageSink& sink);

enum class LanguageSelection { Loaded, FileMissing, NoLanguageFiles };

struct SelectedLanguage {
    LanguageSelection outcome = LanguageSelection::NoLanguageFiles;
    std::vector<std::string> files;
    int index = 0;
    std::string file;
};

// Start-up choice: lists the files, picks one and loads it. With no language
// file at all, the message is shown and the front end must end the program.
SelectedLanguage SelectLanguage(std::string_view programDirectory, std::string_view setting, UITexts& texts,
                                MessageSink& sink);

} // namespace pitwall
