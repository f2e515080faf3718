#include "CompletionData.h"

#include <algorithm>

namespace pitwall::clidocs {

namespace {

bool CollectOptions(const CommandDoc& command, const std::string& path, std::vector<const ArgumentDoc*>& options)
{
    bool onPath = command.path == path;
    for (const auto& c : command.commands)
        if (!onPath && CollectOptions(c, path, options))
            onPath = true;
    if (onPath)
        for (const auto& o : command.options)
            if (std::none_of(options.begin(), options.end(), [&](const ArgumentDoc* a) { return a->names == o.names; }))
                options.push_back(&o); // each command has its own --help
    return onPath;
}

} // namespace

std::vector<const ArgumentDoc*> OptionsAt(const CommandDoc& root, const std::string& path)
{
    std::vector<const ArgumentDoc*> options;
    CollectOptions(root, path, options);
    return options;
}

std::string KindWord(const ArgumentDoc& argument)
{
    switch (argument.kind) {
    case ValueKind::Items:
        return "items";
    case ValueKind::Language:
        return "language";
    case ValueKind::Directory:
        return "dir";
    case ValueKind::File:
        return "file";
    case ValueKind::Choice:
        return "choice:" + Joined(argument.choices, " ");
    case ValueKind::Other:
        return "other";
    case ValueKind::None:
        break;
    }
    return "";
}

std::string PositionalKinds(const CommandDoc& command)
{
    std::vector<std::string> kinds;
    for (const auto& p : command.positionals) {
        std::string kind = KindWord(p);
        kinds.push_back(kind.empty() || p.kind == ValueKind::Choice ? "other" : kind);
    }
    return Joined(kinds, " ");
}

std::string ShellQuoted(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string Joined(const std::vector<std::string>& words, const std::string& separator)
{
    std::string joined;
    for (const auto& w : words)
        joined += (joined.empty() ? "" : separator) + w;
    return joined;
}

} // namespace pitwall::clidocs
