#pragma once
// The command line as the completions and the man page describe it: every
// visible command with its options and positional arguments, and what each
// argument's value is, so a shell knows what to offer for it.

#include <string>
#include <vector>

// The parser is seen only where the tree is read from it, so the writers
// compile without its headers.
namespace CLI {
class App;
}

namespace pitwall::clidocs {

enum class ValueKind {
    None, // a flag
    Items, // selection items and groups, comma-separated
    Language, // one of the game's language names
    Directory,
    File,
    Choice, // one of `choices`
    Other, // a number or free text: nothing to offer
};

struct ArgumentDoc {
    std::vector<std::string> names; // "--items", "-o"; a positional's own name ("LANGUAGE")
    std::string description;
    ValueKind kind = ValueKind::None;
    std::vector<std::string> choices;
    std::string valueName; // as shown after the option: LIST, DIR, FILE, ...
    bool required = false;
};

struct CommandDoc {
    std::string path; // "art menu export-all"; empty for the program itself
    std::string name;
    std::string description;
    std::vector<ArgumentDoc> options;
    std::vector<ArgumentDoc> positionals;
    std::vector<CommandDoc> commands;
};

// The visible tree of `app` (hidden options and commands left out).
CommandDoc DescribeCommands(const CLI::App& app);

// The words an --items list and a language name take, as the program reads them.
std::vector<std::string> ItemGroupNames();
std::vector<std::string> LanguageNames();

// Every command of the tree below `root`, depth first, parents before their commands.
std::vector<const CommandDoc*> AllCommands(const CommandDoc& root);

} // namespace pitwall::clidocs
