#pragma once
// --json: a showing command prints one JSON document on stdout instead of
// its text. Field names are English and stable, numbers are numbers, and game
// text (Windows-1252 bytes) is a UTF-8 string. Where a text holds bytes that
// other programs would not read back as the same Windows-1252 bytes (the five
// bytes the code page leaves undefined, control characters), the field gets
// a sibling "<field>Raw" with the original bytes in hex.

#include "CliContext.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace pitwall::cli {

using Json = nlohmann::ordered_json;

// Adds --json to a command; when given, context.json is set before the
// command's callback runs (and a failure is also reported as
// {"error": "..."} on stdout).
void AddJsonFlag(CLI::App& command, CliContext& context);

// Sets object[key] to the game text and, when needed, object[key + "Raw"].
void SetGameText(Json& object, const std::string& key, std::string_view windows1252);
// A game text on its own (array element): a string, or {"text", "raw"} when
// the bytes need it.
Json GameTextValue(std::string_view windows1252);

// Prints the document on stdout, indented, with a final line break.
void PrintJson(CliContext& context, const Json& document);

} // namespace pitwall::cli
