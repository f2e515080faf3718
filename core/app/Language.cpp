#include "app/Language.h"

#include "base/FileUtils.h"
#include "base/Messages.h"

#include <fstream>
#include <sstream>

namespace pitwall {

std::vector<std::string> ListLanguageFiles(std::string_view programDirectory)
{
    std::vector<std::string> names;
    for (const auto& full : ListFiles(programDirectory, "*.LNG", false, false))
        names.push_back(FileNameOf(full));
    return names;
}

int ChooseLanguageIndex(const std::vector<std::string>& languageFiles, std::string_view setting)
{
    if (languageFiles.empty())
        return -1;
    for (std::size_t i = 0; i < languageFiles.size(); ++i)
        if (!setting.empty() && EqualsIgnoreAsciiCase(languageFiles[i], setting))
            return static_cast<int>(i);
    for (std::size_t i = 0; i < languageFiles.size(); ++i)
        if (EqualsIgnoreAsciiCase(languageFiles[i], kDefaultLanguageFile))
            return static_cast<int>(i);
    return 0;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

bool BuildUITexts(std::vector<std::string> lines, UITexts& texts)
{
    bool complete = lines.size() >= static_cast<std::size_t>(UITexts::kMinimumLines);
    while (lines.size() < static_cast<std::size_t>(UITexts::kMinimumLines))
        lines.emplace_back(UITexts::kFiller);
    for (auto& line : lines)
        for (auto& c : line)
            if (c == '|')
                c = '\n';
    // The marquee scrolls through a status-bar panel, measured again on every
    // step: a line longer than any panel shows would only cost time.
    constexpr std::size_t kMaxMarqueeLength = 2000;
    std::string marquee = std::move(lines.front());
    if (marquee.size() > kMaxMarqueeLength)
        marquee.resize(kMaxMarqueeLength);
    lines.erase(lines.begin());
    texts.assign(std::move(lines), std::move(marquee));
    return complete;
}

bool LoadLanguage(std::string_view programDirectory, std::string_view languageFile, UITexts& texts, MessageSink& sink)
{
    std::string path = IncludeTrailingBackslash(programDirectory) + std::string(languageFile);
    // Only a regular file is opened: a pipe of that name would keep the start waiting.
    std::ifstream in;
    if (!languageFile.empty() && FileExists(path))
        in.open(NativePath(path), std::ios::binary);
    if (!in.is_open()) {
        sink.showMessage(Message{-1, kLanguageFileMissingMessage});
        return false;
    }
    // A language file holds about 1,300 short lines (some 100 KB); anything
    // far larger is not one and is not read into memory (16 MB of bare line
    // feeds would make 16 million texts, half a gigabyte).
    constexpr std::uint64_t kMaxLanguageFileSize = 2ull * 1024 * 1024;
    std::ostringstream ss;
    if (FileSizeOf(path) <= kMaxLanguageFileSize)
        ss << in.rdbuf();
    if (!BuildUITexts(SplitLines(ss.str()), texts))
        sink.showMessage(Message{-1, std::string(languageFile) + kInvalidLanguageFileSuffix});
    return true;
}

SelectedLanguage SelectLanguage(std::string_view programDirectory, std::string_view setting, UITexts& texts,
                                MessageSink& sink)
{
    SelectedLanguage s;
    s.files = ListLanguageFiles(programDirectory);
    s.index = ChooseLanguageIndex(s.files, setting);
    if (s.index < 0) {
        s.index = 0;
        s.outcome = LanguageSelection::NoLanguageFiles;
        sink.showMessage(Message{-1, kNoLanguageFilesMessage});
        return s;
    }
    s.file = s.files[static_cast<std::size_t>(s.index)];
    s.outcome = LoadLanguage(programDirectory, s.file, texts, sink) ? LanguageSelection::Loaded
                                                                    : LanguageSelection::FileMissing;
    return s;
}

} // namespace pitwall
