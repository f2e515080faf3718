#pragma once
// The spellings every command shares for where it writes and which language
// it means: -o/--output and --language. Older command lines gave them as
// positional arguments; those still work, hidden from the help.
//
// Also where a command's messages go: data on stdout, notes on stderr
// (silenced by --quiet), details on stderr only with --verbose.

#include "CliContext.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

namespace pitwall::cli {

// -o/--output FILE_OR_DIR, and the hidden positional `oldName`, both into
// `target`.
void AddOutputOption(CLI::App* command, std::string& target, const std::string& oldName,
                     const std::string& description);
// The output given; a usage error (exit 2) naming --output when it was not.
const std::string& RequireOutput(const std::string& target);

// --language NAME, and the hidden positional LANGUAGE. Kept apart, so a
// command with a further positional can tell which one was meant.
struct LanguageChoice {
    std::string named, positional;
    // The language given; a usage error naming --language when it was not.
    const std::string& value() const;
};
std::shared_ptr<LanguageChoice> AddLanguageOption(CLI::App* command);

// The folder a command writes files into is made when it is missing;
// CommandFailure when it cannot be. Returns it with a trailing separator.
std::string MakeOutputFolder(const std::string& folder);
// The same for the folder that will hold this file.
void MakeFolderOf(const std::string& file);

// A note on stderr (what was written, how many), unless --quiet.
void Note(const CliContext& context, const std::string& utf8);
// A detail on stderr (each file, each sound), only with --verbose.
void Detail(const CliContext& context, const std::string& utf8);

} // namespace pitwall::cli
