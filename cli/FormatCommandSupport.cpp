#include "FormatCommandSupport.h"

#include "OutputOptions.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/Windows1252.h"
#include "formats/Pictures.h"

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

void CommandMessages::relay(const CliContext& context) const
{
    for (const Message& message : sink_.shown)
        Note(context, MessageTextToUtf8(message.text));
}

void RequirePictureFile(const CliContext& context, const std::string& file)
{
    constexpr int kNotAPictureKindText = 1202;
    if (!IsReadPictureName(file))
        throw CommandFailure(MessageTextToUtf8(context.texts.format(kNotAPictureKindText, Args(file))));
}

std::string GameFile(const std::string& gameDirectory, const std::string& gameRelative)
{
    if (!DirectoryExists(gameDirectory))
        throw CommandFailure("not a directory: " + gameDirectory);
    return ResolveGamePath(IncludeTrailingBackslash(gameDirectory), gameRelative);
}

} // namespace pitwall::cli
