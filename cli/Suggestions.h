#pragma once
// "Did you mean": for a command line the parser refused, the command or
// option name nearest to the first word that is neither.

#include <CLI/CLI.hpp>
#include <string>

namespace pitwall::cli {

struct Suggestion {
    std::string word;    // as typed
    std::string nearest; // a command name, or an option with its dashes
};

// Empty `nearest` when every word is known or none is near a name.
Suggestion SuggestName(CLI::App& app, int argc, const char* const* argv);

} // namespace pitwall::cli
