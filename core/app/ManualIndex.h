#pragma once
// Which page of the user manual describes which window: the manual's
// windows.tsv, one "objectName<TAB>page.html" per line, "#" starting a
// comment line. F1 opens the page of the window in front.

#include <map>
#include <string>
#include <string_view>

namespace pitwall {

inline constexpr const char* kManualContentsPage = "index.html";

class ManualIndex {
public:
    // Lines that are not "name<TAB>page.html" with a plain file name are
    // skipped: a page name never leads out of the manual's folder.
    static ManualIndex Parse(std::string_view text);
    // Reads the file; an unreadable or missing one gives an empty index.
    static ManualIndex Read(const std::string& path);

    // The page of the window, or the contents page for a window without one.
    std::string pageFor(std::string_view windowName) const;
    std::size_t size() const { return pages_.size(); }

private:
    std::map<std::string, std::string, std::less<>> pages_;
};

} // namespace pitwall
