#pragma once
// The texts editor's search: from the selected text downward (or upward) to
// the first text that contains the search text. The selected text itself is
// never the answer, so "find next" moves on from a hit.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

struct TextSearch {
    std::string needle; // Windows-1252, as the texts
    bool down = true;
    bool matchCase = false;
};

// The number of the text found, nothing when none. `selected` may be -1
// (no selection: the search covers the whole list).
std::optional<int> FindText(const std::vector<std::string>& texts, int selected, const TextSearch& search);

// True when `text` contains `needle`; without match case, letters compare
// without regard to case, the accented Windows-1252 letters included.
bool TextContains(std::string_view text, std::string_view needle, bool matchCase);

} // namespace pitwall
