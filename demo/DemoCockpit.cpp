// The cockpit data of GP3.EXE (the 62 cockpit objects, the LCD text
// positions) and the LCD display file LDATA\<language>.3D of every language
// the version has. The cockpit JAMs are written with the other textures.
//
// The .3D files are written in the form the program writes them (element
// lines by descending type, "-1" before the first placeholder or highlight
// of a screen without messages, CR LF), so that reading and writing one
// back gives the same bytes.

#include "DemoContext.h"

#include "cockpit/CockpitData.h"
#include "cockpit/CockpitNames.h"
#include "formats/GameLanguages.h"

#include <string>

namespace pitwall::demo {

namespace {

// Positions per version column (v1.00, v1.13).
constexpr std::uint32_t kObjects[] = {0x180C4C, 0x181FCC};
constexpr std::uint32_t kTextSlots[] = {0x180784, 0x181B04};
constexpr std::uint32_t kTextHeight[] = {0x1807CC, 0x181B4C};

// A few words per language so the files differ by language.
struct LcdWords {
    const char* lap;
    const char* fuel;
    const char* tyres;
    const char* pit;
};
constexpr LcdWords kWords[kLanguageCount] = {
    {"RUNDE", "BENZIN", "REIFEN", "BOX"},          {"LAP", "FUEL", "TYRES", "PIT"},
    {"VUELTA", "GASOLINA", "NEUMATICOS", "BOXES"}, {"TOUR", "ESSENCE", "PNEUS", "STAND"},
    {"GIRO", "BENZINA", "GOMME", "BOX"},           {"LAP", "GAS", "TIRES", "PIT"},
    {"OKRAZENIE", "PALIWO", "OPONY", "BOKS"},      {"VOLTA", "COMBUSTIVEL", "PNEUS", "BOX"},
};

std::string Num(int v) { return std::to_string(v); }

void Line(std::string& out, const std::string& body) { out += "\tDB\t" + body + "\r\n"; }

std::string TextLine(DemoRandom& rnd, const std::string& text, bool hidden)
{
    // byte 0, column, row, fine X, fine Y, "text", number
    return Num(hidden ? 1 : 0) + "," + Num(rnd.between(0, 16)) + "," + Num(rnd.between(0, 4)) + ","
        + Num(rnd.between(0, 5)) + "," + Num(rnd.between(0, 3)) + ",\"" + text + "\"," + Num(rnd.between(0, 40));
}

std::string PlaceholderLine(DemoRandom& rnd, int index)
{
    // name, byte 0, column, row, fine X, fine Y, last number (blank after
    // the name's comma only)
    return std::string(kLcdPlaceholderNames[static_cast<std::size_t>(index)]) + ", " + Num(rnd.between(0, 3)) + ","
        + Num(rnd.between(0, 14)) + "," + Num(rnd.between(0, 4)) + "," + Num(rnd.between(0, 5)) + ","
        + Num(rnd.between(0, 3)) + "," + Num(rnd.between(0, 9));
}

std::string HighlightLine(DemoRandom& rnd, int index)
{
    const int start = rnd.between(0, 10);
    return std::string(kLcdHighlightNames[static_cast<std::size_t>(index)]) + "," + Num(start) + ","
        + Num(rnd.between(0, 5)) + "," + Num(start + rnd.between(2, 8)) + "," + Num(rnd.between(0, 5));
}

std::vector<std::uint8_t> ThreeDFile(int language, DemoRandom& rnd)
{
    const LcdWords& w = kWords[language];
    std::string out;
    for (int s = 0; s < kLcdScreenCount; ++s) {
        const std::string name(kLcdScreenNames[static_cast<std::size_t>(s)]);
        out += name + ":\r\n\r\n";
        if (name.starts_with("MESS_")) {
            // Messages only: the message lines close the list themselves.
            const int count = rnd.between(1, 2);
            for (int m = 0; m < count; ++m)
                Line(out,
                     "\"" + std::string(m == 0 ? w.pit : w.lap) + " " + Num(s) + "-" + Num(m) + "\","
                         + Num(rnd.between(0, 200)) + ",-1");
        } else if (name.starts_with("SKYMESS_")) {
            Line(out, TextLine(rnd, std::string(w.lap) + " " + name.substr(8), false));
            Line(out, "-1");
        } else {
            const int texts = rnd.between(0, 3);
            for (int t = 0; t < texts; ++t) {
                std::string text = t == 0 ? w.fuel : t == 1 ? w.tyres : w.lap;
                // A ';' inside quotes is text, not a comment.
                if (s == 11 && t == 0)
                    text += ";" + Num(s);
                Line(out, TextLine(rnd, text + " " + Num(s), t == 2));
            }
            Line(out, "-1");
            // At most one placeholder: the program's sort exchanges two of
            // them on every writing, so a file with two has no stable form.
            const int placeholders = rnd.between(0, 1);
            for (int p = 0; p < placeholders; ++p)
                Line(out, PlaceholderLine(rnd, rnd.between(0, kLcdPlaceholderCount - 1)));
            if (rnd.chance(40))
                Line(out, HighlightLine(rnd, rnd.between(0, kLcdHighlightCount - 1)));
        }
        out += "\r\n";
    }
    return std::vector<std::uint8_t>(out.begin(), out.end());
}

} // namespace

void WriteCockpit(DemoContext& context)
{
    DemoRandom rnd(context.seed * 977 + 61 + static_cast<std::uint64_t>(context.gameVersion));
    const std::size_t column = context.versionColumn();
    for (std::uint32_t i = 0; i < kCockpitObjectCount; ++i) {
        const std::uint32_t at = kObjects[column] + 16 * i;
        context.putExe(at, static_cast<std::uint64_t>(rnd.between(0, 300)), 2);     // left
        context.putExe(at + 2, rnd.next() & 0xFFFF, 2);                             // carried
        context.putExe(at + 4, static_cast<std::uint64_t>(rnd.between(0, 200)), 2); // top
        context.putExe(at + 6, rnd.next() & 0xFFFF, 2);
        context.putExe(at + 8, static_cast<std::uint64_t>(rnd.between(0, kCockpitParentCount - 1)), 1);
        context.putExe(at + 9, rnd.next() & 0xFFFFFFFFFFFFFFull, 7);
    }
    for (std::uint32_t k = 0; k < kLcdTextCount; ++k) {
        context.putExe(kTextSlots[column] + 4 * k, static_cast<std::uint64_t>(rnd.between(0, 150)), 1);
        context.putExe(kTextSlots[column] + 4 * k + 1, static_cast<std::uint64_t>(rnd.between(0, 60)), 1);
    }
    context.putExe(kTextHeight[column], static_cast<std::uint64_t>(rnd.between(6, 14)), 1);
    context.putExe(kTextHeight[column] + 4, static_cast<std::uint64_t>(rnd.between(20, 60)), 1);
    for (int l = 0; l < LanguagesOfVersion(context.gameVersion); ++l)
        context.writeFile(ThreeDGamePath(l), ThreeDFile(l, rnd));
}

} // namespace pitwall::demo
