#pragma once
// Files the program creates inside its private working and staging
// directories (unpacked carset members, staged members). Such a file is
// always new: it is created exclusively with owner-only access, and a link
// of that name is never followed, so nothing written there can land outside
// the directory.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <system_error>

namespace pitwall {

class PrivateFileError : public std::runtime_error {
public:
    PrivateFileError(const std::string& what, std::error_code code) : std::runtime_error(what), code_(code) {}
    // Why the system refused (no space left, file too large, file exists ...).
    std::error_code code() const { return code_; }

private:
    std::error_code code_;
};

// What to do when something of the name is already there.
enum class Leftover {
    Refuse,  // an error: the file must be new
    Replace, // the program's own stale file: removed first, as a link if it is one
};

// Creates the file (mode 0600) and writes the bytes. Throws PrivateFileError
// when it exists (with Leftover::Refuse, or when it cannot be removed) or
// cannot be written in full; a partly written file is removed again.
void WriteNewPrivateFile(const std::string& path, std::span<const std::uint8_t> bytes,
                         Leftover leftover = Leftover::Refuse);

} // namespace pitwall
