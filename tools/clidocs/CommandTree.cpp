#include "CommandTree.h"

#include "ItemNames.h"

#include "formats/GameLanguages.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <initializer_list>

namespace pitwall::clidocs {

namespace {

bool IsOneOf(const std::string& name, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

bool IsDirectoryName(const std::string& name)
{
    return IsOneOf(name, {"--game", "--restore-dir", "--to", "DIR", "OUT_DIR", "FOLDER"});
}

// Text values that name no file: nothing to offer for them.
bool IsPlainText(const std::string& name)
{
    return IsOneOf(name, {"--screen", "--groups", "--entries", "ID", "KEY=VALUE"});
}

// CLI11 shows a member check as "TEXT:{a,b,c}" (with " case insensitive"
// or similar words after it for some checks).
std::vector<std::string> ChoicesOf(const std::string& typeName)
{
    std::vector<std::string> choices;
    const auto open = typeName.find(":{");
    const auto close = typeName.find('}', open);
    if (open == std::string::npos || close == std::string::npos)
        return choices;
    std::string list = typeName.substr(open + 2, close - open - 2);
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        if (comma > start)
            choices.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return choices;
}

ArgumentDoc DescribeArgument(const CLI::Option& option)
{
    ArgumentDoc doc;
    doc.description = option.get_description();
    doc.required = option.get_required();
    for (const auto& l : option.get_lnames())
        doc.names.push_back("--" + l);
    for (const auto& s : option.get_snames())
        doc.names.push_back("-" + s);
    const bool positional = !option.nonpositional();
    if (positional)
        doc.names.push_back(option.get_name(true));
    if (!positional && option.get_expected_min() == 0)
        return doc; // a flag
    const std::string& name = doc.names.front();
    const std::string typeName = option.get_type_name();
    doc.choices = ChoicesOf(typeName);
    if (!doc.choices.empty()) {
        doc.kind = ValueKind::Choice;
        for (const auto& c : doc.choices)
            doc.valueName += (doc.valueName.empty() ? "" : "|") + c;
    } else if (name == "--items") {
        doc.kind = ValueKind::Items;
        doc.valueName = "LIST";
    } else if (name == "--language" || name == "LANGUAGE") {
        doc.kind = ValueKind::Language;
        doc.valueName = "NAME";
    } else if (IsDirectoryName(name)) {
        doc.kind = ValueKind::Directory;
        doc.valueName = "DIR";
    } else if (typeName.rfind("TEXT", 0) == 0 && !IsPlainText(name)) {
        doc.kind = ValueKind::File;
        doc.valueName = "FILE";
    } else {
        doc.kind = ValueKind::Other;
        doc.valueName = typeName.substr(0, typeName.find(':'));
        if (doc.valueName == "INT" || doc.valueName == "UINT")
            doc.valueName = "N";
        else if (doc.valueName == "TEXT")
            doc.valueName = name == "--screen" ? "NAME" : "LIST";
    }
    if (positional)
        doc.valueName = name;
    return doc;
}

CommandDoc Describe(const CLI::App& app, const std::string& path)
{
    CommandDoc doc;
    doc.path = path;
    doc.name = app.get_name();
    doc.description = app.get_description();
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_group().empty())
            continue;
        (option->nonpositional() ? doc.options : doc.positionals).push_back(DescribeArgument(*option));
    }
    for (const CLI::App* command : app.get_subcommands([](const CLI::App* c) {
             return !c->get_name().empty() && !c->get_group().empty();
         }))
        doc.commands.push_back(Describe(*command, path.empty() ? command->get_name() : path + " " + command->get_name()));
    return doc;
}

void Collect(const CommandDoc& command, std::vector<const CommandDoc*>& all)
{
    all.push_back(&command);
    for (const auto& c : command.commands)
        Collect(c, all);
}

} // namespace

CommandDoc DescribeCommands(const CLI::App& app)
{
    return Describe(app, "");
}

std::vector<std::string> ItemGroupNames()
{
    std::vector<std::string> names;
    for (const auto& group : cli::ItemGroups())
        names.push_back(group.name);
    return names;
}

std::vector<std::string> LanguageNames()
{
    std::vector<std::string> names;
    for (int l = 0; l < kLanguageCount; ++l)
        names.push_back(LanguageNameUtf8(l));
    return names;
}

std::vector<const CommandDoc*> AllCommands(const CommandDoc& root)
{
    std::vector<const CommandDoc*> all;
    Collect(root, all);
    return all;
}

} // namespace pitwall::clidocs
