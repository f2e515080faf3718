#pragma once
// Where a data area's files come from and go to. An import reads the game's
// files and a carset load the carset's members, but what the area makes of
// the bytes is the same: the area writes that once over a ByteSource. Export
// and carset save likewise write once into a ByteSink, which replaces the
// game file or stores the member.

#include "transfer/DataArea.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pitwall {

// One file of an area: its path as the game names it (relative to the game
// directory) and the name of the member a carset keeps it in.
struct AreaFile {
    std::string gamePath;
    std::string member;
};

// A game file's bytes; a missing file is UI text 349 with its path, an
// unreadable or oversized one a message naming it.
std::optional<std::vector<std::uint8_t>> ReadGameBytes(TransferContext& context, const std::string& gameRelative,
                                                       std::uint64_t maxBytes);

class ByteSource {
public:
    enum class From { Game, Carset };

    ByteSource(TransferContext& context, From from) : context_(context), from_(from) {}

    bool fromCarset() const { return from_ == From::Carset; }
    // The file's bytes, at most maxBytes: the game file (as ReadGameBytes
    // reads it) or the carset member (as TransferContext::loadMember does);
    // what is missing or unreadable is a failure naming it.
    std::optional<std::vector<std::uint8_t>> read(const AreaFile& file, std::uint64_t maxBytes) const;

private:
    TransferContext& context_;
    From from_;
};

class ByteSink {
public:
    enum class To { Game, Carset };

    ByteSink(TransferContext& context, To to) : context_(context), to_(to) {}

    bool toCarset() const { return to_ == To::Carset; }
    // Export: the new content of the game file; carset save: the member.
    void write(const AreaFile& file, std::vector<std::uint8_t> bytes) const;
    // Carset save: the item is not in the carset, so its header byte goes;
    // an export has no header.
    void leaveOut(int item) const;

private:
    TransferContext& context_;
    To to_;
};

} // namespace pitwall
