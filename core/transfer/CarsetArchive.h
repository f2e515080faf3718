#pragma once
// The zip archive behind a carset. Members are stored under bare file names,
// deflated at level 9, in the order they are added; any zip tool reads the
// result. Members are deflated on every core as they are added and libzip
// writes the zip around them on close(). Extraction is deliberately narrow:
// only a bare member name asked for by the program is ever written, only
// into the given directory, and only when its real size matches what the
// archive declares and stays within what the caller expects.

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct zip;

namespace pitwall {

class MemberDeflater;
struct DeflatedMember;

class CarsetError : public std::runtime_error {
public:
    enum class Kind {
        Unreadable,  // the file cannot be read, or a member is damaged or too large
        NotAZip,     // the file is there but holds no zip archive
        Unsupported, // a member is compressed or encrypted in a way this program cannot unpack
        Unwritable,  // a member could not be written into the working directory
    };
    explicit CarsetError(const std::string& what, Kind kind = Kind::Unreadable) : std::runtime_error(what), kind_(kind)
    {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
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
    // name when it is written. Throws CarsetError when the file cannot be
    // read (Unreadable), is not a zip archive (NotAZip) or cannot be created.
    CarsetArchive(const std::string& path, Mode mode);
    ~CarsetArchive();
    CarsetArchive(const CarsetArchive&) = delete;
    CarsetArchive& operator=(const CarsetArchive&) = delete;

    const std::string& path() const { return path_; }
    // How messages name a member: "TeamsDrivers.DAT in X.GMS".
    std::string memberLabel(std::string_view memberName) const;

    // --- writing ---
    // Adds the file under its bare name; the file's bytes are taken at once,
    // so the caller may delete it afterwards. Returns false when the file
    // does not exist.
    bool addFile(const std::string& file);
    // A member added again under the same name replaces the earlier one in
    // its place.
    void addBytes(const std::string& memberName, const std::vector<std::uint8_t>& bytes);
    void addBytes(const std::string& memberName, std::vector<std::uint8_t>&& bytes);
    // Called about every 50 ms while adding or closing waits for members
    // to be deflated.
    void setKeepAlive(std::function<void()> keepAlive) { keepAlive_ = std::move(keepAlive); }
    // Writes the archive to disk. Throws CarsetError on failure.
    void close();
    // Drops what was added: nothing is written, an existing file stays.
    void discard();

    // --- reading ---
    std::vector<ArchiveMember> members() const;
    bool contains(std::string_view memberName) const;
    std::uint64_t totalUncompressedSize() const;
    // The uncompressed size the archive's directory gives for the member,
    // nothing when it lacks it. read() never returns more than this, so a
    // budget checked on declared sizes holds whatever the data says.
    std::optional<std::uint64_t> declaredSize(std::string_view memberName) const;
    // The member's bytes. Throws CarsetError when the member is absent, its
    // name is not bare, its declared size exceeds maxBytes, or its data does
    // not match its declared size (Unreadable), or when it is compressed or
    // encrypted in a way libzip cannot undo here (Unsupported).
    std::vector<std::uint8_t> read(std::string_view memberName, std::uint64_t maxBytes) const;
    // Extracts the member into the directory, one of the program's private
    // ones, and returns its bytes; nullopt when the archive lacks it. A file
    // or link of that name left there earlier is removed first (a link as a
    // link), so afterwards the file exists exactly when the archive held the
    // member, and no link in the directory is ever followed. Throws
    // CarsetError as read() does for a bad member, and with Kind::Unwritable
    // naming the member (not the directory) when it cannot be written.
    std::optional<std::vector<std::uint8_t>> extract(std::string_view memberName, const std::string& directory,
                                                     std::uint64_t maxBytes) const;
    // extract() of each member in turn, the unpacking and writing done on
    // every core. `take`, when given, gets each extracted member's index in
    // memberNames and its bytes, on the thread that unpacked it. What fails
    // is thrown as extract() throws it, for the first failing member in the
    // given order; members after it may have been extracted all the same.
    using TakeExtracted = std::function<void(std::size_t, std::vector<std::uint8_t>)>;
    void extractEach(const std::vector<std::string>& memberNames, const std::string& directory,
                     std::uint64_t maxBytes, const TakeExtracted& take = {}) const;

private:
    // A member's bytes as the archive stores them (deflated or not), read
    // and checked against the directory by libzip; unpacked by Unpack on
    // any thread.
    struct StoredMember {
        std::vector<std::uint8_t> bytes;
        bool deflated = false;
        std::uint64_t size = 0;
        std::uint32_t crc = 0;
        std::string damaged; // the message for data that does not match
    };
    // The member's index; the caller holds readLock_.
    std::int64_t find(std::string_view memberName) const;
    StoredMember readStored(std::string_view memberName, std::uint64_t maxBytes) const;
    static std::vector<std::uint8_t> Unpack(StoredMember member);
    // The target's path, any file or link of that name removed first.
    std::string clearExtractTarget(std::string_view memberName, const std::string& directory) const;
    void writeExtracted(std::string_view memberName, const std::string& target,
                        const std::vector<std::uint8_t>& bytes) const;

    struct PendingMember {
        std::string name;
        std::shared_ptr<DeflatedMember> data;
        std::time_t mtime = 0;
    };

    std::string path_;
    Mode mode_;
    zip* archive_ = nullptr;
    // libzip reads one archive from one thread at a time; areas loading
    // beside each other share it.
    mutable std::mutex readLock_;
    std::vector<PendingMember> pending_;
    std::unique_ptr<MemberDeflater> deflater_;
    std::function<void()> keepAlive_;
};

} // namespace pitwall
