#include "TestSupport.h"

#include "DemoInstallation.h"
#include "base/FileUtils.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <png.h>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace pitwall::test {

int ProcessId()
{
#ifdef _WIN32
    return ::_getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

void SetEnvironment(const char* name, const char* value)
{
#ifdef _WIN32
    ::_putenv_s(name, value);
#else
    ::setenv(name, value, 1);
#endif
}

#ifdef _WIN32
void SetBackInTime(const std::string& path, int seconds)
{
    // Folders open only with backup semantics, which the C runtime's utime lacks.
    HANDLE h = CreateFileW(NativePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= static_cast<ULONGLONG>(seconds) * 10'000'000ull;
    FILETIME then{t.LowPart, t.HighPart};
    SetFileTime(h, nullptr, &then, &then);
    CloseHandle(h);
}
#endif

void UnsetEnvironment(const char* name)
{
#ifdef _WIN32
    ::_putenv_s(name, "");
#else
    ::unsetenv(name);
#endif
}

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    fs::path p =
        fs::temp_directory_path() / ("pitwall-test-" + std::to_string(ProcessId()) + "-" + std::to_string(counter++));
    fs::create_directories(p);
    path_ = IncludeTrailingBackslash(PathString(p));
}

TempDir::~TempDir() { DeleteTree(path_); }

std::string TempDir::operator/(const std::string& relative) const
{
    std::string joined = path_ + relative;
    std::replace(joined.begin() + static_cast<std::ptrdiff_t>(path_.size()), joined.end(), '/', kPathSeparator);
    return joined;
}

namespace {

// A test binary run by hand, outside ctest, would leave the restore points of
// its exports in the user's data directory: they go to a directory of the
// run's own instead, removed at its end.
struct PrivateDataHome {
    std::string directory;
    PrivateDataHome()
    {
        if (std::getenv("XDG_DATA_HOME"))
            return;
        directory = PathString(fs::temp_directory_path() / ("pitwall-test-data-" + std::to_string(ProcessId())));
        SetEnvironment("XDG_DATA_HOME", directory.c_str());
    }
    ~PrivateDataHome()
    {
        if (!directory.empty())
            DeleteTree(directory);
    }
} privateDataHome;

} // namespace

namespace {

// Generated installations of this process, removed when it ends.
class DemoCache {
public:
    ~DemoCache() { dir_.reset(); }
    std::string get(int gameVersion, std::uint64_t seed)
    {
        std::lock_guard lock(mutex_);
        if (!dir_)
            dir_ = std::make_unique<TempDir>();
        auto key = std::make_pair(gameVersion, seed);
        auto it = made_.find(key);
        if (it != made_.end())
            return it->second;
        std::string path = dir_->path() + "v" + std::to_string(gameVersion) + "-s" + std::to_string(seed);
        demo::WriteDemoInstallation(path, {gameVersion, seed});
        made_[key] = path;
        return path;
    }

private:
    std::mutex mutex_;
    std::unique_ptr<TempDir> dir_;
    std::map<std::pair<int, std::uint64_t>, std::string> made_;
};

DemoCache& Cache()
{
    static DemoCache cache;
    return cache;
}

// A plain copy: a test's own installation needs no durable write, and the
// program's safe copy (each file synced before it takes its name) made every
// test that starts from a demo several times slower, most of all under Wine.
void CopyDemo(const std::string& from, const std::string& to)
{
    // File by file: MinGW's recursive std::filesystem::copy copies no files.
    const fs::path source = NativePath(from), target = NativePath(to);
    std::error_code ec;
    fs::create_directories(target, ec);
    for (fs::recursive_directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path copy = target / it->path().lexically_relative(source);
        if (it->is_directory())
            fs::create_directories(copy, ec);
        else
            fs::copy_file(it->path(), copy, fs::copy_options::overwrite_existing, ec);
    }
    if (ec)
        throw std::runtime_error("cannot copy the demo installation " + from + " to " + to + ": " + ec.message());
}

} // namespace

void MakeDemo(const std::string& directory, int gameVersion, std::uint64_t seed)
{
    // ctest makes the common ones before the suites run.
    if (const char* shared = std::getenv("PITWALL_DEMO_CACHE")) {
        std::string made =
            IncludeTrailingBackslash(shared) + "v" + std::to_string(gameVersion) + "-s" + std::to_string(seed);
        if (DirectoryExists(made)) {
            CopyDemo(made, directory);
            return;
        }
    }
    CopyDemo(Cache().get(gameVersion, seed), directory);
}

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

FileTree ReadFileTree(const std::string& directory)
{
    FileTree files;
    const fs::path root = NativePath(directory);
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file())
            continue;
        std::string relative = PathString(e.path().lexically_relative(root));
        std::replace(relative.begin(), relative.end(), '\\', '/');
        files[relative] = ReadBytes(PathString(e.path()));
    }
    return files;
}

void WriteRgbaPng(const std::string& path, const Image& picture, const std::vector<std::uint8_t>& alpha)
{
    if (alpha.size() != picture.pixels().size())
        throw std::invalid_argument("one alpha value per pixel");
    std::vector<std::uint8_t> rgba;
    for (std::size_t i = 0; i < alpha.size(); ++i) {
        const Pixel p = picture.pixels()[i];
        rgba.insert(rgba.end(),
                    {static_cast<std::uint8_t>(RedOf(p)), static_cast<std::uint8_t>(GreenOf(p)),
                     static_cast<std::uint8_t>(BlueOf(p)), alpha[i]});
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width());
    image.height = static_cast<png_uint_32>(picture.height());
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr))
        throw std::runtime_error("cannot write " + path + ": " + image.message);
}

#ifndef _WIN32
FileSizeLimit::FileSizeLimit(std::uint64_t bytes)
{
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error("cannot read the file size limit");
    previousSoft_ = limit.rlim_cur;
    limit.rlim_cur = std::min(static_cast<rlim_t>(bytes), limit.rlim_max);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error("cannot set the file size limit");
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(previousSoft_);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler_);
}
#endif

} // namespace pitwall::test
