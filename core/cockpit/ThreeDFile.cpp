#include "cockpit/ThreeDFile.h"

#include "base/Windows1252.h"

#include <algorithm>
#include <string_view>

namespace pitwall {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// The line before the first ';' that stands outside double quotes.
std::string_view CutComment(std::string_view line)
{
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ';' && !quoted)
            return line.substr(0, i);
    }
    return line;
}

std::vector<std::string_view> SplitFields(std::string_view payload)
{
    std::vector<std::string_view> fields;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= payload.size(); ++i) {
        if (i < payload.size() && payload[i] == '"')
            quoted = !quoted;
        if (i == payload.size() || (payload[i] == ',' && !quoted)) {
            std::string_view field = Trim(payload.substr(start, i - start));
            if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
                field = field.substr(1, field.size() - 2);
            fields.push_back(field);
            start = i + 1;
        }
    }
    return fields;
}

// The screen an identifier line names, -1 when the line is none.
int IdentifiedScreen(std::string_view line)
{
    if (line.empty() || line.front() == ';' || line.back() != ':')
        return -1;
    return LcdScreenIndex(line.substr(0, line.size() - 1));
}

struct LineRefused {
    std::string why;
};

std::uint8_t Number(std::string_view field)
{
    if (field.empty() || field.size() > 3
        || !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw LineRefused{"\"" + std::string(field) + "\" is not a number from 0 to 255"};
    int value = 0;
    for (char c : field)
        value = value * 10 + (c - '0');
    if (value > 255)
        throw LineRefused{std::string(field) + " is larger than 255"};
    return static_cast<std::uint8_t>(value);
}

// A text that could not be written back readably is refused. A longer
// text is cut to the element's 50 bytes; a cut through a doubled quote drops
// its first half too, or the text written back would hold a single quote
// and swallow the fields after it.
std::string_view Text(std::string_view field)
{
    if (!IsWritableLcdText(field))
        throw LineRefused{"the text " + std::string(field.substr(0, field.find('\0')))
                          + " holds a single double quote or a zero byte"};
    std::string_view cut = field.substr(0, kLcdTextWidth);
    if (!IsWritableLcdText(cut))
        cut.remove_suffix(1);
    return cut;
}

void RequireFields(const std::vector<std::string_view>& f, std::size_t count, const char* kind)
{
    if (f.size() < count)
        throw LineRefused{std::string("a ") + kind + " line needs " + std::to_string(count) + " fields, it has "
                          + std::to_string(f.size())};
}

void DecodeElement(LcdElement& e, std::string_view screenName, const std::vector<std::string_view>& f,
                   const PlaceholderCaptions& captions)
{
    // "-1" alone closes a list; the program writes it on every kind of
    // screen, so it is read as the empty element on every kind too.
    if (f.size() == 1 && f[0] == "-1") {
        e.setType(LcdType::Text);
        e.setText("");
        return;
    }
    if (StartsWithIgnoreCase(screenName, "MESS_")) {
        RequireFields(f, 2, "message");
        e.setType(LcdType::Message);
        e.setText(Text(f[0]));
        e[LcdElement::kNumber] = Number(f[1]);
        e[LcdElement::kOutside] = 1;
    } else if (StartsWithIgnoreCase(f[0], "HLIGHT_")) {
        RequireFields(f, 5, "highlight");
        e.setType(LcdType::Highlight);
        e.setText(f[0]);
        e[LcdElement::kIndex] = static_cast<std::uint8_t>(LcdHighlightIndex(f[0]));
        e[1] = Number(f[1]);
        e[2] = Number(f[2]);
        e[3] = Number(f[3]);
        e[4] = Number(f[4]);
        e[LcdElement::kOutside] = 0;
    } else if (StartsWithIgnoreCase(f[0], "LCDP_")) {
        RequireFields(f, 7, "placeholder");
        const int index = LcdPlaceholderIndex(f[0]);
        e.setType(LcdType::Placeholder);
        e[LcdElement::kIndex] = static_cast<std::uint8_t>(index);
        e.setText(captions[static_cast<std::size_t>(index)]);
        e[0] = Number(f[1]);
        e[1] = Number(f[2]);
        e[3] = Number(f[3]);
        e[2] = Number(f[4]);
        e[4] = Number(f[5]);
        e[5] = Number(f[6]);
        e[LcdElement::kOutside] = 0;
    } else if (f[0] == "-1") {
        e.setType(LcdType::Text);
        e.setText("");
    } else {
        RequireFields(f, 7, "text");
        e.setType(LcdType::Text);
        e[0] = Number(f[0]);
        e[1] = Number(f[1]);
        e[3] = Number(f[2]);
        e[2] = Number(f[3]);
        e[4] = Number(f[4]);
        e.setText(Text(f[5]));
        e[LcdElement::kNumber] = Number(f[6]);
        e[LcdElement::kOutside] = StartsWithIgnoreCase(screenName, "SKYMESS_") ? 1 : 0;
    }
}

std::vector<std::string_view> SplitLines(std::span<const std::uint8_t> file)
{
    std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace

bool IsWritableLcdText(std::string_view text)
{
    if (text.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '"' && (++i == text.size() || text[i] != '"'))
            return false;
    return true;
}

std::optional<std::string> FirstUnwritableLcdElement(const LcdDisplay& display)
{
    for (std::size_t s = 0; s < display.screens.size(); ++s)
        for (std::size_t e = 0; e < display.screens[s].size(); ++e) {
            const LcdElement& element = display.screens[s][e];
            const std::string where =
                "screen " + std::string(kLcdScreenNames[s]) + ", element " + std::to_string(e + 1);
            if ((element.type() == 3 || element.type() == 4) && !IsWritableLcdText(element.text()))
                return where + " holds a text no .3D file can hold (a lone quote or a line break)";
            if (element.type() == 4 && !StartsWithIgnoreCase(kLcdScreenNames[s], "MESS_"))
                return where + " is a message, which only the MESS_ screens hold";
        }
    return std::nullopt;
}

std::string ShownLcdText(std::string_view stored)
{
    std::string shown;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        shown += stored[i];
        if (stored[i] == '"' && i + 1 < stored.size() && stored[i + 1] == '"')
            ++i;
    }
    return shown;
}

std::string StoredLcdText(std::string_view shown)
{
    std::string stored;
    for (char c : shown) {
        stored += c;
        if (c == '"')
            stored += '"';
    }
    return stored;
}

PlaceholderCaptions DefaultPlaceholderCaptions()
{
    PlaceholderCaptions captions;
    for (std::size_t i = 0; i < captions.size(); ++i)
        captions[i] = std::string(kLcdPlaceholderNames[i]);
    return captions;
}

LcdDisplay ParseThreeD(std::span<const std::uint8_t> file, const LcdDisplay& previous,
                       const PlaceholderCaptions& captions, const std::string& fileLabel)
{
    LcdDisplay display = previous;
    const std::vector<std::string_view> lines = SplitLines(file);
    int screen = -1;
    int filled = 0;
    int blocks = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string_view line = Trim(CutComment(lines[n]));
        const int identified = IdentifiedScreen(line);
        if (identified >= 0) {
            if (blocks == kLcdScreenCount)
                break;
            ++blocks;
            screen = identified;
            filled = 0;
            for (LcdElement& e : display.screens[static_cast<std::size_t>(screen)]) {
                e.setType(LcdType::Text);
                e.setText("");
            }
            continue;
        }
        if (screen < 0 || line.size() < 2 || line[0] != 'D' || line[1] != 'B')
            continue;
        if (filled == kLcdElementCount)
            continue;
        const std::vector<std::string_view> fields = SplitFields(Trim(line.substr(2)));
        try {
            DecodeElement(display.screens[static_cast<std::size_t>(screen)][static_cast<std::size_t>(filled)],
                          kLcdScreenNames[static_cast<std::size_t>(screen)], fields, captions);
        } catch (const LineRefused& refused) {
            throw ThreeDError(fileLabel + ", line " + std::to_string(n + 1) + ": " + refused.why + ": "
                              + std::string(Trim(lines[n])));
        }
        ++filled;
    }
    // Reading nothing is no reading: an empty, binary or foreign file
    // would otherwise pass for a display file that changes nothing.
    if (blocks == 0)
        throw ThreeDError(fileLabel + " holds no LCD screen block (a line naming a screen, such as \""
                          + std::string(kLcdScreenNames[0]) + ":\"); it is not a display file");
    return display;
}

void SortScreenByType(LcdScreen& screen)
{
    for (std::size_t i = 0; i < screen.size(); ++i)
        for (std::size_t j = i; j < screen.size(); ++j)
            if (screen[i].type() < screen[j].type())
                std::swap(screen[i], screen[j]);
}

namespace {

void Put(std::string& out, std::string_view s) { out.append(s); }
void PutNumber(std::string& out, std::uint8_t v) { out.append(std::to_string(v)); }
void EndLine(std::string& out) { out.append("\r\n"); }

template <std::size_t N>
std::string_view NameAt(const std::array<std::string_view, N>& table, std::uint8_t index)
{
    return table[index < N ? index : 0];
}

} // namespace

std::vector<std::uint8_t> WriteThreeD(LcdDisplay& display)
{
    std::string out;
    for (std::size_t s = 0; s < display.screens.size(); ++s) {
        Put(out, kLcdScreenNames[s]);
        Put(out, ":");
        EndLine(out);
        EndLine(out);
        LcdScreen& screen = display.screens[s];
        SortScreenByType(screen);
        bool terminated = false;
        for (const LcdElement& e : screen) {
            const std::uint8_t type = e.type();
            if ((type == 1 || type == 2) && !terminated) {
                Put(out, "\tDB\t-1");
                EndLine(out);
            }
            if (type == 1) {
                Put(out, "\tDB\t");
                Put(out, NameAt(kLcdHighlightNames, e[LcdElement::kIndex]));
                for (std::size_t b : {1, 2, 3, 4}) {
                    Put(out, ",");
                    PutNumber(out, e[b]);
                }
                EndLine(out);
                terminated = true;
            } else if (type == 2) {
                Put(out, "\tDB\t");
                Put(out, NameAt(kLcdPlaceholderNames, e[LcdElement::kIndex]));
                Put(out, ", ");
                PutNumber(out, e[0]);
                for (std::size_t b : {1, 3, 2, 4, 5}) {
                    Put(out, ",");
                    PutNumber(out, e[b]);
                }
                EndLine(out);
                terminated = true;
            } else if (type == 3 && !e.text().empty()) {
                Put(out, "\tDB\t");
                PutNumber(out, e[0]);
                for (std::size_t b : {1, 3, 2, 4}) {
                    Put(out, ",");
                    PutNumber(out, e[b]);
                }
                Put(out, ",\"");
                Put(out, e.text());
                Put(out, "\",");
                PutNumber(out, e[LcdElement::kNumber]);
                EndLine(out);
            } else if (type == 4) {
                Put(out, "\tDB\t\"");
                Put(out, e.text());
                Put(out, "\",");
                PutNumber(out, e[LcdElement::kNumber]);
                Put(out, ",-1");
                EndLine(out);
                terminated = true;
            }
        }
        if (!terminated) {
            Put(out, "\tDB\t-1");
            EndLine(out);
        }
        EndLine(out);
    }
    return std::vector<std::uint8_t>(out.begin(), out.end());
}

} // namespace pitwall
