// Program entry: splash, main window and the fixed dialogs, then the event
// loop. The first activation validates the installation and opens the teams
// editor. A .GMS file named on the command line is loaded completely once
// the program is ready. With --exit-after-first-paint the program ends once
// the first editor has painted (for timing the start-up).

#include "AppContext.h"
#include "EditorWindow.h"
#include "FirstPaintExit.h"
#include "MainWindow.h"
#include "PitwallApplication.h"
#include "SplashWindow.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/HeapSettings.h"

#include <QTimer>

int main(int argc, char** argv)
{
    pitwall::UseLargeBlockHeap();
    pitwall::gui::PitwallApplication application(argc, argv);

    auto* splash = new pitwall::gui::SplashWindow;
    splash->show();
    QApplication::processEvents();

    pitwall::ProgramState program;
    pitwall::gui::QtMessages startupMessages;
    std::string exeDir = pitwall::IncludeTrailingBackslash(QCoreApplication::applicationDirPath().toStdString());
    if (pitwall::StartProgram(program, exeDir, startupMessages) != pitwall::StartupOutcome::Ready)
        return 1;
    splash->describe(program.texts);

    pitwall::gui::AppContext app(program);
    pitwall::gui::MainWindow window(app);
    app.messages.setParent(&window);
    window.setSplash(splash);
    window.show();

    QString carset;
    bool exitAfterFirstPaint = false;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        if (argument.endsWith(".gms", Qt::CaseInsensitive))
            carset = argument;
        if (argument == "--exit-after-first-paint")
            exitAfterFirstPaint = true;
    }
    pitwall::gui::FirstPaintExit firstPaintExit;

    QTimer::singleShot(0, &window, [&] {
        if (!window.firstActivation()) {
            app.shutdown();
            QApplication::exit(0);
            return;
        }
        if (!carset.isEmpty())
            window.loadCompleteCarset(carset.toStdString());
        if (exitAfterFirstPaint)
            firstPaintExit.watch(window.currentEditor() ? static_cast<QWidget*>(window.currentEditor()) : &window);
    });
    int result = application.exec();
    app.shutdown();
    return result;
}
