#include "transfer/CarsetArchive.h"

#include "transfer/FileUtils.h"
#include "transfer/PrivateFile.h"

#include <cstdlib>
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
        throw CarsetError("Cannot open " + path + ": the file does not exist");
    archive_ = zip_open(path.c_str(), flags, &error);
    if (!archive_) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        std::string reason = zip_error_strerror(&ze);
        zip_error_fini(&ze);
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
    if (mode_ != Mode::Create || !archive_)
        throw CarsetError("The archive " + path_ + " is not open for writing");
    if (!IsBareMemberName(memberName))
        throw CarsetError("Refusing to store the member name " + memberName);
    // libzip reads its sources when the archive is written, so the bytes are
    // handed over in a buffer it owns.
    void* copy = std::malloc(bytes.empty() ? 1 : bytes.size());
    if (!copy)
        throw CarsetError("Out of memory adding " + memberName);
    if (!bytes.empty())
        std::memcpy(copy, bytes.data(), bytes.size());
    zip_source_t* source = zip_source_buffer(archive_, copy, bytes.size(), 1);
    if (!source) {
        std::free(copy);
        throw CarsetError("Cannot add " + memberName + ": " + zip_strerror(archive_));
    }
    zip_int64_t index = zip_file_add(archive_, memberName.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS);
    if (index < 0) {
        zip_source_free(source);
        throw CarsetError("Cannot add " + memberName + ": " + zip_strerror(archive_));
    }
    zip_set_file_compression(archive_, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9);
}

bool CarsetArchive::addFile(const std::string& file)
{
    if (!FileExists(file))
        return false;
    addBytes(FileNameOf(file), ReadWholeFile(file));
    return true;
}

void CarsetArchive::close()
{
    if (!archive_)
        return;
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
    for (const auto& m : members())
        total += m.size;
    return total;
}

std::int64_t CarsetArchive::find(std::string_view memberName) const
{
    if (!archive_ || !IsBareMemberName(memberName))
        return -1;
    // Windows-made carsets may spell a member in another case.
    return zip_name_locate(archive_, std::string(memberName).c_str(), ZIP_FL_NOCASE);
}

bool CarsetArchive::contains(std::string_view memberName) const { return find(memberName) >= 0; }

namespace {

// Zip compression methods by number, for messages about ones libzip here
// cannot unpack (carsets packed with 7-Zip or WinZip settings, for example).
std::string CompressionName(std::uint16_t method)
{
    // The numbers of the zip format's APPNOTE, not every libzip names them.
    switch (method) {
    case 9: return "Deflate64";
    case 12: return "bzip2";
    case 14: return "LZMA";
    case 33: return "LZMA2";
    case 93: return "Zstandard";
    case 95: return "XZ";
    case 98: return "PPMd";
    default: return "compression method " + std::to_string(method);
    }
}

} // namespace

std::vector<std::uint8_t> CarsetArchive::read(std::string_view memberName, std::uint64_t maxBytes) const
{
    std::string name(memberName);
    if (!IsBareMemberName(memberName))
        throw CarsetError("Refusing to read the member name " + name);
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
        throw CarsetError("Cannot unpack " + memberLabel(name) + ": it is encrypted",
                          CarsetError::Kind::Unsupported);
    if ((st.valid & ZIP_STAT_COMP_METHOD) && !zip_compression_method_supported(st.comp_method, 0))
        throw CarsetError("Cannot unpack " + memberLabel(name) + ": it is compressed with "
                              + CompressionName(st.comp_method) + ", which Pitwall cannot unpack",
                          CarsetError::Kind::Unsupported);
    zip_file_t* f = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (!f) {
        int code = zip_error_code_zip(zip_get_error(archive_));
        bool unsupported = code == ZIP_ER_COMPNOTSUPP || code == ZIP_ER_ENCRNOTSUPP || code == ZIP_ER_NOPASSWD;
        throw CarsetError("Cannot unpack " + memberLabel(name) + ": " + zip_strerror(archive_),
                          unsupported ? CarsetError::Kind::Unsupported : CarsetError::Kind::Unreadable);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.size));
    std::uint64_t done = 0;
    bool ok = true;
    while (done < st.size) {
        zip_int64_t n = zip_fread(f, bytes.data() + done, st.size - done);
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
    if (!ok || done != st.size)
        throw CarsetError(memberLabel(name) + " is damaged: its data does not match its declared size");
    return bytes;
}

std::optional<std::vector<std::uint8_t>> CarsetArchive::extract(std::string_view memberName,
                                                                const std::string& directory,
                                                                std::uint64_t maxBytes) const
{
    std::string target = IncludeTrailingBackslash(directory) + std::string(memberName);
    if (!IsBareMemberName(memberName))
        throw CarsetError("Refusing to extract the member name " + std::string(memberName));
    DeleteFileForced(target);
    if (!contains(memberName))
        return std::nullopt;
    auto bytes = read(memberName, maxBytes);
    // Written under another name and renamed, so a member that cannot be
    // written in full never appears under its own name. A stale .part of an
    // earlier run is the program's own and goes; a link there goes as a link.
    std::string temporary = target + ".part";
    try {
        WriteNewPrivateFile(temporary, bytes, Leftover::Replace);
    } catch (const PrivateFileError& e) {
        throw CarsetError("The working directory could not be written while unpacking " + memberLabel(memberName)
                              + ": " + e.code().message(),
                          CarsetError::Kind::Unwritable);
    }
    // rename() replaces a link of the target's name itself, never its target.
    std::error_code ec;
    std::filesystem::rename(NativePath(temporary), NativePath(target), ec);
    if (ec) {
        DeleteFileForced(temporary);
        throw CarsetError("The working directory could not be written while unpacking " + memberLabel(memberName)
                              + ": " + ec.message(),
                          CarsetError::Kind::Unwritable);
    }
    return bytes;
}

} // namespace pitwall
