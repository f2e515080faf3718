#include "texts/TextLines.h"

namespace pitwall {

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines(1);
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == '\n' && !quoted)
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

std::string JoinTextLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    return text;
}

} // namespace pitwall
