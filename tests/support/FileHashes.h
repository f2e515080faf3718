#pragma once
// The SHA-256 of every file below a folder, by path relative to it ('/'
// separated on every system): two installations (or one before and after a
// run) compare byte for byte.

#include "base/FileHash.h"
#include "base/FileUtils.h"

#include <algorithm>
#include <map>
#include <string>

namespace pitwall::test {

using FileHashes = std::map<std::string, std::string>; // relative path -> SHA-256

inline FileHashes HashesOfFiles(const std::string& folder)
{
    FileHashes hashes;
    for (const auto& f : ListFiles(folder, "*", true, false)) {
        std::string relative = f.substr(folder.size());
        std::replace(relative.begin(), relative.end(), '\\', '/');
        hashes[relative] = Sha256OfFile(f);
    }
    return hashes;
}

} // namespace pitwall::test
