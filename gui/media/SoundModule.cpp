#include "SoundModule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace pitwall::gui {

QString SoundModuleFileName() { return QStringLiteral(PITWALL_SOUND_MODULE); }

SoundModuleLoad LoadSoundModule(const QString& directory)
{
    SoundModuleLoad load;
    load.file = QDir(directory).absoluteFilePath(SoundModuleFileName());
    if (!QFileInfo(load.file).isFile())
        return load;
    // Never unloaded: players and their pending events use the module's code.
    QLibrary library(load.file);
    if (!library.load()) {
        load.reason = library.errorString();
        return load;
    }
    auto create = reinterpret_cast<CreateSoundPlayerFunction>(library.resolve(kCreateSoundPlayerSymbol));
    if (!create) {
        load.reason = library.errorString();
        return load;
    }
    load.player.reset(create());
    if (!load.player)
        load.reason = QStringLiteral("the module made no player");
    return load;
}

} // namespace pitwall::gui
