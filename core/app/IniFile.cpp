#include "app/IniFile.h"

#include "base/FileUtils.h"
#include "base/SafeWrite.h"
#include "base/TextEncoding.h"
#include "base/Windows1252.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace pitwall {

namespace {

std::string Trim(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return std::string(s.substr(b, e - b));
}

constexpr std::size_t npos = static_cast<std::size_t>(-1);

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The reader ends a key at its first "=" and trims it, and a line that
// starts with ";" or "[" is no key at all. A key that would not read back as
// itself (the carset save dialog remembers its folder under the program's
// own path, which may hold a "=") is written in double quotes, with quotes
// inside doubled. Keys never began with a quote before (a Windows path
// cannot hold one), so files written without this read as they always did.
std::string KeyText(std::string_view key)
{
    const bool plain = key.find('=') == std::string_view::npos
        && (key.empty()
            || (key.front() != '"' && key.front() != ';' && key.front() != '[' && !IsBlank(key.front())
                && !IsBlank(key.back())));
    if (plain)
        return std::string(key);
    std::string quoted = "\"";
    for (char c : key) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

// The reader takes a value without its blanks at either end and without one
// pair of quotes around it (as Windows does, so older files keep reading
// alike). A value that would lose either, such as a start command
// "wine" "--x=a b", is written inside one more pair of the quotes it has at
// its ends, or of double quotes for blanks, and reads back as it was.
std::string ValueText(std::string_view value)
{
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        return value.front() + std::string(value) + value.front();
    if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back())))
        return "\"" + std::string(value) + "\"";
    return std::string(value);
}

// A key written by KeyText in quotes: its name and where its "=" is, or
// nothing when the line does not start with such a key.
std::optional<std::pair<std::string, std::size_t>> QuotedKey(std::string_view line)
{
    if (line.empty() || line.front() != '"')
        return std::nullopt;
    std::string name;
    std::size_t i = 1;
    for (;;) {
        if (i >= line.size())
            return std::nullopt;
        if (line[i] == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {
                name += '"';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        name += line[i++];
    }
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i >= line.size() || line[i] != '=')
        return std::nullopt;
    return std::pair{std::move(name), i};
}

} // namespace

IniFile::Line IniFile::Classify(std::string raw)
{
    Line line;
    line.raw = std::move(raw);
    std::string t = Trim(line.raw);
    if (!t.empty() && t[0] == '[') {
        auto close = t.find(']');
        line.kind = Line::Kind::Section;
        line.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return line;
    }
    if (t.empty() || t[0] == ';')
        return line;
    std::size_t eq;
    if (auto quoted = QuotedKey(t)) {
        line.name = std::move(quoted->first);
        eq = quoted->second;
    } else {
        eq = t.find('=');
        if (eq == std::string::npos)
            return line;
        line.name = Trim(t.substr(0, eq));
    }
    line.kind = Line::Kind::Key;
    line.value = Trim(t.substr(eq + 1));
    if (line.value.size() >= 2 && IsQuote(line.value.front()) && line.value.back() == line.value.front())
        line.value = line.value.substr(1, line.value.size() - 2);
    return line;
}

void IniFile::parse(std::string_view text)
{
    lines_.clear();
    // Editors that save UTF-8 may put a byte-order mark in front; read as
    // part of the first line it would hide the first section's header. It is
    // written back as it was.
    const std::string_view withoutMark = WithoutUtf8Bom(text);
    byteOrderMark_ = withoutMark.size() != text.size();
    text = withoutMark;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines_.push_back(Classify(std::string(text.substr(start))));
            break;
        }
        lines_.push_back(Classify(std::string(text.substr(start, end - start))));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

std::string IniFile::text() const
{
    std::string out = byteOrderMark_ ? "\xEF\xBB\xBF" : "";
    for (const auto& l : lines_) {
        out += l.raw;
        out += "\r\n";
    }
    return out;
}

bool IniFile::load(std::string_view path)
{
    lines_.clear();
    byteOrderMark_ = false;
    unreadable_.clear();
    if (!FileExists(path)) {
        // Something of that name that is not a file (a folder, a pipe) is
        // never replaced by a save either.
        std::error_code ec;
        if (!path.empty() && std::filesystem::exists(NativePath(path), ec))
            unreadable_ = WhyNotAFile(path);
        return false;
    }
    // A settings file is a few kilobytes; a huge file is not read at all
    // (each line is kept, so a file of bare line breaks would cost memory
    // a hundred times its size).
    constexpr std::uint64_t kMaxIniSize = 256ull * 1024;
    if (FileSizeOf(path) > kMaxIniSize) {
        unreadable_ = "it is larger than 256 KB";
        return false;
    }
    errno = 0; // the reason is this open's, not an earlier call's
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in) {
        unreadable_ = errno ? std::strerror(errno) : "it cannot be opened";
        return false;
    }
    std::ostringstream ss;
    ss << in.rdbuf();
    parse(ss.str());
    return true;
}

void IniFile::save(std::string_view path) const
{
    if (!unreadable_.empty())
        throw FileWriteError(std::string(path),
                             "it could not be read (" + unreadable_
                                 + "), and writing it anew would lose everything else it holds; "
                                   "it is left as it is");
    std::string content = text();
    std::vector<std::uint8_t> bytes(content.begin(), content.end());
    // An unchanged file is left as it is (no write, no flush to the disk).
    if (FileExists(path) && FileSizeOf(path) == bytes.size()) {
        try {
            if (ReadWholeFile(path, bytes.size()) == bytes)
                return;
        } catch (const std::exception&) {
            // Unreadable: written anew below.
        }
    }
    // A settings file linked from a folder of the user's stays linked.
    ReplaceFileSafely(path, bytes, LinkTarget::WriteThrough);
}

std::pair<std::size_t, std::size_t> IniFile::sectionRange(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Kind::Section && EqualsIgnoreCase(lines_[i].name, section)) {
            std::size_t end = i + 1;
            while (end < lines_.size() && lines_[end].kind != Line::Kind::Section)
                ++end;
            return {i, end};
        }
    }
    return {npos, npos};
}

std::size_t IniFile::findKey(std::string_view section, std::string_view key) const
{
    auto [begin, end] = sectionRange(section);
    if (begin == npos)
        return npos;
    for (std::size_t i = begin + 1; i < end; ++i)
        if (lines_[i].kind == Line::Kind::Key && EqualsIgnoreCase(lines_[i].name, key))
            return i;
    return npos;
}

bool IniFile::hasSection(std::string_view section) const { return sectionRange(section).first != npos; }

bool IniFile::hasKey(std::string_view section, std::string_view key) const { return findKey(section, key) != npos; }

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    auto i = findKey(section, key);
    return i == npos ? std::string(defaultValue) : lines_[i].value;
}

long long IniFile::readInteger(std::string_view section, std::string_view key, long long defaultValue) const
{
    std::string s = readString(section, key, "");
    if (s.empty())
        return defaultValue;
    const char* p = s.c_str();
    int base = 10;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    if (*p == '$') {
        base = 16;
        ++p;
    } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    }
    if (*p == '\0')
        return defaultValue;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(p, &end, base);
    if (errno != 0 || *end != '\0' || *p == '-' || *p == '+' || *p == ' ')
        return defaultValue;
    return negative ? -v : v;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::sectionNames() const
{
    std::vector<std::string> names;
    for (const auto& l : lines_)
        if (l.kind == Line::Kind::Section)
            names.push_back(l.name);
    return names;
}

std::vector<std::string> IniFile::keyNames(std::string_view section) const
{
    std::vector<std::string> names;
    auto [begin, end] = sectionRange(section);
    if (begin == npos)
        return names;
    for (std::size_t i = begin + 1; i < end; ++i)
        if (lines_[i].kind == Line::Kind::Key)
            names.push_back(lines_[i].name);
    return names;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string raw = KeyText(key) + "=" + ValueText(value);
    auto i = findKey(section, key);
    if (i != npos) {
        lines_[i] = Classify(std::move(raw));
        return;
    }
    auto [begin, end] = sectionRange(section);
    if (begin == npos) {
        lines_.push_back(Classify("[" + std::string(section) + "]"));
        lines_.push_back(Classify(std::move(raw)));
        return;
    }
    // After the section's last non-blank line, so blank separators stay below.
    std::size_t at = end;
    while (at > begin + 1 && Trim(lines_[at - 1].raw).empty())
        --at;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Classify(std::move(raw)));
}

void IniFile::writeInteger(std::string_view section, std::string_view key, long long value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

void IniFile::eraseKey(std::string_view section, std::string_view key)
{
    auto i = findKey(section, key);
    if (i != npos)
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
}

} // namespace pitwall
