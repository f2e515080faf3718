#pragma once
// The one error family of the game's file formats. Readers and writers throw
// it and never show anything: the layers above turn it into the message the
// user sees (transfer/FormatMessages.h).

#include "base/DelphiFormat.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace pitwall {

class FormatError : public std::runtime_error {
public:
    // A fault without a UI text of its own (a read past the end of the bytes,
    // a damaged picture stream): whoever reports it chooses the text.
    explicit FormatError(const std::string& what) : std::runtime_error(what) {}
    // A fault the user is told about with UI text `number`: `args` fill its
    // placeholders, followed by the UI texts numbered in `textArgs`.
    FormatError(int number, FormatArgs args, std::vector<int> textArgs = {})
        : FormatError("UI text " + std::to_string(number), number, std::move(args), std::move(textArgs))
    {}
    FormatError(const std::string& what, int number, FormatArgs args, std::vector<int> textArgs = {})
        : std::runtime_error(what), number_(number), args_(std::move(args)), textArgs_(std::move(textArgs))
    {}

    // -1 for a fault without a UI text.
    int number() const { return number_; }
    const FormatArgs& args() const { return args_; }
    const std::vector<int>& textArgs() const { return textArgs_; }

private:
    int number_ = -1;
    FormatArgs args_;
    std::vector<int> textArgs_;
};

// UI text 349: a file that should be there is missing ("%s" the file name).
inline constexpr int kMissingFileText = 349;
// UI text 985: a file name whose extension the routine does not handle.
inline constexpr int kUnhandledExtensionText = 985;

// Throws UI text 349 when `file` does not exist.
void RequireFile(std::string_view file);
// The position of the file's extension among `allowed` (case ignored);
// throws UI text 985 when it is none of them.
int RequireExtension(std::string_view file, const std::vector<std::string>& allowed);

} // namespace pitwall
