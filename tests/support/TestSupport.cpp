#include "TestSupport.h"

#include "transfer/FileUtils.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pitwall::test {

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    fs::path p = fs::temp_directory_path()
        / ("pitwall-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(p);
    path_ = IncludeTrailingBackslash(PathString(p));
}

TempDir::~TempDir() { DeleteTree(path_); }

std::vector<int> RecordingMessages::numbers() const
{
    std::vector<int> n;
    for (const auto& m : shown)
        n.push_back(m.number);
    return n;
}

void WriteText(const std::string& path, const std::string& text)
{
    ForceDirectories(DirectoryOf(path));
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    WriteText(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::string s = ReadText(path);
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

} // namespace pitwall::test
