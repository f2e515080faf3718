#include "app/ManualIndex.h"

#include "base/FileUtils.h"

#include <algorithm>

namespace pitwall {

namespace {

constexpr std::size_t kMaxIndexBytes = 1 << 20;

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.back() == '\r' || s.back() == ' '))
        s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

bool IsPlainPageName(std::string_view page)
{
    return page.size() > 5 && page.ends_with(".html") && page.find_first_of("/\\:") == std::string_view::npos
        && page.front() != '.';
}

} // namespace

ManualIndex ManualIndex::Parse(std::string_view text)
{
    ManualIndex index;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        std::string_view name = Trimmed(line.substr(0, tab));
        std::string_view page = Trimmed(line.substr(tab + 1));
        if (!name.empty() && IsPlainPageName(page))
            index.pages_.emplace(std::string(name), std::string(page));
    }
    return index;
}

ManualIndex ManualIndex::Read(const std::string& path)
{
    try {
        if (!FileExists(path))
            return {};
        const auto bytes = ReadWholeFile(path, kMaxIndexBytes);
        return Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const std::exception&) {
        return {};
    }
}

std::string ManualIndex::pageFor(std::string_view windowName) const
{
    auto it = pages_.find(windowName);
    return it == pages_.end() ? std::string(kManualContentsPage) : it->second;
}

} // namespace pitwall
