#pragma once
// A program set up as at start-up, in a temporary directory, for the GUI
// tests: language files of the build, a demo installation, messages recorded
// instead of shown.

#include "AppContext.h"
#include "DemoInstallation.h"
#include "MainWindow.h"
#include "TestSupport.h"
#include "app/ProgramState.h"
#include "base/FileUtils.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
        // Tests about the question before losing edits ask it themselves.
        app->askAboutEdits = [] { return AppContext::EditsAnswer::Discard; };
        app->askAboutOpenJam = [](const std::string&) { return AppContext::DocumentAnswer::Discard; };
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
// A watch for a dialog that may not come lasts until the program ends.
inline void OnModal(std::function<bool(QWidget*)> action)
{
    auto* timer = new QTimer(QCoreApplication::instance());
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
Editor* openEditor(GuiProgram& p, const char* className)
{
    p.program.settings.gameDirectory = p.path("game/");
    if (!p.window->firstActivation())
        return nullptr;
    p.window->openEditor(className);
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

// The settings of a program that starts in English, past its first start.
inline const std::string kEnglish = "[General]\r\nLanguage=ENGLISH.LNG\r\nFirstTime=0\r\n";

// The main window's tool button for a menu action; nullptr when it has none.
inline QToolButton* ToolButtonOf(GuiProgram& p, const char* action)
{
    for (QToolButton* b : p.window->findChild<QToolBar*>("ToolBar1")->findChildren<QToolButton*>())
        if (b->property("menuAction").toString() == action)
            return b;
    return nullptr;
}

// The bytes of a file as written, for checks on fixed offsets; empty when
// the file cannot be read.
using Bytes = std::vector<std::uint8_t>;

inline Bytes FileBytes(const QString& file)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    const QByteArray data = f.readAll();
    return {data.begin(), data.end()};
}

inline Bytes FileBytes(const std::string& file) { return FileBytes(QString::fromStdString(file)); }

// Little-endian values at a byte offset.
inline unsigned U16(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }

inline std::uint32_t U32(const Bytes& b, std::size_t at)
{
    return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

inline void PutU16(Bytes& b, std::size_t at, unsigned v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutU32(Bytes& b, std::size_t at, std::uint32_t v)
{
    PutU16(b, at, v & 0xFFFF);
    PutU16(b, at + 2, v >> 16);
}

} // namespace pitwall::gui::test
