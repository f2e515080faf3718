#pragma once
// The SHA-256 of every file below a folder, by path relative to it: two
// installations (or one before and after a run) compare byte for byte.

#include "base/FileHash.h"
#include "base/FileUtils.h"

#include <map>
#include <string>

namespace pitwall::test {

using FileHashes = std::map<std::string, std::string>; // relative path -> SHA-256

inline FileHashes HashesOfFiles(const std::string& folder)
{
    FileHashes hashes;
    for (const auto& f : ListFiles(folder, "*", true, false))
        hashes[f.substr(folder.size())] = Sha256OfFile(f);
    return hashes;
}

} // namespace pitwall::test
