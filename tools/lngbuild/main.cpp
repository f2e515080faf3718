// Builds a UI language file (*.LNG) from the text catalogue.
//
//   pitwall-lngbuild CATALOGUE.tsv COLUMN OUT.LNG
//
// The catalogue is UTF-8, tab-separated, one row per UI text:
//   number <TAB> role <TAB> placeholders <TAB> English <TAB> German
// The row numbered "M" is the marquee text (line 1 of the file). Lines
// starting with '#' and empty lines are ignored. COLUMN is "english" or
// "german". The output is Windows-1252 with CR LF line ends: line 1 the
// marquee, line n + 2 UI text n. A number missing from the catalogue becomes
// "-" so that the numbering of later texts stays right.

#include "app/Windows1252.h"

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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: pitwall-lngbuild CATALOGUE.tsv english|german OUT.LNG\n";
        return 2;
    }
    std::string column = argv[2];
    std::size_t field = column == "english" ? 3 : column == "german" ? 4 : 0;
    if (field == 0) {
        std::cerr << "pitwall-lngbuild: unknown column " << column << "\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "pitwall-lngbuild: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::map<int, std::string> texts;
    std::string marquee;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        auto fields = SplitTabs(line);
        if (fields.size() <= field) {
            std::cerr << argv[1] << ":" << lineNumber << ": expected 5 tab-separated fields\n";
            return 1;
        }
        std::string text = pitwall::Utf8ToWindows1252(fields[field]);
        if (fields[0] == "M") {
            marquee = text;
            continue;
        }
        char* end = nullptr;
        long n = std::strtol(fields[0].c_str(), &end, 10);
        if (*end != '\0' || n < 0 || n > 100000) {
            std::cerr << argv[1] << ":" << lineNumber << ": bad UI text number '" << fields[0] << "'\n";
            return 1;
        }
        if (!texts.emplace(static_cast<int>(n), text).second) {
            std::cerr << argv[1] << ":" << lineNumber << ": UI text " << n << " appears twice\n";
            return 1;
        }
    }
    int highest = texts.empty() ? -1 : texts.rbegin()->first;
    std::ostringstream out;
    out << marquee << "\r\n";
    for (int n = 0; n <= highest; ++n) {
        auto it = texts.find(n);
        out << (it == texts.end() ? std::string("-") : it->second) << "\r\n";
    }
    std::ofstream file(argv[3], std::ios::binary | std::ios::trunc);
    file << out.str();
    if (!file) {
        std::cerr << "pitwall-lngbuild: cannot write " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
