#include "transfer/LibraryHistory.h"

#include "base/FileUtils.h"
#include "base/OwnerLock.h"
#include "base/TextRecords.h"
#include "transfer/RestorePoints.h"

#include <charconv>
#include <chrono>
#include <memory>
#include <set>
#include <string_view>
#include <thread>

namespace pitwall {

namespace {

constexpr std::string_view kFirstLine = "pitwall-library-history 1";
constexpr std::uint64_t kMaxHistorySize = 16'000'000;

bool ParseItems(std::string_view text, std::vector<int>& items)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t comma = text.find(',', start);
        std::string_view word(text.data() + start, (comma == std::string::npos ? text.size() : comma) - start);
        int item = 0;
        auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), item);
        if (ec != std::errc() || end != word.data() + word.size() || item < 0 || item > 10000)
            return false;
        items.push_back(item);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return true;
}

bool Clean(const std::string& text) { return text.find_first_of("\t\r\n") == std::string::npos; }

// One change of a history at a time: two runs ending together (an apply
// and an undo) each read the history and write it back, and the later
// write would drop the other's line. A change takes moments; a run that
// cannot have the history within a few seconds says so.
std::unique_ptr<OwnerLock> HoldHistory(const std::string& file)
{
    if (!ForceDirectories(DirectoryOf(file)))
        throw std::runtime_error("cannot create the folder of " + file);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        if (auto held = OwnerLock::tryTake(file + ".lock"))
            return held;
        if (std::chrono::steady_clock::now() >= until)
            throw std::runtime_error("the carset history " + file + " is being changed by another run");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace

AppliedCarset MakeAppliedCarset(const LibraryCarset& carset, const std::string& restorePointId,
                                const std::vector<FileChange>& changes)
{
    AppliedCarset applied;
    applied.time = IsoUtcText(UtcNow());
    applied.carset = carset.name;
    applied.sha256 = carset.sha256;
    applied.restorePointId = restorePointId;
    std::set<int> items;
    for (const FileChange& change : changes)
        for (const ItemChange& item : change.items)
            if (item.item > 0)
                items.insert(item.item);
    applied.items.assign(items.begin(), items.end());
    return applied;
}

LibraryHistory::LibraryHistory(const std::string& libraryDirectory, const std::string& gameDirectory)
    : file_(IncludeTrailingBackslash(libraryDirectory) + "History" + kPathSeparator
            + InstallationKey(IncludeTrailingBackslash(gameDirectory)) + ".txt")
{}

std::vector<AppliedCarset> LibraryHistory::entries() const
{
    try {
        return read();
    } catch (const std::exception&) {
        return {};
    }
}

std::vector<AppliedCarset> LibraryHistory::read() const
{
    std::vector<AppliedCarset> list;
    if (!FileExists(file_))
        return list;
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadWholeFile(file_, kMaxHistorySize);
    } catch (const std::exception& e) {
        throw std::runtime_error("the library history " + file_ + " cannot be read: " + e.what());
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    bool first = true;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') // saved by a Windows editor
            line.remove_suffix(1);
        if (first) {
            if (line != kFirstLine)
                throw std::runtime_error("the library history " + file_
                                         + " is not one this program wrote; it is left as it is");
            first = false;
            continue;
        }
        const std::vector<std::string_view> f = SplitFields(line);
        if (f.size() != 6 || f[0].empty() || f[1].empty() || f[4].empty())
            continue;
        AppliedCarset entry;
        entry.time = f[0];
        entry.carset = f[1];
        entry.sha256 = f[2];
        if (!ParseItems(f[3], entry.items))
            continue;
        entry.restorePointId = f[4];
        entry.undonePointId = f[5];
        list.push_back(std::move(entry));
    }
    return list;
}

const AppliedCarset* LibraryHistory::lastInEffect(const std::vector<AppliedCarset>& entries,
                                                  const std::string& carset) const
{
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (!it->undone() && EqualsIgnoreAsciiCase(it->carset, carset))
            return &*it;
    return nullptr;
}

void LibraryHistory::record(const AppliedCarset& applied)
{
    const auto held = HoldHistory(file_);
    std::vector<AppliedCarset> list = read();
    list.push_back(applied);
    write(list);
}

void LibraryHistory::markUndone(const std::string& restorePointId, const std::string& undoPointId)
{
    const auto held = HoldHistory(file_);
    std::vector<AppliedCarset> list = read();
    for (AppliedCarset& entry : list)
        if (entry.restorePointId == restorePointId && !entry.undone())
            entry.undonePointId = undoPointId;
    write(list);
}

void LibraryHistory::write(const std::vector<AppliedCarset>& entries) const
{
    std::string text(kFirstLine);
    text += '\n';
    for (const AppliedCarset& e : entries) {
        if (!Clean(e.time) || !Clean(e.carset) || !Clean(e.sha256) || !Clean(e.restorePointId)
            || !Clean(e.undonePointId))
            throw std::runtime_error("a carset history entry cannot hold tabs or line breaks");
        std::string items;
        for (int item : e.items)
            items += (items.empty() ? "" : ",") + std::to_string(item);
        text += e.time + '\t' + e.carset + '\t' + e.sha256 + '\t' + items + '\t' + e.restorePointId + '\t'
            + e.undonePointId + '\n';
    }
    if (!ForceDirectories(DirectoryOf(file_)))
        throw std::runtime_error("cannot create the folder of " + file_);
    WriteWholeFile(file_, std::vector<std::uint8_t>(text.begin(), text.end()));
}

} // namespace pitwall
