#include "Suggestions.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace pitwall::cli {

namespace {

// Edits (insert, delete, change, swap two neighbours) from a to b, case ignored.
std::size_t Distance(const std::string& a, const std::string& b)
{
    auto same = [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    };
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] =
                std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (same(a[i - 1], b[j - 1]) ? 0 : 1)});
            if (i > 1 && j > 1 && same(a[i - 1], b[j - 2]) && same(a[i - 2], b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The name nearest to `word`, if it is near enough to be a slip of the keys.
std::string Nearest(const std::string& word, const std::vector<std::string>& names)
{
    std::string best;
    std::size_t bestDistance = std::max<std::size_t>(1, std::min<std::size_t>(2, word.size() / 3)) + 1;
    for (const auto& name : names) {
        std::size_t d = Distance(word, name);
        if (d < bestDistance) {
            bestDistance = d;
            best = name;
        }
    }
    return best;
}

// The visible long options of a command and of the commands it sits in.
std::vector<CLI::Option*> OptionsInReach(CLI::App* command)
{
    std::vector<CLI::Option*> options;
    for (CLI::App* c = command; c; c = c->get_parent())
        for (CLI::Option* o : c->get_options([](CLI::Option* o) { return !o->get_group().empty(); }))
            options.push_back(o);
    return options;
}

} // namespace

Suggestion SuggestName(CLI::App& app, int argc, const char* const* argv)
{
    CLI::App* command = &app;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--", 0) == 0 && arg.size() > 2) {
            std::string name =
                arg.substr(2, arg.find('=') == std::string::npos ? std::string::npos : arg.find('=') - 2);
            std::vector<std::string> names;
            const CLI::Option* known = nullptr;
            for (CLI::Option* o : OptionsInReach(command))
                for (const auto& l : o->get_lnames()) {
                    names.push_back(l);
                    if (l == name)
                        known = o;
                }
            if (!known) {
                std::string nearest = Nearest(name, names);
                return {arg, nearest.empty() ? "" : "--" + nearest};
            }
            if (known->get_expected_min() > 0 && arg.find('=') == std::string::npos)
                ++i; // its value
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-')
            continue;
        auto subcommands = command->get_subcommands([](CLI::App*) { return true; });
        if (subcommands.empty())
            continue; // a command's own argument
        auto found =
            std::find_if(subcommands.begin(), subcommands.end(), [&](CLI::App* s) { return s->check_name(arg); });
        if (found != subcommands.end()) {
            command = *found;
            continue;
        }
        std::vector<std::string> names;
        for (CLI::App* s : subcommands)
            names.push_back(s->get_name());
        return {arg, Nearest(arg, names)};
    }
    return {};
}

} // namespace pitwall::cli
