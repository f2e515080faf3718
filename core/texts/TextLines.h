#pragma once
// How the texts editor shows one game text for editing: the text is split
// into lines at each line feed that is not inside double quotes (a quoted
// part of a menu text keeps its line feed), and the edited lines are joined
// again with line feeds.

#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

std::vector<std::string> SplitTextLines(std::string_view text);
std::string JoinTextLines(const std::vector<std::string>& lines);

} // namespace pitwall
