#include "base/FormatError.h"

#include "base/FileUtils.h"

namespace pitwall {

void RequireFile(std::string_view file)
{
    if (!FileExists(file))
        throw FormatError(kMissingFileText, Args(std::string(file)));
}

int RequireExtension(std::string_view file, const std::vector<std::string>& allowed)
{
    const int kind = CheckFileExtension(file, allowed, false, nullptr);
    if (kind < 0)
        throw FormatError(kUnhandledExtensionText, {});
    return kind;
}

} // namespace pitwall
