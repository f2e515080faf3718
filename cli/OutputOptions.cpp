#include "OutputOptions.h"

#include "TerminalText.h"

#include "base/FileUtils.h"

#include <filesystem>

namespace pitwall::cli {

void AddOutputOption(CLI::App* command, std::string& target, const std::string& oldName,
                     const std::string& description)
{
    command->add_option("-o,--output", target, description);
    command->add_option(oldName, target, description)->group("");
}

const std::string& RequireOutput(const std::string& target)
{
    if (target.empty())
        throw CLI::RequiredError("--output");
    return target;
}

const std::string& LanguageChoice::value() const
{
    if (!named.empty())
        return named;
    if (!positional.empty())
        return positional;
    throw CLI::RequiredError("--language");
}

std::shared_ptr<LanguageChoice> AddLanguageOption(CLI::App* command)
{
    auto option = std::make_shared<LanguageChoice>();
    command->add_option("--language", option->named, "Game language, such as ENGLISH");
    command->add_option("LANGUAGE", option->positional, "Game language, such as ENGLISH")->group("");
    return option;
}

std::string MakeOutputFolder(const std::string& folder)
{
    if (!DirectoryExists(folder) && !ForceDirectories(folder))
        throw CommandFailure("cannot make the folder " + folder);
    return IncludeTrailingBackslash(folder);
}

void MakeFolderOf(const std::string& file)
{
    const std::string folder = PathString(NativePath(file).parent_path());
    if (!folder.empty())
        MakeOutputFolder(folder);
}

void Note(const CliContext& context, const std::string& utf8)
{
    if (!context.quiet)
        context.err << TerminalLine(utf8) << '\n';
}

void Detail(const CliContext& context, const std::string& utf8)
{
    if (context.verbose && !context.quiet)
        context.err << TerminalLine(utf8) << '\n';
}

} // namespace pitwall::cli
