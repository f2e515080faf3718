#include "Writers.h"

#include <cstdio>
#include <sstream>

namespace pitwall::clidocs {

namespace {

// Text as roff reads it: backslashes escaped, a leading dot or quote kept
// from being a request, and characters beyond ASCII as \[uXXXX] so the page
// reads the same whatever encoding the formatter assumes.
std::string Roff(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            unsigned code = length == 1 ? 0xFFFD : c & (0x7F >> length);
            for (int k = 1; k < length; ++k) {
                if (i + 1 >= text.size())
                    break;
                code = (code << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F);
            }
            char hex[16];
            std::snprintf(hex, sizeof hex, "\\[u%04X]", code);
            out += hex;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out = "\\&" + out;
    return out;
}

std::string Usage(const ArgumentDoc& argument)
{
    std::string usage = "\\fB" + Roff(argument.names.front()) + "\\fR";
    if (argument.kind != ValueKind::None)
        usage += " \\fI" + Roff(argument.valueName) + "\\fR";
    return usage;
}

bool IsHelp(const ArgumentDoc& option)
{
    return option.names.front() == "--help";
}

void WriteOptions(std::ostringstream& out, const std::vector<ArgumentDoc>& options)
{
    for (const auto& option : options) {
        if (IsHelp(option))
            continue;
        out << ".TP\n";
        std::string names;
        for (const auto& name : option.names)
            names += (names.empty() ? "" : ", ") + ("\\fB" + Roff(name) + "\\fR");
        if (option.kind != ValueKind::None)
            names += " \\fI" + Roff(option.valueName) + "\\fR";
        out << names << "\n" << Roff(option.description) << "\n";
    }
}

void WriteCommand(std::ostringstream& out, const CommandDoc& command)
{
    out << ".SS \"" << Roff(command.path) << "\"\n";
    std::string synopsis = "\\fBpitwall\\-cli " + Roff(command.path) + "\\fR";
    for (const auto& option : command.options) {
        if (IsHelp(option))
            continue;
        synopsis += option.required ? " " + Usage(option) : " [" + Usage(option) + "]";
    }
    for (const auto& positional : command.positionals)
        synopsis += positional.required ? " \\fI" + Roff(positional.valueName) + "\\fR"
                                        : " [\\fI" + Roff(positional.valueName) + "\\fR]";
    if (!command.commands.empty())
        synopsis += " \\fICOMMAND\\fR";
    std::string description = command.description;
    if (!description.empty() && description.back() != '.')
        description += '.';
    out << ".PP\n" << synopsis << "\n.PP\n" << Roff(description) << "\n";
    if (!command.commands.empty()) {
        std::string names;
        for (const auto& c : command.commands)
            names += (names.empty() ? "" : ", ") + ("\\fB" + Roff(c.name) + "\\fR");
        out << "Commands: " << names << ".\n";
    }
    WriteOptions(out, command.options);
    for (const auto& positional : command.positionals)
        out << ".TP\n\\fI" << Roff(positional.valueName) << "\\fR\n" << Roff(positional.description) << "\n";
    for (const auto& c : command.commands)
        WriteCommand(out, c);
}

} // namespace

std::string ManPage(const CommandDoc& root, const std::string& date, const std::string& version)
{
    std::ostringstream out;
    std::string summary = root.description;
    if (summary.rfind("pitwall-cli: ", 0) == 0)
        summary = summary.substr(13);
    out << ".\\\" The manual page of pitwall-cli, made from its command definitions by pitwall-cli-docs.\n"
        << ".TH PITWALL\\-CLI 1 \"" << Roff(date) << "\" \"pitwall\\-cli " << Roff(version) << "\" \"User Commands\"\n"
        << ".ad l\n" // left-aligned: a justified command line would not read as typed
        << ".SH NAME\npitwall\\-cli \\- " << Roff(summary) << "\n"
        << ".SH SYNOPSIS\n\\fBpitwall\\-cli\\fR [\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGUMENTS\\fR]\n"
        << ".br\n\\fBpitwall\\-cli\\fR \\fICOMMAND\\fR \\fB\\-\\-help\\fR\n"
        << ".SH DESCRIPTION\n"
        << "\\fBpitwall\\-cli\\fR reads and changes installations of the game Grand Prix 3 and the carsets "
           "(\\fI.GMS\\fR) that carry changes from one installation to another, with the engine of the "
           "desktop editor \\fBpitwall\\fR.\n"
        << "Every command that changes an installation first keeps the files it will change in a restore "
           "point and replaces each file as a whole; \\fBrestore\\fR puts them back.\n"
        << ".PP\nThe options below may be given before or after the command; "
           "\\fB\\-h\\fR, \\fB\\-\\-help\\fR shows the usage of the program or of a command.\n";
    out << ".SH OPTIONS\n";
    WriteOptions(out, root.options);
    out << ".SH COMMANDS\n";
    for (const auto& command : root.commands)
        WriteCommand(out, command);
    out << ".SH ENVIRONMENT\n.TP\n.B PITWALL_GAME\n"
        << "The game directory (the one holding \\fIGP3.EXE\\fR) for the commands when \\fB\\-\\-game\\fR is not "
           "given.\n"
        << ".TP\n.B XDG_DATA_HOME\nRestore points are kept in \\fI$XDG_DATA_HOME/pitwall/RestorePoints\\fR "
           "(default \\fI~/.local/share\\fR) unless \\fB\\-\\-restore\\-dir\\fR names another directory.\n"
        << ".SH FILES\n.TP\n.I PITWALL.INI\n"
        << "The desktop program's settings, beside the executable or in \\fI~/.config/pitwall/\\fR: without "
           "\\fB\\-\\-game\\fR and \\fBPITWALL_GAME\\fR the commands work on its game directory (\\fBGP3Path\\fR). "
           "\\fBpitwall\\-cli\\fR only reads it.\n"
        << ".TP\n.I ENGLISH.LNG\n"
        << "The program's texts, beside the executable or in \\fI../share/pitwall/\\fR.\n"
        << ".SH EXIT STATUS\n.TP\n.B 0\nEverything asked for was done.\n"
        << ".TP\n.B 1\nSomething failed or was skipped, or the output could not all be written (a full "
           "disk); standard error says why, one line per thing not done.\n"
        << ".TP\n.B 2\nWrong usage: an unknown command or option, a missing argument, or a value out of range "
           "(an item, group, entry or element number, or a list that is none).\n"
        << ".TP\n.B 3\n\\fBcarset conflicts\\fR: two of the carsets would change the same bytes of the "
           "installation.\n"
        << ".SH SEE ALSO\n\\fBpitwall\\-cli\\fR \\fICOMMAND\\fR \\fB\\-\\-help\\fR, and the README of Pitwall.\n";
    return out.str();
}

} // namespace pitwall::clidocs
