#include "transfer/CarsetLibrary.h"

#include "app/IniFile.h"
#include "app/Settings.h"
#include "base/FileHash.h"
#include "base/FileUtils.h"
#include "base/SafeWrite.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"
#include "transfer/RestorePoints.h"

#include <algorithm>
#include <cctype>

namespace pitwall {

namespace {

constexpr const char* kLibraryKey = "Library";

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool IsCarsetFileName(std::string_view name) { return EqualsIgnoreAsciiCase(ExtensionOf(name), ".GMS"); }

// What a carset may be called in the library: a plain file name without a
// folder, "." or "..", or characters Windows does not allow.
bool IsUsableName(std::string_view name)
{
    if (name.empty() || name == "." || name == ".." || name.size() > 200)
        return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    return name.back() != '.' && name.back() != ' ';
}

std::string WithoutExtension(std::string_view fileName)
{
    return IsCarsetFileName(fileName) ? std::string(fileName.substr(0, fileName.size() - 4)) : std::string(fileName);
}

} // namespace

std::string DefaultLibraryDirectory(const EnvironmentLookup& environment)
{
    std::string pitwall = UserPitwallDataDirectory(environment);
    return pitwall.empty() ? pitwall : pitwall + "Library" + kPathSeparator;
}

std::string ChosenLibraryDirectory(std::string_view settingsFile, const EnvironmentLookup& environment)
{
    if (auto v = environment("PITWALL_LIBRARY"); v && !v->empty())
        return IncludeTrailingBackslash(*v);
    if (!settingsFile.empty() && FileExists(settingsFile)) {
        IniFile ini;
        ini.load(settingsFile);
        std::string chosen = ini.readString(kGeneralSection, kLibraryKey, "");
        if (!chosen.empty())
            return IncludeTrailingBackslash(chosen);
    }
    return DefaultLibraryDirectory(environment);
}

void WriteLibrarySetting(std::string_view settingsFile, const std::string& directory)
{
    IniFile ini;
    ini.load(settingsFile);
    if (directory.empty())
        ini.eraseKey(kGeneralSection, kLibraryKey);
    else
        ini.writeString(kGeneralSection, kLibraryKey, directory);
    ini.save(settingsFile);
}

LibraryCarset ReadLibraryCarset(const std::string& path)
{
    LibraryCarset carset;
    carset.path = path;
    carset.name = WithoutExtension(FileNameOf(path));
    try {
        carset.size = FileSizeOf(path);
        carset.sha256 = Sha256OfFile(path);
        CarsetArchive archive(path, CarsetArchive::Mode::Read);
        auto header = archive.contains(kHeaderMember)
            ? ParseCarsetHeader(archive.read(kHeaderMember, kHeaderSize + kMemberSlack))
            : std::nullopt;
        if (!header) {
            carset.error = "it has no carset header (" + std::string(kHeaderMember) + ")";
            return carset;
        }
        carset.items = header->items;
        if (archive.contains(kInfoMember)) {
            std::vector<std::uint8_t> info = archive.read(kInfoMember, kMaxCarsetInfoSize);
            carset.info = CarsetInfoToFields(
                ParseCarsetInfo(std::string_view(reinterpret_cast<const char*>(info.data()), info.size())));
        }
    } catch (const std::exception& e) {
        carset.error = e.what();
    }
    return carset;
}

CarsetLibrary::CarsetLibrary(std::string directory) : directory_(IncludeTrailingBackslash(directory)) {}

std::vector<LibraryCarset> CarsetLibrary::list() const
{
    std::vector<LibraryCarset> carsets;
    if (!DirectoryExists(directory_))
        return carsets;
    for (const std::string& file : ListFiles(directory_, "*", false, false))
        if (IsCarsetFileName(file))
            carsets.push_back(ReadLibraryCarset(file));
    std::sort(carsets.begin(), carsets.end(), [](const LibraryCarset& a, const LibraryCarset& b) {
        std::string la = Lower(a.name), lb = Lower(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    return carsets;
}

std::optional<LibraryCarset> CarsetLibrary::find(std::string_view name) const
{
    const std::string wanted = WithoutExtension(name);
    if (!DirectoryExists(directory_))
        return std::nullopt;
    for (const std::string& file : ListFiles(directory_, "*", false, false))
        if (IsCarsetFileName(file) && EqualsIgnoreAsciiCase(WithoutExtension(FileNameOf(file)), wanted))
            return ReadLibraryCarset(file);
    return std::nullopt;
}

LibraryCarset CarsetLibrary::add(const std::string& carsetFile, std::string_view name, bool* alreadyHeld)
{
    if (alreadyHeld)
        *alreadyHeld = false;
    if (directory_.empty())
        throw LibraryError("there is no folder for the carset library");
    LibraryCarset incoming = ReadLibraryCarset(carsetFile);
    if (!incoming.readable())
        throw LibraryError(carsetFile + " is not a carset that can be read: " + incoming.error);
    const std::string wanted = name.empty() ? incoming.name : WithoutExtension(name);
    if (!IsUsableName(wanted))
        throw LibraryError("\"" + wanted + "\" cannot be the name of a carset file");
    if (auto existing = find(wanted)) {
        if (existing->sha256 == incoming.sha256) {
            if (alreadyHeld)
                *alreadyHeld = true;
            return *existing;
        }
        throw LibraryError("the library already holds another carset named " + existing->name
                           + "; add this one under another name");
    }
    if (!ForceDirectories(directory_))
        throw LibraryError("the library folder " + directory_ + " cannot be created");
    const std::string target = directory_ + wanted + ".GMS";
    try {
        CopyFileSafely(carsetFile, target);
    } catch (const std::exception& e) {
        throw LibraryError("cannot copy " + carsetFile + " into the library: " + e.what());
    }
    LibraryCarset added = ReadLibraryCarset(target);
    if (added.sha256 != incoming.sha256) {
        DeleteFileForced(target);
        throw LibraryError("the copy of " + carsetFile + " in the library differs from it; nothing was added");
    }
    return added;
}

void CarsetLibrary::remove(std::string_view name)
{
    auto carset = find(name);
    if (!carset)
        throw LibraryError("the library holds no carset named " + std::string(name));
    DeleteFileForced(carset->path);
    if (FileExists(carset->path))
        throw LibraryError("cannot remove " + carset->path);
}

} // namespace pitwall
