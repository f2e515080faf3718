#pragma once
// The zip archive behind a carset. Members are stored under bare file names,
// deflated at level 9, in the order they are added; any zip tool reads the
// result. Extraction is deliberately narrow: only a bare member name asked
// for by the program is ever written, only into the given directory, and only
// when its real size matches what the archive declares and stays within what
// the caller expects.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct zip;

namespace pitwall {

class CarsetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ArchiveMember {
    std::string name;
    std::uint64_t size = 0; // uncompressed
};

// Whether a name is a bare file name: no directory part, no drive, not "."
// or "..", not empty.
bool IsBareMemberName(std::string_view name);

class CarsetArchive {
public:
    enum class Mode { Read, Create };

    // Read: an existing zip; Create: a new archive replacing any file of that
    // name when it is written. Throws CarsetError when the file is not a zip
    // archive or cannot be created.
    CarsetArchive(const std::string& path, Mode mode);
    ~CarsetArchive();
    CarsetArchive(const CarsetArchive&) = delete;
    CarsetArchive& operator=(const CarsetArchive&) = delete;

    const std::string& path() const { return path_; }

    // --- writing ---
    // Adds the file under its bare name; the file's bytes are taken at once,
    // so the caller may delete it afterwards. Returns false when the file
    // does not exist.
    bool addFile(const std::string& file);
    void addBytes(const std::string& memberName, const std::vector<std::uint8_t>& bytes);
    // Writes the archive to disk. Throws CarsetError on failure.
    void close();

    // --- reading ---
    std::vector<ArchiveMember> members() const;
    bool contains(std::string_view memberName) const;
    std::uint64_t totalUncompressedSize() const;
    // The member's bytes. Throws CarsetError when the member is absent, its
    // name is not bare, its declared size exceeds maxBytes, or its data does
    // not match its declared size.
    std::vector<std::uint8_t> read(std::string_view memberName, std::uint64_t maxBytes) const;
    // Extracts the member into the directory (replacing a file of that name).
    // A file of that name left there earlier is removed first, so afterwards
    // the file exists exactly when the archive held the member. Returns
    // whether it did; throws CarsetError as read() does for a bad member.
    bool extract(std::string_view memberName, const std::string& directory, std::uint64_t maxBytes) const;

private:
    std::int64_t find(std::string_view memberName) const;

    std::string path_;
    Mode mode_;
    zip* archive_ = nullptr;
};

} // namespace pitwall
