#pragma once
// Why a JAM file was refused. Every JAM reader throws this; the loader turns
// it into the message the user sees and keeps the TJAMFile as it was.

#include "base/ByteReader.h"

#include <string>

namespace pitwall {

// UI text shown for a JAM that cannot be read: "%s" the file name, "%s" the
// reason.
inline constexpr int kJamDamagedText = 1076;
// UI text 322: a 16-bit header record whose layout byte d is not 2, 3 or 4.
inline constexpr int kJamUnknownLayoutText = 322;

class JamError : public FormatError {
public:
    explicit JamError(const std::string& reason, int uiText = kJamDamagedText) : FormatError(reason, uiText, {}) {}
    // The same refusal told about a named file: the UI text's placeholders
    // filled with `args`.
    JamError(const std::string& reason, int uiText, FormatArgs args) : FormatError(reason, uiText, std::move(args)) {}
    int uiText() const { return number(); }
};

} // namespace pitwall
