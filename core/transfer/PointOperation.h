#pragma once
// The operation a restore point was made for.

#include <string>
#include <utility>
#include <vector>

namespace pitwall {

// What the run that made a point was doing: a stable key and its arguments,
// so that the front ends can say it in the user's language. The manifest
// also keeps it in English words ("operation"), which is all that points of
// older versions have (they all say "export").
struct PointOperation {
    PointOperation() = default;
    PointOperation(std::string kind, std::vector<std::string> args = {})
        : kind(std::move(kind)), args(std::move(args))
    {
    }

    std::string kind;
    std::vector<std::string> args;

    // English words, as the manifest and the installation's lock show them.
    std::string words() const;
    // The carset's name for an apply, else empty.
    std::string carset() const;
};

namespace point_kind {
inline constexpr const char* kExport = "export";             // items written, as numbers
inline constexpr const char* kApply = "apply";               // carset name, then items written
inline constexpr const char* kSettings = "settings";         // -
inline constexpr const char* kTextImport = "text-import";    // language
inline constexpr const char* kSoundReplace = "sound-replace"; // sound numbers
inline constexpr const char* kArtImport = "art-import";      // entry
inline constexpr const char* kArtExpand = "art-expand";      // -
inline constexpr const char* kRestore = "restore";           // id of the point put back
inline constexpr const char* kFile = "file";                 // file replaced
inline constexpr const char* kUndo = "undo";                 // carset name (or empty), then ids of the points undone
} // namespace point_kind

} // namespace pitwall
