// Builds a UI language file (*.LNG) from the text catalogue.
//
//   pitwall-lngbuild CATALOGUE.tsv COLUMN OUT.LNG
//
// The catalogue is UTF-8, tab-separated, one row per UI text:
//   number <TAB> role <TAB> placeholders <TAB> English <TAB> German [<TAB> further languages]
// The row numbered "M" is the marquee text (line 1 of the file). Lines
// starting with '#' and empty lines are ignored. COLUMN is "english", "german"
// or the 1-based field number of a further language (6, 7, ...). The output is
// Windows-1252 with CR LF line ends: line 1 the marquee, line n + 2 UI text n.
//
// The build fails, naming the catalogue line, when a row is malformed, a
// number is missing or doubled, a text has a character Windows-1252 lacks, or
// a text's placeholders do not take the arguments its placeholder column lists
// (each must be used; a text without arguments must not contain '%').

#include "base/DelphiFormat.h"
#include "base/UITexts.h"
#include "base/Windows1252.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return fields;
}

// Arguments for a placeholder column such as "%s %d": a distinct marker per
// argument, so that the formatted text shows whether each one was used.
pitwall::FormatArgs MarkerArgs(const std::string& signature, std::vector<std::string>& markers, std::string& error)
{
    pitwall::FormatArgs args;
    std::istringstream in(signature);
    std::string item;
    while (in >> item) {
        std::size_t i = args.size();
        if (item == "%d") {
            args.emplace_back(static_cast<std::int64_t>(90001 + i));
            markers.push_back(std::to_string(90001 + i));
        } else if (item == "%s") {
            markers.push_back("<arg" + std::to_string(i) + ">");
            args.emplace_back(markers.back());
        } else {
            error = "placeholder column '" + signature + "' is not a list of %s and %d";
            return {};
        }
    }
    return args;
}

std::string CheckText(const std::string& utf8, const std::string& signature)
{
    if (pitwall::Windows1252ToUtf8(pitwall::Utf8ToWindows1252(utf8)) != utf8)
        return "text has a character that Windows-1252 does not have";
    std::vector<std::string> markers;
    std::string error;
    pitwall::FormatArgs args = MarkerArgs(signature, markers, error);
    if (!error.empty())
        return error;
    if (args.empty())
        return utf8.find('%') == std::string::npos ? "" : "text without arguments contains '%'";
    std::string formatted;
    try {
        formatted = pitwall::FormatText(utf8, args);
    } catch (const pitwall::FormatTextError&) {
        return "placeholders do not fit '" + signature + "'";
    }
    for (const auto& marker : markers)
        if (formatted.find(marker) == std::string::npos)
            return "an argument of '" + signature + "' is not used";
    return "";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: pitwall-lngbuild CATALOGUE.tsv english|german|FIELD OUT.LNG\n";
        return 2;
    }
    std::string column = argv[2];
    long field = column == "english" ? 4 : column == "german" ? 5 : std::strtol(column.c_str(), nullptr, 10);
    if (field < 4) {
        std::cerr << "pitwall-lngbuild: unknown column " << column << "\n";
        return 2;
    }
    std::size_t index = static_cast<std::size_t>(field - 1);
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "pitwall-lngbuild: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::map<int, std::string> texts;
    std::string marquee;
    bool haveMarquee = false;
    std::string line;
    int lineNumber = 0;
    int errors = 0;
    auto fail = [&](const std::string& message) {
        if (++errors <= 20)
            std::cerr << argv[1] << (lineNumber > 0 ? ":" + std::to_string(lineNumber) : std::string()) << ": "
                      << message << "\n";
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        auto fields = SplitTabs(line);
        if (fields.size() <= index) {
            fail("expected at least " + std::to_string(field) + " tab-separated fields");
            continue;
        }
        std::string problem = CheckText(fields[index], fields[2]);
        if (!problem.empty())
            fail(problem);
        std::string text = pitwall::Utf8ToWindows1252(fields[index]);
        if (fields[0] == "M") {
            marquee = text;
            haveMarquee = true;
            continue;
        }
        char* end = nullptr;
        long n = std::strtol(fields[0].c_str(), &end, 10);
        if (fields[0].empty() || *end != '\0' || n < 0 || n > pitwall::UITexts::kHighestNumber) {
            fail("bad UI text number '" + fields[0] + "'");
            continue;
        }
        if (!texts.emplace(static_cast<int>(n), text).second)
            fail("UI text " + std::to_string(n) + " appears twice");
    }
    lineNumber = 0;
    if (!haveMarquee)
        fail("no marquee row \"M\"");
    for (int n = 0; n <= pitwall::UITexts::kHighestNumber; ++n)
        if (!texts.count(n))
            fail("UI text " + std::to_string(n) + " is missing");
    if (errors > 20)
        std::cerr << argv[1] << ": " << errors - 20 << " further errors\n";
    if (errors > 0)
        return 1;

    std::ostringstream out;
    out << marquee << "\r\n";
    for (const auto& [n, text] : texts)
        out << text << "\r\n";
    std::ofstream file(argv[3], std::ios::binary | std::ios::trunc);
    file << out.str();
    if (!file) {
        std::cerr << "pitwall-lngbuild: cannot write " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
