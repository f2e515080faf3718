#include "transfer/CarsetArchive.h"

#include "base/FileUtils.h"
#include "base/ParallelFor.h"
#include "base/PrivateFile.h"
#include "transfer/MemberDeflater.h"

#include <algorithm>
#include <cstring>
#include <zip.h>

namespace pitwall {

bool IsBareMemberName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (char c : name)
        if (c == '/' || c == '\\' || c == ':' || c == '\0')
            return false;
    return true;
}

CarsetArchive::CarsetArchive(const std::string& path, Mode mode) : path_(path), mode_(mode)
{
    int error = 0;
    int flags = mode == Mode::Read ? ZIP_RDONLY : (ZIP_CREATE | ZIP_TRUNCATE);
    if (mode == Mode::Read && !FileExists(path))
        throw CarsetError("Cannot open " + path + ": " + WhyNotAFile(path));
    if (mode == Mode::Create && DirectoryExists(path))
        throw CarsetError("Cannot write " + path + ": " + WhyNotAFile(path));
    archive_ = zip_open(path.c_str(), flags, &error);
    if (!archive_) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        std::string reason = zip_error_strerror(&ze);
        zip_error_fini(&ze);
        // libzip says "No such file" of an existing archive whose directory
        // points at members or data that are not there.
        if (error == ZIP_ER_NOENT && mode == Mode::Read)
            reason = "the archive is damaged (its directory points past its data)";
        // Only a file without any zip structure is "not a zip"; a file that
        // cannot be read, or a damaged archive, says what went wrong.
        throw CarsetError("Cannot open " + path + " as a zip archive: " + reason,
                          error == ZIP_ER_NOZIP ? CarsetError::Kind::NotAZip : CarsetError::Kind::Unreadable);
    }
}

std::string CarsetArchive::memberLabel(std::string_view memberName) const
{
    return std::string(memberName) + " in " + FileNameOf(path_);
}

CarsetArchive::~CarsetArchive()
{
    if (archive_)
        zip_discard(archive_);
}

void CarsetArchive::addBytes(const std::string& memberName, const std::vector<std::uint8_t>& bytes)
{
    addBytes(memberName, std::vector<std::uint8_t>(bytes));
}

void CarsetArchive::addBytes(const std::string& memberName, std::vector<std::uint8_t>&& bytes)
{
    if (mode_ != Mode::Create || !archive_)
        throw CarsetError("The archive " + path_ + " is not open for writing");
    if (!IsBareMemberName(memberName))
        throw CarsetError("Refusing to store the member name " + memberName);
    if (!deflater_)
        deflater_ = std::make_unique<MemberDeflater>(0, 32u << 20, keepAlive_);
    auto data = std::make_shared<DeflatedMember>();
    PendingMember member{memberName, data, std::time(nullptr)};
    // Names are compared as libzip compares them when it replaces a member.
    auto same =
        std::find_if(pending_.begin(), pending_.end(), [&](const PendingMember& m) { return m.name == memberName; });
    if (same != pending_.end())
        *same = std::move(member);
    else
        pending_.push_back(std::move(member));
    deflater_->add(std::move(bytes), std::move(data));
}

bool CarsetArchive::addFile(const std::string& file)
{
    if (!FileExists(file))
        return false;
    addBytes(FileNameOf(file), ReadWholeFile(file));
    return true;
}

namespace {

// A libzip source handing over a member deflated beforehand: it declares
// the method, both sizes and the CRC, so libzip copies the data as it is,
// and the level-9 flag bits libzip's own deflate would set.
struct DeflatedSource {
    std::shared_ptr<DeflatedMember> member;
    std::time_t mtime = 0;
    std::size_t at = 0;
};

zip_int64_t ReadDeflatedSource(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command)
{
    auto* source = static_cast<DeflatedSource*>(state);
    const std::vector<std::uint8_t>& bytes = source->member->compressed;
    switch (command) {
    case ZIP_SOURCE_OPEN:
        source->at = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(length), bytes.size() - source->at);
        if (n > 0)
            std::memcpy(data, bytes.data() + source->at, n);
        source->at += n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        if (length < sizeof(zip_stat_t))
            return -1;
        auto* st = static_cast<zip_stat_t*>(data);
        zip_stat_init(st);
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC | ZIP_STAT_MTIME;
        st->size = source->member->size;
        st->comp_size = bytes.size();
        st->comp_method = ZIP_CM_DEFLATE;
        st->crc = source->member->crc;
        st->mtime = source->mtime;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_GET_FILE_ATTRIBUTES: {
        if (length < sizeof(zip_file_attributes_t))
            return -1;
        auto* attributes = static_cast<zip_file_attributes_t*>(data);
        attributes->valid |= ZIP_FILE_ATTRIBUTES_GENERAL_PURPOSE_BIT_FLAGS | ZIP_FILE_ATTRIBUTES_VERSION_NEEDED;
        attributes->general_purpose_bit_flags = 2; // deflated with maximum compression
        attributes->general_purpose_bit_mask = 6;
        attributes->version_needed = 20;
        return 0;
    }
    case ZIP_SOURCE_ERROR:
        return 0;
    case ZIP_SOURCE_FREE:
        delete source;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SUPPORTS,
                                              ZIP_SOURCE_GET_FILE_ATTRIBUTES, -1);
    default:
        return -1;
    }
}

} // namespace

void CarsetArchive::discard()
{
    if (!archive_)
        return;
    deflater_.reset();
    pending_.clear();
    zip_discard(archive_);
    archive_ = nullptr;
}

void CarsetArchive::close()
{
    if (!archive_)
        return;
    auto fail = [&](const std::string& reason) {
        zip_discard(archive_);
        archive_ = nullptr;
        pending_.clear();
        deflater_.reset();
        throw CarsetError("Cannot write " + path_ + ": " + reason);
    };
    if (deflater_) {
        try {
            deflater_->finish();
        } catch (const std::exception& e) {
            fail(e.what());
        }
        deflater_.reset();
    }
    for (const auto& member : pending_) {
        auto* state = new DeflatedSource{member.data, member.mtime, 0};
        zip_source_t* source = zip_source_function(archive_, ReadDeflatedSource, state);
        if (!source) {
            delete state;
            fail("cannot add " + member.name + ": " + zip_strerror(archive_));
        }
        if (zip_file_add(archive_, member.name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS) < 0) {
            std::string reason = zip_strerror(archive_);
            zip_source_free(source);
            fail("cannot add " + member.name + ": " + reason);
        }
    }
    pending_.clear();
    if (zip_close(archive_) != 0) {
        std::string reason = zip_strerror(archive_);
        zip_discard(archive_);
        archive_ = nullptr;
        throw CarsetError("Cannot write " + path_ + ": " + reason);
    }
    archive_ = nullptr;
}

std::vector<ArchiveMember> CarsetArchive::members() const
{
    std::vector<ArchiveMember> list;
    std::lock_guard lock(readLock_);
    if (!archive_)
        return list;
    zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive_, static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            continue;
        list.push_back({st.name, (st.valid & ZIP_STAT_SIZE) ? st.size : 0});
    }
    return list;
}

std::uint64_t CarsetArchive::totalUncompressedSize() const
{
    std::uint64_t total = 0;
    // Saturating: sizes declared near 2^64 must not wrap into a small sum.
    for (const auto& m : members())
        total = m.size > UINT64_MAX - total ? UINT64_MAX : total + m.size;
    return total;
}

std::int64_t CarsetArchive::find(std::string_view memberName) const
{
    if (!archive_ || !IsBareMemberName(memberName))
        return -1;
    // Windows-made carsets may spell a member in another case. Member names
    // are the game's bytes (Windows-1252), as stored: without ENC_RAW libzip
    // takes a name without the UTF-8 flag for code page 437 and compares its
    // UTF-8 form, so a name with an accented letter ("GP3JAMS+ALB\xC9RT.JAM")
    // was never found.
    return zip_name_locate(archive_, std::string(memberName).c_str(), ZIP_FL_NOCASE | ZIP_FL_ENC_RAW);
}

bool CarsetArchive::contains(std::string_view memberName) const
{
    std::lock_guard lock(readLock_);
    return find(memberName) >= 0;
}

std::optional<std::uint64_t> CarsetArchive::declaredSize(std::string_view memberName) const
{
    std::lock_guard lock(readLock_);
    std::int64_t index = find(memberName);
    if (index < 0)
        return std::nullopt;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        throw CarsetError("Cannot read " + memberLabel(memberName));
    return st.size;
}

namespace {

// Zip compression methods by number, for messages about ones libzip here
// cannot unpack (carsets packed with 7-Zip or WinZip settings, for example).
std::string CompressionName(std::uint16_t method)
{
    // The numbers of the zip format's APPNOTE, not every libzip names them.
    switch (method) {
    case 9:
        return "Deflate64";
    case 12:
        return "bzip2";
    case 14:
        return "LZMA";
    case 33:
        return "LZMA2";
    case 93:
        return "Zstandard";
    case 95:
        return "XZ";
    case 98:
        return "PPMd";
    default:
        return "compression method " + std::to_string(method);
    }
}

} // namespace

std::vector<std::uint8_t> CarsetArchive::read(std::string_view memberName, std::uint64_t maxBytes) const
{
    return Unpack(readStored(memberName, maxBytes));
}

CarsetArchive::StoredMember CarsetArchive::readStored(std::string_view memberName, std::uint64_t maxBytes) const
{
    std::string name(memberName);
    if (!IsBareMemberName(memberName))
        throw CarsetError("Refusing to read the member name " + name);
    std::lock_guard lock(readLock_);
    std::int64_t index = find(memberName);
    if (index < 0)
        throw CarsetError("The carset has no member " + memberLabel(name));
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        throw CarsetError("Cannot read " + memberLabel(name));
    if (st.size > maxBytes)
        throw CarsetError(memberLabel(name) + " is too large (" + std::to_string(st.size) + " bytes, at most "
                          + std::to_string(maxBytes) + " expected)");
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
        throw CarsetError("Cannot unpack " + memberLabel(name) + ": it is encrypted", CarsetError::Kind::Unsupported);
    if ((st.valid & ZIP_STAT_COMP_METHOD) && !zip_compression_method_supported(st.comp_method, 0))
        throw CarsetError("Cannot unpack " + memberLabel(name) + ": it is compressed with "
                              + CompressionName(st.comp_method) + ", which Pitwall cannot unpack",
                          CarsetError::Kind::Unsupported);
    StoredMember member;
    member.damaged = memberLabel(name) + " is damaged: its data does not match its declared size";
    // A deflated member is inflated here by libdeflate (twice as fast as
    // zlib's inflate, its CRC several times faster): libzip hands over the
    // stored bytes as they are, and they must inflate to exactly the
    // declared size with the declared CRC. Other members, and deflate
    // streams longer than any plain writer makes, are unpacked by libzip.
    const bool deflated = (st.valid & ZIP_STAT_COMP_METHOD) && st.comp_method == ZIP_CM_DEFLATE
                          && (st.valid & ZIP_STAT_COMP_SIZE) && (st.valid & ZIP_STAT_CRC)
                          && st.comp_size <= InflatableLength(st.size);
    const std::uint64_t stored = deflated ? st.comp_size : st.size;
    zip_file_t* f = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), deflated ? ZIP_FL_COMPRESSED : 0);
    if (!f) {
        int code = zip_error_code_zip(zip_get_error(archive_));
        bool unsupported = code == ZIP_ER_COMPNOTSUPP || code == ZIP_ER_ENCRNOTSUPP || code == ZIP_ER_NOPASSWD;
        throw CarsetError("Cannot unpack " + memberLabel(name) + ": " + zip_strerror(archive_),
                          unsupported ? CarsetError::Kind::Unsupported : CarsetError::Kind::Unreadable);
    }
    member.deflated = deflated;
    member.size = st.size;
    member.crc = st.crc;
    std::vector<std::uint8_t>& bytes = member.bytes;
    bytes.resize(static_cast<std::size_t>(stored));
    std::uint64_t done = 0;
    bool ok = true;
    while (done < stored) {
        zip_int64_t n = zip_fread(f, bytes.data() + done, stored - done);
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<std::uint64_t>(n);
    }
    // The data must end where the directory says it does.
    std::uint8_t extra;
    if (ok && zip_fread(f, &extra, 1) != 0)
        ok = false;
    zip_fclose(f);
    if (!ok || done != stored)
        throw CarsetError(member.damaged);
    return member;
}

std::vector<std::uint8_t> CarsetArchive::Unpack(StoredMember member)
{
    if (!member.deflated)
        return std::move(member.bytes);
    std::optional<std::vector<std::uint8_t>> inflated = InflateMember(member.bytes, member.size, member.crc);
    if (!inflated)
        throw CarsetError(member.damaged);
    return std::move(*inflated);
}

std::optional<std::vector<std::uint8_t>>
CarsetArchive::extract(std::string_view memberName, const std::string& directory, std::uint64_t maxBytes) const
{
    const std::string target = clearExtractTarget(memberName, directory);
    if (!contains(memberName))
        return std::nullopt;
    auto bytes = read(memberName, maxBytes);
    writeExtracted(memberName, target, bytes);
    return bytes;
}

void CarsetArchive::extractEach(const std::vector<std::string>& memberNames, const std::string& directory,
                                std::uint64_t maxBytes, const TakeExtracted& take) const
{
    // libzip reads the stored bytes on this thread; they are inflated,
    // checked and written on every core. Whatever failed is thrown in the
    // members' order once all have stopped.
    struct Pending {
        std::string target;
        std::optional<StoredMember> stored;
        std::exception_ptr failure;
    };
    std::vector<Pending> pending(memberNames.size());
    for (std::size_t i = 0; i < memberNames.size(); ++i) {
        try {
            pending[i].target = clearExtractTarget(memberNames[i], directory);
            if (contains(memberNames[i]))
                pending[i].stored = readStored(memberNames[i], maxBytes);
        } catch (...) {
            pending[i].failure = std::current_exception();
            pending.resize(i + 1);
            break;
        }
    }
    ParallelFor(pending.size(), [&](std::size_t i) {
        Pending& p = pending[i];
        if (!p.stored)
            return;
        try {
            std::vector<std::uint8_t> bytes = Unpack(std::move(*p.stored));
            writeExtracted(memberNames[i], p.target, bytes);
            if (take)
                take(i, std::move(bytes));
        } catch (...) {
            p.failure = std::current_exception();
        }
        p.stored.reset();
    });
    for (const Pending& p : pending)
        if (p.failure)
            std::rethrow_exception(p.failure);
}

std::string CarsetArchive::clearExtractTarget(std::string_view memberName, const std::string& directory) const
{
    if (!IsBareMemberName(memberName))
        throw CarsetError("Refusing to extract the member name " + std::string(memberName));
    std::string target = IncludeTrailingBackslash(directory) + std::string(memberName);
    DeleteFileForced(target);
    return target;
}

void CarsetArchive::writeExtracted(std::string_view memberName, const std::string& target,
                                   const std::vector<std::uint8_t>& bytes) const
{
    // Written under another name and renamed, so a member that cannot be
    // written in full never appears under its own name. A stale .part of an
    // earlier run is the program's own and goes; a link there goes as a link.
    std::string temporary = target + ".part";
    try {
        WriteNewPrivateFile(temporary, bytes, Leftover::Replace);
    } catch (const PrivateFileError& e) {
        throw CarsetError("The working directory could not be written while unpacking " + memberLabel(memberName) + ": "
                              + e.code().message(),
                          CarsetError::Kind::Unwritable);
    }
    // rename() replaces a link of the target's name itself, never its target.
    std::error_code ec;
    std::filesystem::rename(NativePath(temporary), NativePath(target), ec);
    if (ec) {
        DeleteFileForced(temporary);
        throw CarsetError("The working directory could not be written while unpacking " + memberLabel(memberName) + ": "
                              + ec.message(),
                          CarsetError::Kind::Unwritable);
    }
}

} // namespace pitwall
