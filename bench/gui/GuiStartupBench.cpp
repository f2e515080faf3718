// Start-up of the desktop editor on a demo installation, from the program
// state to the first shown editor (language, settings, working directory,
// main window and fixed dialogs, first activation with the art index).

#include "AppContext.h"
#include "DemoInstallation.h"
#include "EditorWindow.h"
#include "MainWindow.h"
#include "app/ProgramState.h"
#include "base/FileUtils.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace pitwall;

static void BM_GuiStartToFirstEditor(benchmark::State& state)
{
    QTemporaryDir root;
    std::string programDir = root.path().toStdString() + "/program/";
    ForceDirectories(programDir);
    std::string runtime = IncludeTrailingBackslash(QCoreApplication::applicationDirPath().toStdString()) + "../bin/";
    for (const char* f : {"ENGLISH.LNG", "DEUTSCH.LNG", "GP3 Palette.pal"})
        CopyFileForced(runtime + f, programDir + f);
    std::string game = root.path().toStdString() + "/GP3/";
    demo::WriteDemoInstallation(game, {2, 1});
    for (auto _ : state) {
        ProgramState program;
        // A message box would stop the measurement: messages go to stderr.
        auto toStderr = [](const Message& m) { std::fprintf(stderr, "message %d: %s\n", m.number, m.text.c_str()); };
        gui::QtMessages messages;
        messages.divert(toStderr);
        StartProgram(program, programDir, messages);
        program.settings.gameDirectory = game;
        program.settings.firstTime = false; // the info window waits for the user
        gui::AppContext app(program);
        app.messages.divert(toStderr);
        gui::MainWindow window(app);
        window.show();
        window.firstActivation();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.currentEditor());
        app.shutdown();
    }
}
BENCHMARK(BM_GuiStartToFirstEditor)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
