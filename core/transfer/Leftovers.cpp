#include "transfer/Leftovers.h"

#include "base/DirectoryHandle.h"
#include "base/FileUtils.h"
#include "base/SafeWrite.h"

#include <cctype>

namespace pitwall {

namespace {

constexpr int kDepth = 6;
constexpr const char* kTemporaryMark = ".pitwall-";
constexpr std::size_t kHexDigits = 16;

bool IsHex(const std::string& hex)
{
    if (hex.size() != kHexDigits)
        return false;
    for (char c : hex)
        if (!std::isdigit(static_cast<unsigned char>(c)) && (c < 'a' || c > 'f'))
            return false;
    return true;
}

void Sweep(const DirectoryHandle& directory, int depth, std::int64_t before, std::vector<std::string>& removed)
{
    for (const auto& name : directory.names()) {
        DirectoryEntry e = directory.entry(name);
        if (e.isDirectory) {
            if (depth > 0)
                if (auto child = directory.anyChild(name))
                    Sweep(*child, depth - 1, before, removed);
            continue;
        }
        if (!e.isRegularFile || !e.ownedByUser)
            continue;
        // Staged files exist only while a writer holds the lock, which the
        // caller holds now: one found is a killed run's, whatever its age.
        if (!IsStagedLeftoverName(name) && (e.modifiedSeconds > before || !IsLeftoverName(name)))
            continue;
        if (directory.remove(name))
            removed.push_back(directory.path() + name);
    }
}

} // namespace

bool IsStagedLeftoverName(const std::string& name)
{
    // ".NAME.pitwall-staged-0123456789abcdef"
    const std::size_t mark = name.rfind(kStagedFileMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2)
        return false;
    return IsHex(name.substr(mark + kStagedFileMark.size()));
}

bool IsLeftoverName(const std::string& name)
{
    if (EqualsIgnoreAsciiCase(name, "GP3ART5.BIN.NEW"))
        return true;
    // ".NAME.pitwall-0123456789abcdef"
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2)
        return false;
    return IsHex(name.substr(mark + std::char_traits<char>::length(kTemporaryMark)));
}

std::vector<std::string> RemoveStaleLeftovers(const std::string& gameDirectory, std::chrono::seconds olderThan)
{
    std::vector<std::string> removed;
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    try {
        Sweep(DirectoryHandle::openAny(gameDirectory), kDepth, now - olderThan.count(), removed);
    } catch (const PrivateDirectoryError&) {
        // An installation that cannot be opened has nothing to clear; the
        // write that follows reports it.
    }
    return removed;
}

} // namespace pitwall
