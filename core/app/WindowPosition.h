#pragma once
// Where the main window stood when the program last ended, kept in
// PITWALL.INI (section "Window", keys MainLeft and MainTop, in pixels of the
// desktop), so it opens there again.

#include <optional>
#include <string_view>

namespace pitwall {

struct WindowPosition {
    int left = 0;
    int top = 0;
    friend bool operator==(const WindowPosition&, const WindowPosition&) = default;
};

// Nothing when the file or either key is missing, or a value lies beyond
// any desktop (more than 100000 pixels from the origin).
std::optional<WindowPosition> ReadMainWindowPosition(std::string_view iniPath);
// Keeps every other line of the file; throws std::runtime_error when the
// file cannot be written.
void WriteMainWindowPosition(std::string_view iniPath, WindowPosition position);

} // namespace pitwall
