// Program entry: splash, main window and the fixed dialogs, then the event
// loop. The first activation validates the installation and opens the teams
// editor. A .GMS file named on the command line is loaded completely once
// the program is ready.

#include "AppContext.h"
#include "MainWindow.h"
#include "PitwallApplication.h"
#include "SplashWindow.h"

#include "app/ProgramState.h"
#include "transfer/FileUtils.h"

#include <QTimer>

int main(int argc, char** argv)
{
    pitwall::gui::PitwallApplication application(argc, argv);

    auto* splash = new pitwall::gui::SplashWindow;
    splash->show();
    QApplication::processEvents();

    pitwall::ProgramState program;
    pitwall::gui::QtMessages startupMessages;
    std::string exeDir = pitwall::IncludeTrailingBackslash(QCoreApplication::applicationDirPath().toStdString());
    if (pitwall::StartProgram(program, exeDir, startupMessages) != pitwall::StartupOutcome::Ready)
        return 1;

    pitwall::gui::AppContext app(program);
    pitwall::gui::MainWindow window(app);
    app.messages.setParent(&window);
    window.setSplash(splash);
    window.show();

    QString carset;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        if (argument.endsWith(".gms", Qt::CaseInsensitive))
            carset = argument;

    QTimer::singleShot(0, &window, [&] {
        if (!window.FirstActivation()) {
            app.shutdown();
            QApplication::exit(0);
            return;
        }
        if (!carset.isEmpty())
            window.LoadCompleteCarset(carset.toStdString());
    });
    int result = application.exec();
    app.shutdown();
    return result;
}
