#include "transfer/CarsetInfo.h"

#include "app/Language.h"

#include <algorithm>

namespace pitwall {

bool ShowCarsetInfoOnLoad(const CarsetInfo& info)
{
    return info.lines.size() > 3 && (info.lines[3] == "1" || info.lines[3] == "RESERVED");
}

CarsetInfoFields CarsetInfoToFields(const CarsetInfo& info, const CarsetInfoFields& previous)
{
    if (info.lines.size() < 10)
        return previous;
    CarsetInfoFields f;
    f.version = info.lines[0];
    f.author = info.lines[1];
    f.date = info.lines[2];
    f.showOnLoad = ShowCarsetInfoOnLoad(info);
    f.text.assign(info.lines.begin() + 10, info.lines.end());
    return f;
}

namespace {

// The first lines of INFO.DAT have fixed places: a line break pasted into a
// field would move every line after it, so it becomes a blank.
std::string OneLine(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

} // namespace

void ApplyCarsetInfoEdits(CarsetInfo& info, const CarsetInfoFields& fields)
{
    info.lines.clear();
    info.lines.push_back(OneLine(fields.version));
    info.lines.push_back(OneLine(fields.author));
    info.lines.push_back(OneLine(fields.date));
    info.lines.push_back(fields.showOnLoad ? "1" : "0");
    for (int i = 0; i < 6; ++i)
        info.lines.push_back("RESERVED");
    info.lines.insert(info.lines.end(), fields.text.begin(), fields.text.end());
}

std::string CarsetInfoText(const CarsetInfo& info)
{
    std::string text;
    for (const auto& line : info.lines)
        text += line + "\r\n";
    return text;
}

CarsetInfo ParseCarsetInfo(std::string_view text)
{
    CarsetInfo info;
    info.lines = SplitLines(text);
    return info;
}

} // namespace pitwall
