#pragma once
// The numbered UI texts of the loaded language file: every caption, list entry,
// hint and message of the program is looked up here by number.

#include "base/DelphiFormat.h"

#include <string>
#include <vector>

namespace pitwall {

class UITexts {
public:
    // A valid language file has this many lines (marquee + UI texts 0..1132).
    static constexpr int kMinimumLines = 1134;
    // The highest UI text number the program refers to.
    static constexpr int kHighestNumber = 1305;
    static constexpr const char* kFiller = "Invalid language-file";

    // Windows-1252 bytes, "|" already turned into line feeds.
    const std::string& text(int number) const;
    // UI text `number` with its placeholders filled. A third-party language
    // file whose placeholders do not fit the arguments shows the text as it
    // stands rather than failing the operation that shows it.
    std::string format(int number, const FormatArgs& args) const;

    const std::string& marquee() const { return marquee_; }
    const std::vector<std::string>& all() const { return texts_; }
    void assign(std::vector<std::string> texts, std::string marquee);

private:
    std::vector<std::string> texts_;
    std::string marquee_;
};

} // namespace pitwall
