#pragma once
// Dates and numbers in the language the user chose for Pitwall (German
// dates with the German language file), whatever the system's locale.

#include <QLocale>

#include <string>

namespace pitwall {
struct ProgramState;
}

namespace pitwall::gui {

// The locale of the chosen language file; the system's for English and for
// languages without a known locale.
QLocale LanguageLocale(const ProgramState& program);

// A time the program keeps in UTC (ISO 8601), as the user's local time in
// that locale; the text as it is when it is no such time.
QString LocalTimeText(const std::string& utc, const ProgramState& program);

} // namespace pitwall::gui
