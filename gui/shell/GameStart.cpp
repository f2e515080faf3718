#include "GameStart.h"

#include "AppContext.h"
#include "base/FileUtils.h"

#include <QProcess>

namespace pitwall::gui {

void StartGame(AppContext& app)
{
    const std::string& game = app.program.settings.gameDirectory;
    std::string exe = GameFilePath(game, kGameExeName);
    if (!FileExists(exe)) {
        Messenger m = app.messenger();
        m.show(212, Args(exe));
        return;
    }
    // The game runs in its own directory. On Linux it needs Wine, or the
    // command the user entered in the options (run with the executable's
    // name as its last argument).
    QString command = QString::fromStdString(app.program.settings.startCommand).trimmed();
    QString program = FileNameOf(exe).c_str();
    QString launcher;
    QStringList arguments;
#ifdef _WIN32
    if (command.isEmpty())
        launcher = QString::fromStdString(exe);
#endif
    if (launcher.isEmpty()) {
        arguments = QProcess::splitCommand(command.isEmpty() ? QString("wine") : command);
        if (arguments.isEmpty()) {
            app.messenger().show(907, Args(command.toStdString(), "empty command"));
            return;
        }
        launcher = arguments.takeFirst();
        arguments << program;
    }
    QProcess process;
    process.setProgram(launcher);
    process.setArguments(arguments);
    process.setWorkingDirectory(QString::fromStdString(game));
    if (!process.startDetached()) {
        QString tried = arguments.isEmpty() ? launcher : launcher + ' ' + arguments.join(' ');
        app.messenger().show(907, Args(tried.toStdString(), process.errorString().toStdString()));
    }
}

} // namespace pitwall::gui
