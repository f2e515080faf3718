#include "transfer/GuardedFileSave.h"

#include "base/FileUtils.h"
#include "base/SafeWrite.h"
#include "formats/GameInstallation.h"
#include "formats/JamPictureFiles.h"
#include "transfer/ProgramRestorePoints.h"

#include <filesystem>

namespace pitwall {

GuardedSave SaveFileGuarded(const ProgramState& program, const std::string& file, std::vector<std::uint8_t> bytes)
{
    GuardedSave save;
    save.installation = InstallationOf(file);
    if (save.installation.empty()) {
        ReplaceFileSafely(file, bytes);
        return save;
    }
    const std::string absolute = PathString(std::filesystem::absolute(NativePath(file)).lexically_normal());
    const std::string relative = absolute.substr(save.installation.size());
    GameChangeSet changes(save.installation);
    changes.replaceFile(relative, std::move(bytes));
    RestorePoints points = ProgramRestorePoints(program, save.installation);
    save.result = changes.commit(points, PointOperation{point_kind::kFile, {relative}});
    return save;
}

GuardedSave SaveJamGuarded(const ProgramState& program, const TJAMFile& jam, const std::string& fileName)
{
    const std::string extension = ExtensionOf(fileName);
    const bool scrambled = EqualsIgnoreAsciiCase(extension, ".JAM");
    const bool unscrambled = EqualsIgnoreAsciiCase(extension, ".JAD") && jam.is8Bit();
    if ((scrambled || unscrambled) && !InstallationOf(fileName).empty()) {
        const TMemFile assembled = jam.Assemble(scrambled);
        const auto content = assembled.Content();
        return SaveFileGuarded(program, fileName, std::vector<std::uint8_t>(content.begin(), content.end()));
    }
    SaveJamAs(jam, fileName);
    return {};
}

} // namespace pitwall
