#pragma once
// A Windows profile (INI) file with the semantics of GetPrivateProfileString
// and WritePrivateProfileString: section and key names match without regard to
// case, a missing key yields the caller's default, surrounding blanks and one
// pair of enclosing quotes are removed from values, the first of duplicate
// keys wins, and a write keeps every other line (comments, order, spelling) as
// it was. Text is kept as Windows-1252 bytes; lines are written with CR LF.
// Every key and value reads back as it was written: a key that the reader
// would cut or trim (a "=" in it, blanks at its ends) is written in double
// quotes, a value that would lose its enclosing quotes or its blanks in one
// more pair of quotes. A UTF-8 byte-order mark in front is skipped on reading
// and written back.

#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

class IniFile {
public:
    IniFile() = default;

    // Reads the file; a missing or unreadable file gives an empty profile and
    // false.
    bool load(std::string_view path);
    // Writes the whole profile (replacing the file, clearing read-only first).
    // Throws std::runtime_error when the file cannot be written, and also when
    // the last load found the file but could not read it: the profile then
    // holds only what was written since, and saving it would wipe out every
    // other key and comment of that file.
    void save(std::string_view path) const;

    void parse(std::string_view text);
    std::string text() const;

    bool hasSection(std::string_view section) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // Decimal (optionally signed) or hexadecimal with "$" or "0x"; anything
    // else gives the default.
    long long readInteger(std::string_view section, std::string_view key, long long defaultValue) const;
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;
    std::vector<std::string> sectionNames() const;
    std::vector<std::string> keyNames(std::string_view section) const;

    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, long long value);
    void writeBool(std::string_view section, std::string_view key, bool value);
    void eraseKey(std::string_view section, std::string_view key);

private:
    struct Line {
        std::string raw;
        enum class Kind { Other, Section, Key } kind = Kind::Other;
        std::string name;  // section or key name, trimmed
        std::string value; // key value, trimmed and unquoted
    };
    static Line Classify(std::string raw);
    // [begin, end) line range of the first section of that name; begin is the
    // header line. {npos, npos} when absent.
    std::pair<std::size_t, std::size_t> sectionRange(std::string_view section) const;
    std::size_t findKey(std::string_view section, std::string_view key) const;

    std::vector<Line> lines_;
    bool byteOrderMark_ = false; // the text began with a UTF-8 byte-order mark
    // Why the last load could not read a file that is there; empty when it
    // read the file or found none.
    std::string unreadable_;
};

} // namespace pitwall
