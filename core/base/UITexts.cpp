#include "base/UITexts.h"

namespace pitwall {

const std::string& UITexts::text(int number) const
{
    static const std::string filler = kFiller;
    if (number < 0 || static_cast<std::size_t>(number) >= texts_.size())
        return filler;
    return texts_[static_cast<std::size_t>(number)];
}

std::string UITexts::format(int number, const FormatArgs& args) const
{
    const std::string& pattern = text(number);
    try {
        return FormatText(pattern, args);
    } catch (const FormatTextError&) {
        return pattern;
    }
}

void UITexts::assign(std::vector<std::string> texts, std::string marquee)
{
    texts_ = std::move(texts);
    marquee_ = std::move(marquee);
}

} // namespace pitwall
