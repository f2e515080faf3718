#pragma once
// Text in game files, language files and .PER files is single-byte
// Windows-1252. The program keeps it as bytes and converts only where it meets
// the user interface. The conversion is lossless: the five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the
// same value and back, so every byte 1..255 round-trips.

#include <string>
#include <string_view>

namespace pitwall {

std::string Windows1252ToUtf8(std::string_view bytes);
// A message: program and game text in Windows-1252 with file-system paths
// (UTF-8) formatted into it. Well-formed multi-byte UTF-8 sequences are the
// paths' characters and stay as they are; every other byte is Windows-1252.
// (Game and UI texts hold no such sequences: in Windows-1252 they would read
// as letter pairs like "Ã±".)
std::string MessageTextToUtf8(std::string_view text);
// Characters without a Windows-1252 byte, and malformed UTF-8, become '?'.
std::string Utf8ToWindows1252(std::string_view utf8);

// Appends the UTF-8 form of a code point below U+10000.
void AppendUtf8(std::string& out, char32_t codePoint);

// Upper-case of one Windows-1252 byte (ASCII and the accented letters), used
// for the case-insensitive comparisons of INI names, file names and extensions.
char UpperWindows1252(char c);
std::string UpperWindows1252(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

} // namespace pitwall
