#pragma once
// The program's command line as UTF-8, the form every path and text inside the
// program takes.
//
// Windows hands main() its arguments in the ANSI code page, which cannot hold
// every file name (a game folder named in Greek on a German system); there the
// arguments are read from the wide command line instead. Elsewhere they are
// taken as given.

#include <string>
#include <vector>

namespace pitwall {

std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Makes a console show the UTF-8 the program writes (Windows; elsewhere the
// terminal's own setting applies and nothing is done).
void UseUtf8Console();

#ifdef _WIN32
// Splits a wide command line as the C runtime splits it (quotes, backslashes
// before quotes) and converts each argument to UTF-8.
std::vector<std::string> SplitWideCommandLine(const wchar_t* commandLine);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(const wchar_t* text, std::size_t length);
#endif

} // namespace pitwall
