#include "transfer/PointChanges.h"

#include "base/FileUtils.h"
#include "base/SafeWrite.h"
#include "base/TextRecords.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

namespace pitwall {

namespace {

constexpr std::string_view kFirstLine = "pitwall-changes 1";
// A record of a run that changed every art entry is some hundred kilobytes.
constexpr std::uint64_t kMaxRecordSize = 64'000'000;

bool Number(std::string_view text, std::uint64_t& value)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

} // namespace

void WritePointChanges(const RestorePoint& point, const std::vector<FileChange>& changes)
{
    // A run that rewrote the art bank has a million ranges, some megabytes
    // of text: it goes to the file a piece at a time, written while the
    // run's new files are still held, so never whole in memory.
    constexpr std::size_t kPiece = 1 << 20;
    SafeFileWriter file(point.directory + kPointChangesName);
    std::string text;
    text.reserve(kPiece + 4096);
    auto flush = [&](std::size_t atLeast) {
        if (text.size() < atLeast)
            return;
        file.write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        text.clear();
    };
    auto number = [&text](char before, auto value) {
        char digits[24];
        digits[0] = before;
        const auto end = std::to_chars(digits + 1, digits + sizeof digits, value).ptr;
        text.append(digits, static_cast<std::size_t>(end - digits));
    };
    text += kFirstLine;
    text += '\n';
    for (const FileChange& c : changes) {
        text += "file\t";
        text += c.created ? '1' : '0';
        text += '\t';
        text += c.replaced ? '1' : '0';
        number('\t', c.oldSize);
        number('\t', c.newSize);
        text += '\t';
        text += c.relativePath;
        text += '\n';
        for (const ItemChange& item : c.items) {
            text += "item";
            number('\t', item.item);
            for (const ByteRange& r : item.ranges) {
                number('\t', r.offset);
                number('\t', r.length);
                flush(kPiece);
            }
            text += '\n';
        }
        for (const ByteRange& r : c.ranges) {
            text += "range";
            number('\t', r.offset);
            number('\t', r.length);
            text += '\n';
            flush(kPiece);
        }
    }
    flush(0);
    file.commit();
}

std::optional<std::vector<FileChange>> ReadPointChanges(const RestorePoint& point)
{
    std::vector<std::uint8_t> bytes;
    try {
        const std::string path = point.directory + kPointChangesName;
        if (!FileExists(path))
            return std::nullopt;
        bytes = ReadWholeFile(path, kMaxRecordSize);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<FileChange> changes;
    bool first = true;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt; // cut short
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (first) {
            if (line != kFirstLine)
                return std::nullopt;
            first = false;
            continue;
        }
        std::vector<std::string_view> f = SplitFields(line);
        std::uint64_t a = 0, b = 0;
        if (f[0] == "file" && f.size() == 6) {
            FileChange c;
            if ((f[1] != "0" && f[1] != "1") || (f[2] != "0" && f[2] != "1") || !Number(f[3], a) || !Number(f[4], b)
                || f[5].empty())
                return std::nullopt;
            c.created = f[1] == "1";
            c.replaced = f[2] == "1";
            c.oldSize = a;
            c.newSize = b;
            c.relativePath = std::string(f[5]);
            changes.push_back(std::move(c));
        } else if (f[0] == "item" && f.size() >= 2 && f.size() % 2 == 0 && !changes.empty()) {
            ItemChange item;
            if (!Number(f[1], a) || a > 100000)
                return std::nullopt;
            item.item = static_cast<int>(a);
            for (std::size_t i = 2; i < f.size(); i += 2) {
                if (!Number(f[i], a) || !Number(f[i + 1], b))
                    return std::nullopt;
                item.ranges.push_back({a, b});
            }
            changes.back().items.push_back(std::move(item));
        } else if (f[0] == "range" && f.size() == 3 && !changes.empty()) {
            // A file that shrank has differing bytes up to its old end.
            const std::uint64_t end = std::max(changes.back().oldSize, changes.back().newSize);
            if (!Number(f[1], a) || !Number(f[2], b) || b > end || a > end - b)
                return std::nullopt;
            changes.back().ranges.push_back({a, b});
        } else {
            return std::nullopt;
        }
    }
    if (first)
        return std::nullopt;
    return changes;
}

} // namespace pitwall
