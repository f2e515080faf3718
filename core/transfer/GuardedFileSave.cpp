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
    std::string relative;
    save.installation = InstallationOf(file, &relative);
    if (save.installation.empty()) {
        ReplaceFileSafely(file, bytes);
        return save;
    }
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
    if (InstallationOf(fileName).empty()) {
        SaveJamAs(jam, fileName);
        return {};
    }
    if (scrambled || unscrambled) {
        const TMemFile assembled = jam.Assemble(scrambled);
        const auto content = assembled.Content();
        return SaveFileGuarded(program, fileName, std::vector<std::uint8_t>(content.begin(), content.end()));
    }
    // A picture (the game shows BMPs: its loading pictures) is made in the
    // program's own folder first, then goes in as the JAM does.
    const std::string made = program.directories.staging + "workshop-page" + extension;
    struct Remove {
        const std::string& file;
        ~Remove()
        {
            std::error_code ec;
            std::filesystem::remove(NativePath(file), ec);
        }
    } remove{made};
    SaveJamAs(jam, made); // refuses other kinds
    return SaveFileGuarded(program, fileName, ReadWholeFile(made));
}

} // namespace pitwall
