#pragma once
// The game's text files LDATA\<LANGUAGE>.str (and the carset's
// Language<n>.DAT): a 4-byte header word, then every string as its
// single-byte characters and one 0 byte. String k is the game's text number k.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

inline constexpr std::uint32_t kStringFileHeader = 2677;
inline constexpr std::uint64_t kMaxStringFileBytes = 100'000;
inline constexpr std::size_t kMinStringCount = 2000;
inline constexpr std::size_t kMaxStringLength = 2048;

// The strings of a string file's bytes. The header word is not looked at;
// bytes after the last 0 byte do not form a string.
std::vector<std::string> ParseStringFile(std::span<const std::uint8_t> bytes);
// Header 75 0A 00 00, then each string cut to 2048 characters with its 0 byte.
std::vector<std::uint8_t> BuildStringFile(const std::vector<std::string>& strings);

// The game's reader takes at most 100,000 bytes: a larger file would be
// written but never read back. Throws std::length_error saying by how many
// bytes the built file is over.
void RequireStringFileFits(const std::vector<std::uint8_t>& built);

// The number of the first text longer than the 2048 characters the game
// reads, -1 when there is none. RequireStringsFit throws std::length_error
// naming it: a text is never cut silently.
int FirstOverlongText(const std::vector<std::string>& strings);
void RequireStringsFit(const std::vector<std::string>& strings);

// Reads a string file into `strings`. A missing file is UI text 349, one of
// more than 100,000 bytes UI text 738, fewer than 2000 strings UI text 766;
// each throws FormatError and `strings` stays as it was. WriteStringFile
// refuses an overlong text (RequireStringsFit) and a file the game could not
// read back (RequireStringFileFits).
void ReadStringFile(std::string_view file, std::vector<std::string>& strings);
void WriteStringFile(std::string_view file, const std::vector<std::string>& strings);

// The plain text form: one string per line, every character below 32 written
// as a caret and the character plus 64. Reading turns a caret followed by a
// character from 64 to 95 into that character minus 64 and keeps every other
// caret.
std::string EscapeTextLine(std::string_view text);
std::string UnescapeTextLine(std::string_view line);
// Lines end in CR LF; reading accepts CR LF, LF or CR.
std::string BuildTextForm(const std::vector<std::string>& strings);
std::vector<std::string> ParseTextForm(std::string_view text);

// UI text: a character of a UTF-8 text file that the game's texts cannot
// hold (placeholders: file, line, column, the character).
inline constexpr int kUnstorableTextFileCharacterText = 1161;

// Reads a plain text file. A file in UTF-8 (a byte-order mark, or well-formed
// UTF-8 with bytes of 0x80 or more) is converted to Windows-1252; a
// character that has no byte there throws FormatError (UI text 1161, naming
// the file, line and column) and nothing is read. Any other file is taken as
// Windows-1252 bytes.
std::vector<std::string> ReadTextFile(std::string_view file);
enum class TextFileEncoding { Windows1252, Utf8 };
void WriteTextFile(std::string_view file, const std::vector<std::string>& strings,
                   TextFileEncoding encoding = TextFileEncoding::Windows1252);

} // namespace pitwall
