#include "FormatCommandSupport.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/Windows1252.h"

namespace pitwall::cli {

void CommandMessages::fail(const std::string& fallback) const
{
    if (sink_.shown.empty())
        throw CommandFailure(fallback);
    std::string text = MessageTextToUtf8(sink_.shown.back().text);
    for (auto& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    throw CommandFailure(text);
}

std::string GameFile(const std::string& gameDirectory, const std::string& gameRelative)
{
    if (!DirectoryExists(gameDirectory))
        throw CommandFailure("not a directory: " + gameDirectory);
    return ResolveGamePath(IncludeTrailingBackslash(gameDirectory), gameRelative);
}

} // namespace pitwall::cli
