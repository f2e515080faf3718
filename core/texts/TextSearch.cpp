#include "texts/TextSearch.h"

#include <algorithm>

namespace pitwall {

namespace {

// Lower case of a Windows-1252 byte: A-Z, the accented capitals C0..DE (but
// D7, the multiplication sign) and the three capitals of the 80..9F block.
unsigned char Lower(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A:
        return 0x9A; // Š
    case 0x8C:
        return 0x9C; // Œ
    case 0x8E:
        return 0x9E; // Ž
    case 0x9F:
        return 0xFF; // Ÿ
    default:
        return c;
    }
}

} // namespace

bool TextContains(std::string_view text, std::string_view needle, bool matchCase)
{
    if (matchCase)
        return text.find(needle) != std::string_view::npos;
    auto equal = [](char a, char b) {
        return Lower(static_cast<unsigned char>(a)) == Lower(static_cast<unsigned char>(b));
    };
    return std::search(text.begin(), text.end(), needle.begin(), needle.end(), equal) != text.end();
}

std::optional<int> FindText(const std::vector<std::string>& texts, int selected, const TextSearch& search)
{
    const int count = static_cast<int>(texts.size());
    if (count == 0)
        return std::nullopt;
    const int step = search.down ? 1 : -1;
    int n = selected < 0 ? (search.down ? 0 : count - 1) : selected + step;
    for (; n >= 0 && n < count; n += step)
        if (TextContains(texts[static_cast<std::size_t>(n)], search.needle, search.matchCase))
            return n;
    return std::nullopt;
}

} // namespace pitwall
