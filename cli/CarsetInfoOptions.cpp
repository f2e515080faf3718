#include "CarsetInfoOptions.h"

#include "CliContext.h"

#include "app/Language.h"
#include "base/Windows1252.h"

namespace pitwall::cli {

namespace {

// The information window's one-line fields take at most this many
// characters.
constexpr std::size_t kMaxFieldLength = 32767;
// What the window's date field gives when left empty: its mask's
// separators.
constexpr const char* kEmptyDate = "..";

// The option's text in Windows-1252, as the game's texts are held.
std::string GameText(const std::string& option, const std::string& utf8)
{
    std::string bytes = Utf8ToWindows1252(utf8);
    if (Windows1252ToUtf8(bytes) != utf8)
        throw CommandFailure(option + " holds a character the game's texts cannot hold (they are Windows-1252)");
    return bytes;
}

// A line of INFO.DAT: a line break would move every line after it.
std::string FieldText(const std::string& option, const std::string& utf8)
{
    if (utf8.find_first_of("\r\n") != std::string::npos)
        throw CommandFailure(option + " must be one line");
    std::string bytes = GameText(option, utf8);
    if (bytes.size() > kMaxFieldLength)
        throw CommandFailure(option + " is " + std::to_string(bytes.size()) + " characters long; the field takes "
                             + std::to_string(kMaxFieldLength));
    return bytes;
}

// The window's date field takes two digits each for day, month and year
// ("06.12.26"); digits left out leave their places empty.
bool IsWindowDate(const std::string& date)
{
    std::size_t at = 0;
    for (int part = 0; part < 3; ++part) {
        std::size_t digits = 0;
        while (at < date.size() && date[at] >= '0' && date[at] <= '9' && digits < 2) {
            ++at;
            ++digits;
        }
        if (part < 2) {
            if (at >= date.size() || date[at] != '.')
                return false;
            ++at;
        }
    }
    return at == date.size();
}

} // namespace

void AddCarsetInfoOptions(CLI::App& command, CarsetInfoOptions& o)
{
    o.nameOption =
        command.add_option("--name", o.name, "Carset name (the first line of the carset information's free text)");
    o.authorOption = command.add_option("--author", o.author, "Carset information: who made the carset");
    o.dateOption = command.add_option("--date", o.date, "Carset information: the date, DD.MM.YY");
    o.descriptionOption = command.add_option("--description", o.description,
                                             "Carset information: free text after the name (line breaks separate lines)");
    o.versionOption = command.add_option("--version-text", o.versionText,
                                         "Carset information: the program version it was made with (default v1.0)");
    o.showOption = command.add_flag("--show-info", o.showInfo, "Show the carset information to whoever loads the carset");
}

std::optional<CarsetInfo> CarsetInfoFromOptions(const CarsetInfoOptions& o)
{
    auto given = [](const CLI::Option* option) { return option && option->count() > 0; };
    if (!given(o.nameOption) && !given(o.authorOption) && !given(o.dateOption) && !given(o.descriptionOption)
        && !given(o.versionOption) && !given(o.showOption))
        return std::nullopt;
    CarsetInfoFields fields;
    if (given(o.versionOption))
        fields.version = FieldText("--version-text", o.versionText);
    fields.author = FieldText("--author", o.author);
    if (given(o.dateOption)) {
        if (!IsWindowDate(o.date))
            throw CommandFailure("bad --date '" + o.date + "': day, month and year as DD.MM.YY");
        fields.date = o.date;
    } else {
        fields.date = kEmptyDate;
    }
    fields.showOnLoad = o.showInfo;
    if (given(o.nameOption) || given(o.descriptionOption)) {
        fields.text.push_back(FieldText("--name", o.name));
        for (auto& line : SplitLines(GameText("--description", o.description)))
            fields.text.push_back(std::move(line));
    }
    CarsetInfo made;
    ApplyCarsetInfoEdits(made, fields);
    const std::size_t size = CarsetInfoText(made).size();
    if (size > kMaxCarsetInfoSize)
        throw CommandFailure("the carset information would take " + std::to_string(size)
                             + " bytes; a carset load reads at most " + std::to_string(kMaxCarsetInfoSize));
    return made;
}

ShownCarsetInfo ShowCarsetInfo(const CarsetInfo& info)
{
    auto line = [&info](std::size_t i) { return i < info.lines.size() ? info.lines[i] : std::string(); };
    ShownCarsetInfo shown;
    shown.version = line(0);
    shown.author = line(1);
    shown.date = line(2);
    shown.showOnLoad = ShowCarsetInfoOnLoad(info);
    shown.name = line(10);
    if (info.lines.size() > 11)
        shown.description.assign(info.lines.begin() + 11, info.lines.end());
    return shown;
}

} // namespace pitwall::cli
