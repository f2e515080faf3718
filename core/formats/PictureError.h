#pragma once
// Why a picture file could not be decoded, told apart so that a message can
// say it in the interface's language; the exception's own text keeps the
// details (in English) for the command line and the logs.

#include "base/ByteReader.h"

#include <string>

namespace pitwall {

enum class PictureFault {
    NotThisKind, // not a file of the kind its extension names
    Unsupported, // a size, colour depth or compression the program does not read
    Damaged,     // cut short or inconsistent
};

class PictureError : public FormatError {
public:
    PictureError(PictureFault fault, const std::string& what) : FormatError(what), fault_(fault) {}
    PictureFault fault() const { return fault_; }

private:
    PictureFault fault_;
};

} // namespace pitwall
