#include "MainWindow.h"
#include "QtMessages.h"

#include "app/ProgramState.h"
#include "transfer/FileUtils.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pitwall");

    pitwall::ProgramState state;
    pitwall::gui::QtMessages messages;
    std::string exeDir = pitwall::IncludeTrailingBackslash(QCoreApplication::applicationDirPath().toStdString());
    if (pitwall::StartProgram(state, exeDir, messages) == pitwall::StartupOutcome::NoLanguageFiles)
        return 1;

    pitwall::gui::MainWindow window(state, messages);
    messages.setParent(&window);
    window.show();
    QTimer::singleShot(0, &window, [&] {
        if (!window.firstActivation()) {
            pitwall::ShutdownCleanup(state, messages);
            QApplication::exit(0);
        }
    });
    return app.exec();
}
