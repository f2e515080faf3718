#pragma once
// Shared helpers of the test suites: a temporary directory per test and a
// message sink that records what would have been shown.

#include "base/Messages.h"
#include "formats/Image.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pitwall::test {

// A fresh directory below the system's temporary directory, deleted (with
// read-only contents) when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // With trailing separator.
    const std::string& path() const { return path_; }
    // path() + relative; the '/' of relative become the system's separator,
    // so the result compares equal with paths the program builds.
    std::string operator/(const std::string& relative) const;

private:
    std::string path_;
};

class RecordingMessages : public MessageSink {
public:
    void showMessage(const Message& message) override { shown.push_back(message); }
    bool askYesNo(const Message& message) override
    {
        asked.push_back(message);
        return answer;
    }
    std::vector<int> numbers() const;

    std::vector<Message> shown;
    std::vector<Message> asked;
    bool answer = true;
};

// A demo installation in `directory`: generated once per test process for
// each game version and seed, then copied, since a full installation takes
// seconds to generate.
void MakeDemo(const std::string& directory, int gameVersion = 2, std::uint64_t seed = 1);

// The few process and environment calls the tests make, on every system.
int ProcessId();
void SetEnvironment(const char* name, const char* value);
void UnsetEnvironment(const char* name);

// Why a test that needs POSIX behaviour skips itself on Windows.
inline constexpr const char* kNoFileSizeLimit =
    "Windows has no per-process file-size limit (RLIMIT_FSIZE) to stand in for a full disk";
inline constexpr const char* kNoSymlinks =
    "symbolic links need administrator rights or developer mode on Windows, and Wine makes none";
inline constexpr const char* kNoFork = "Windows has no fork() to run part of a test in a child process";
inline constexpr const char* kNoPosixModes = "Windows files carry no POSIX permission bits, only read-only";

#ifndef _WIN32
// A full disk, as far as this process is concerned: while the object lives,
// no file can grow past `bytes` (RLIMIT_FSIZE) and a write that would fails
// with EFBIG instead of raising SIGXFSZ. Both are restored afterwards.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::uint64_t previousSoft_ = 0;
    void (*previousHandler_)(int) = nullptr;
};
#endif

void WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& path);

// Every file below a directory with its bytes, by its path relative to the
// directory: UTF-8, '/' separated on every system.
using FileTree = std::map<std::string, std::vector<std::uint8_t>>;
FileTree ReadFileTree(const std::string& directory);

// An RGBA PNG as paint programs write it, through libpng's own writer: the
// picture's colours with one alpha value per pixel (row by row).
void WriteRgbaPng(const std::string& path, const Image& picture, const std::vector<std::uint8_t>& alpha);

} // namespace pitwall::test
