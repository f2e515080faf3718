#pragma once
// Text files from other editors: most write UTF-8 today, while the game's
// texts are single-byte Windows-1252. These tell the two apart and convert
// without losing a character silently.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pitwall {

// True for a file's bytes in UTF-8: they start with the byte-order mark, or
// they are well-formed UTF-8 and hold at least one byte of 0x80 or more
// (plain ASCII reads the same either way; Windows-1252 text with accented
// letters is almost never well-formed UTF-8).
bool IsUtf8Text(std::string_view bytes);
// The bytes without a leading UTF-8 byte-order mark.
std::string_view WithoutUtf8Bom(std::string_view bytes);

// Where UTF-8 text holds a character Windows-1252 has no byte for (or a
// malformed sequence): line and column counted from 1, the column in
// characters, and the character itself as UTF-8.
struct UnstorableCharacter {
    std::size_t line = 0;
    std::size_t column = 0;
    std::string character;
};

// UTF-8 text as Windows-1252; nothing when a character cannot be stored,
// with where it is in `unstorable`. Lines end at CR LF, LF or CR.
std::optional<std::string> Utf8ToWindows1252Exactly(std::string_view utf8, UnstorableCharacter* unstorable = nullptr);

} // namespace pitwall
