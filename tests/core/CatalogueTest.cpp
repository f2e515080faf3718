// Keeps the UI text catalogue, the language files built from it and the code
// that looks texts up in step: every number the sources use has a real text in
// both files, taking exactly the arguments the code passes.

#include "TestSupport.h"

#include "app/Language.h"
#include "base/Windows1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>

using namespace pitwall;

namespace {

struct Row {
    int number = 0;
    std::string role, signature, english, german;
};

std::vector<std::string> Split(const std::string& line, char separator)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, separator))
        fields.push_back(field);
    return fields;
}

// Rows by number; the marquee row is left out.
std::map<int, Row> ReadCatalogue()
{
    std::ifstream in(std::string(PITWALL_SOURCE_DIR) + "/resources/lang/catalogue.tsv");
    std::map<int, Row> rows;
    std::string line;
    while (std::getline(in, line)) {
        auto f = Split(line, '\t');
        if (line.empty() || line[0] == '#' || f[0] == "M" || f.size() < 5)
            continue;
        rows[std::stoi(f[0])] = Row{std::stoi(f[0]), f[1], f[2], f[3], f[4]};
    }
    return rows;
}

// One argument per item of a placeholder column ("%s %d"), each with a
// marker that shows up in the formatted text when the placeholder uses it.
FormatArgs MarkerArgs(const std::string& signature, std::vector<std::string>& markers)
{
    FormatArgs args;
    for (const auto& item : Split(signature, ' ')) {
        if (item == "%d") {
            markers.push_back(std::to_string(90001 + args.size()));
            args.emplace_back(static_cast<std::int64_t>(90001 + args.size()));
        } else {
            markers.push_back("<arg" + std::to_string(args.size()) + ">");
            args.emplace_back(markers.back());
        }
    }
    return args;
}

UITexts LoadBuilt(const std::string& file)
{
    UITexts texts;
    test::RecordingMessages sink;
    EXPECT_TRUE(LoadLanguage(PITWALL_RUNTIME_DIR, file, texts, sink)) << file;
    EXPECT_TRUE(sink.shown.empty()) << file << ": " << (sink.shown.empty() ? "" : sink.shown[0].text);
    return texts;
}

// A place in the sources that looks up a UI text. `arguments` holds the
// argument expressions when the call passes Args(...) or nothing; it is
// absent when they come from elsewhere or the raw text is taken (text(),
// UIText()), which the caller may format itself.
struct Use {
    std::string where;
    int number = 0;
    std::optional<std::vector<std::string>> arguments;
};

// The argument expressions of Args(...) at `text`, split at top-level commas.
std::vector<std::string> ArgsList(const std::string& text)
{
    std::vector<std::string> items(1);
    int depth = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"' && (i == 0 || text[i - 1] != '\\'))
            quoted = !quoted;
        if (!quoted && (c == '(' || c == '{'))
            ++depth;
        if (!quoted && (c == ')' || c == '}') && --depth < 0)
            break;
        if (!quoted && depth == 0 && c == ',')
            items.emplace_back();
        else if (c != ' ' || !items.back().empty())
            items.back() += c;
    }
    return items.size() == 1 && items[0].empty() ? std::vector<std::string>{} : items;
}

// The lines of a source file.
std::vector<std::string> ReadLines(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Lookups by number or by a named constant: texts.text(N), messenger.show(N,
// Args(...)), Show(messenger, kName, ...), context.progress(N, item),
// d.messageNumber = N; and every constant whose name ends in "Text" (it names
// a UI text wherever it goes).
std::vector<Use> ScanSources()
{
    static const std::regex constant(R"(\b(k[A-Z]\w*)\s*=\s*(\d+)\s*[,;])");
    static const std::regex call(R"((?:(?:\.|->)(show|ask|format|text|progress)\(|\b(Show)\(\s*[\w>.-]+\s*,)"
                                 R"(|\bUIText\()\s*(\d+|k[A-Z]\w*)\s*([,)]))"
                                 R"(|(?:\.|->)messageNumber\s*=\s*(\d+)\s*;)");
    // std::regex is slow: only lines that can match are searched.
    auto lookupLine = [](const std::string& line) {
        for (const char* word : {"show(", "ask(", "format(", "text(", "progress(", "Show(", "UIText(", "messageNumber"})
            if (line.find(word) != std::string::npos)
                return true;
        return false;
    };
    std::vector<std::pair<std::string, std::vector<std::string>>> files;
    for (const char* dir : {"core", "gui", "cli"}) {
        std::filesystem::path root = std::filesystem::path(PITWALL_SOURCE_DIR) / dir;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            const auto& path = entry.path();
            if (path.extension() == ".cpp" || path.extension() == ".h")
                files.emplace_back(path.lexically_relative(PITWALL_SOURCE_DIR).string(), ReadLines(path));
        }
    }
    std::map<std::string, int> constants;
    std::vector<Use> uses;
    for (const auto& [file, lines] : files)
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].find("constexpr") == std::string::npos)
                continue;
            for (std::sregex_iterator m(lines[i].begin(), lines[i].end(), constant), end; m != end; ++m) {
                constants[(*m)[1]] = std::stoi((*m)[2]);
                if ((*m)[1].str().ends_with("Text"))
                    uses.push_back(Use{file + ":" + std::to_string(i + 1), std::stoi((*m)[2]), std::nullopt});
            }
        }
    for (const auto& [file, lines] : files)
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (!lookupLine(lines[i]))
                continue;
            for (std::sregex_iterator m(lines[i].begin(), lines[i].end(), call), end; m != end; ++m) {
                Use use{file + ":" + std::to_string(i + 1), 0, std::nullopt};
                std::string number = (*m)[5].matched ? (*m)[5].str() : (*m)[3].str();
                if (std::isdigit(static_cast<unsigned char>(number[0])))
                    use.number = std::stoi(number);
                else if (constants.count(number))
                    use.number = constants[number];
                else
                    continue; // a constant defined outside the scanned sources
                // The call's remaining arguments, which may continue on the next lines.
                std::string rest = lines[i].substr(static_cast<std::size_t>(m->position() + m->length()));
                for (std::size_t j = i + 1; j < std::min(i + 4, lines.size()); ++j)
                    rest += " " + lines[j];
                std::size_t start = std::min(rest.find_first_not_of(' '), rest.size());
                bool rawText = (*m)[1].str() == "text" || (!(*m)[1].matched && !(*m)[2].matched && !(*m)[5].matched);
                if ((*m)[5].matched || (!rawText && (*m)[4].str() == ")"))
                    use.arguments = std::vector<std::string>{};
                else if (!rawText && rest.compare(start, 5, "Args(") == 0)
                    use.arguments = ArgsList(rest.substr(start + 5));
                else if (!rawText && rest.compare(start, 2, "{}") == 0)
                    use.arguments = std::vector<std::string>{};
                // progress(text, item) shows the text as it stands.
                if ((*m)[1].str() == "progress")
                    use.arguments =
                        ArgsList(rest).size() == 1 ? std::optional(std::vector<std::string>{}) : std::nullopt;
                uses.push_back(use);
            }
        }
    return uses;
}

// 's' for a text argument, 'd' for a number, '?' when the expression does
// not tell.
char KindOf(const std::string& expression)
{
    if (expression.starts_with("\"") || expression.starts_with("std::string("))
        return 's';
    if (!expression.empty() && expression.find_first_not_of("0123456789") == std::string::npos)
        return 'd';
    return '?';
}

} // namespace

TEST(Catalogue, BuiltLanguageFilesLoadWithEveryNumber)
{
    auto rows = ReadCatalogue();
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(UITexts::kHighestNumber + 1));
    ASSERT_EQ(rows.rbegin()->first, UITexts::kHighestNumber);
    for (auto [file, german] : {std::pair{"ENGLISH.LNG", false}, std::pair{"DEUTSCH.LNG", true}}) {
        UITexts texts = LoadBuilt(file);
        ASSERT_GE(texts.all().size(), static_cast<std::size_t>(UITexts::kHighestNumber + 1)) << file;
        EXPECT_FALSE(texts.marquee().empty());
        for (const auto& [n, row] : rows) {
            std::string expected = Utf8ToWindows1252(german ? row.german : row.english);
            std::replace(expected.begin(), expected.end(), '|', '\n');
            EXPECT_EQ(texts.text(n), expected) << file << " UI text " << n;
        }
    }
}

TEST(Catalogue, EveryTextTakesItsDocumentedArguments)
{
    auto rows = ReadCatalogue();
    for (const char* file : {"ENGLISH.LNG", "DEUTSCH.LNG"}) {
        UITexts texts = LoadBuilt(file);
        for (const auto& [n, row] : rows) {
            SCOPED_TRACE(std::string(file) + " UI text " + std::to_string(n) + " (" + row.role + ")");
            std::vector<std::string> markers;
            FormatArgs args = MarkerArgs(row.signature, markers);
            if (args.empty()) {
                // Shown through text() as well as format(): a '%' would show raw.
                EXPECT_EQ(texts.text(n).find('%'), std::string::npos);
                continue;
            }
            EXPECT_NO_THROW(FormatText(texts.text(n), args));
            std::string formatted = texts.format(n, args);
            for (const auto& marker : markers)
                EXPECT_NE(formatted.find(marker), std::string::npos) << "argument " << marker << " unused";
        }
    }
}

TEST(Catalogue, FileFilterPatternsFollowTheirDescriptions)
{
    auto rows = ReadCatalogue();
    static const std::regex pattern(R"(\*\.[A-Z0-9]+(;\*\.[A-Z0-9]+)*)");
    static const std::regex patternRole(R"(file filter pattern for (\d+).*)");
    int pairs = 0;
    for (const auto& [n, row] : rows) {
        std::smatch m;
        if (!std::regex_match(row.role, m, patternRole))
            continue;
        ++pairs;
        ASSERT_EQ(std::stoi(m[1]), n - 1) << n;
        const Row& description = rows.at(n - 1);
        EXPECT_TRUE(description.role.starts_with("file filter description")) << n - 1;
        for (const auto& text : {row.english, row.german}) {
            EXPECT_TRUE(std::regex_match(text, pattern)) << n << ": " << text;
            std::string first = text.substr(0, text.find(';'));
            EXPECT_NE(description.english.find(first), std::string::npos) << n - 1;
            EXPECT_NE(description.german.find(first), std::string::npos) << n - 1;
        }
    }
    EXPECT_EQ(pairs, 17);
}

TEST(Catalogue, CodeUsesDocumentedTextsWithTheirArguments)
{
    auto rows = ReadCatalogue();
    auto uses = ScanSources();
    EXPECT_GT(uses.size(), 5u); // the scan still finds the lookups
    for (const auto& use : uses) {
        SCOPED_TRACE(use.where + ": UI text " + std::to_string(use.number));
        if (!rows.count(use.number)) {
            ADD_FAILURE() << "no such UI text";
            continue;
        }
        const Row& row = rows.at(use.number);
        EXPECT_NE(row.role, "unused");
        auto kinds = Split(row.signature, ' ');
        if (!use.arguments || use.arguments->size() != kinds.size()) {
            EXPECT_FALSE(use.arguments) << use.arguments->size() << " arguments; the catalogue documents '"
                                        << row.signature << "'";
            continue;
        }
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            char kind = KindOf((*use.arguments)[i]);
            if (kind != '?') {
                EXPECT_EQ(kinds[i], std::string("%") + kind) << "argument " << (*use.arguments)[i];
            }
        }
    }
}
