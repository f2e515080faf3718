#pragma once
// A program set up as at start-up, in a temporary directory, for the GUI
// tests: language files of the build, a demo installation, messages recorded
// instead of shown.

#include "AppContext.h"
#include "DemoInstallation.h"
#include "TestSupport.h"
#include "MainWindow.h"
#include "app/ProgramState.h"
#include "transfer/FileUtils.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

namespace pitwall::gui::test {

struct GuiProgram {
    QTemporaryDir root;
    ProgramState program;
    std::unique_ptr<AppContext> app;
    std::unique_ptr<MainWindow> window;
    std::vector<Message> messages;

    std::string path(const std::string& relative) const { return root.path().toStdString() + "/" + relative; }

    // gameVersion 0: no installation at all.
    explicit GuiProgram(int gameVersion = 2, const std::string& ini = "")
    {
        std::string programDir = path("program/");
        ForceDirectories(programDir);
        for (const char* lng : {"ENGLISH.LNG", "DEUTSCH.LNG", "GP3 Palette.pal"})
            CopyFileForced(std::string(PITWALL_RUNTIME_DIR "/") + lng, programDir + lng);
        if (gameVersion > 0)
            pitwall::test::MakeDemo(path("game"), gameVersion, 1);
        if (!ini.empty()) {
            QFile f(QString::fromStdString(programDir + "PITWALL.INI"));
            f.open(QIODevice::WriteOnly);
            f.write(ini.c_str());
        }
        RecordingSink sink(messages);
        StartProgram(program, programDir, sink);
        app = std::make_unique<AppContext>(program);
        app->messages.divert([this](const Message& m) { messages.push_back(m); });
        app->quit = [] {};
        window = std::make_unique<MainWindow>(*app);
    }

    std::vector<int> numbers() const
    {
        std::vector<int> n;
        for (const auto& m : messages)
            n.push_back(m.number);
        return n;
    }

    struct RecordingSink : MessageSink {
        explicit RecordingSink(std::vector<Message>& m) : list(m) {}
        void showMessage(const Message& m) override { list.push_back(m); }
        bool askYesNo(const Message& m) override
        {
            list.push_back(m);
            return true;
        }
        std::vector<Message>& list;
    };
};

// Runs `action` on each modal dialog as it appears (until it returns false).
inline void OnModal(std::function<bool(QWidget*)> action)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (!action(modal)) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}

// The program after its first activation on the demo installation, with the
// editor of that window class open; nullptr when the start failed.
template <typename Editor>
Editor* OpenEditor(GuiProgram& p, const char* className)
{
    p.program.settings.gameDirectory = p.path("game/");
    if (!p.window->FirstActivation())
        return nullptr;
    p.window->OpenEditor(className);
    return qobject_cast<Editor*>(p.window->currentEditor());
}

// A control by its name; a missing one ends the test run with its name.
template <typename T>
T* Child(QObject* window, const QString& name)
{
    T* child = window->findChild<T*>(name);
    if (!child)
        qFatal("no control %s", qPrintable(name));
    return child;
}

inline bool Enabled(QObject* window, const QString& name) { return Child<QWidget>(window, name)->isEnabled(); }
inline void Click(QObject* window, const QString& name) { Child<QPushButton>(window, name)->click(); }

} // namespace pitwall::gui::test
