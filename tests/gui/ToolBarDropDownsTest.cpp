// The tool bar's drop-down entries against their twins in the "Datei" menu,
// and "Hilfe" > "Inhalt", which opens the manual.

#include "GuiTestSupport.h"

#include "HelpWindow.h"
#include "Mnemonics.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QTest>

#include <filesystem>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::kEnglish;
using pitwall::gui::test::ToolButtonOf;

namespace {

// What a command did, as the user would see it: the file dialogs it asked,
// the windows it opened (each is closed with Cancel), the messages it
// showed and the files it wrote.
class Recorder : public QObject {
    Q_OBJECT
public:
    explicit Recorder(GuiProgram& p) : p_(p)
    {
        p.app->chooseFileToOpen = [this](const FileRequest& r) -> std::optional<std::string> {
            log_ << "open " + QString::fromStdString(r.key);
            return written_;
        };
        // Each save goes to a new file; loads take the last one written.
        p.app->chooseFileToSave = [this](const FileRequest& r) -> std::optional<std::string> {
            log_ << "save " + QString::fromStdString(r.defaultName);
            saving_ = p_.path("set" + std::to_string(++saves_) + ".GMS");
            return saving_;
        };
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            log_ << QString("window ") + dialog->metaObject()->className();
            dialog->reject();
        });
        timer_.start();
    }

    // Runs the action and returns what it did.
    QStringList run(QAction* action)
    {
        log_.clear();
        p_.messages.clear();
        // A mark in the working set tells whether the command read it anew.
        std::uint16_t& grip = p_.app->workingSet().tracks.info[0].grip;
        grip = kMark;
        action->trigger();
        if (grip != kMark)
            log_ << "working set read";
        for (const Message& m : p_.messages)
            log_ << QString("message %1").arg(m.number);
        if (!saving_.empty() && QFile::exists(QString::fromStdString(saving_))) {
            log_ << "carset written";
            written_ = saving_;
        }
        saving_.clear();
        return log_;
    }

private:
    static constexpr std::uint16_t kMark = 12345;
    GuiProgram& p_;
    int saves_ = 0;
    std::string saving_, written_;
    QStringList log_;
    QTimer timer_;
};

} // namespace

class ToolBarDropDownsTest : public QObject {
    Q_OBJECT
private slots:
    void dropDownEntriesDoWhatTheirMenuTwinsDo();
    void contentsOpensTheManual();
};

void ToolBarDropDownsTest::dropDownEntriesDoWhatTheirMenuTwinsDo()
{
    GuiProgram p(2, kEnglish);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    Recorder recorder(p);
    auto menu = [&](const char* name) {
        auto* a = p.window->findChild<QAction*>(name);
        if (!a)
            qFatal("no menu command %s", name);
        return a;
    };
    // Button (by its first command), its two drop-down entries, and the
    // menu commands they stand for; in an order in which each has
    // something to work on: everything imported, then saved, loaded and
    // exported.
    struct DropDown {
        const char* button;
        const char* twins[2];
    };
    const DropDown dropDowns[] = {{"MenuItem1", {"Importieren1", "Allesimportieren1"}},
                                  {"Setspeichern2", {"Setspeichern1", "KomplettesSetspeichern1"}},
                                  {"MenuItem5", {"Setladen1", "KomplettesSetladen2"}},
                                  {"MenuItem3", {"Exportieren1", "Allesexportieren1"}}};
    menu("Allesimportieren1")->trigger();
    for (const DropDown& d : dropDowns) {
        QToolButton* button = ToolButtonOf(p, d.button);
        QVERIFY2(button && button->menu(), d.button);
        const QList<QAction*> entries = button->menu()->actions();
        QCOMPARE(entries.size(), qsizetype(2));
        QStringList done[2];
        for (int i = 0; i < 2; ++i) {
            QAction* twin = menu(d.twins[i]);
            // The entry is named as its twin, in the language chosen.
            QCOMPARE(entries[i]->text(), WithoutMnemonic(twin->text()));
            done[i] = recorder.run(entries[i]);
            QVERIFY2(!done[i].isEmpty(), d.twins[i]);
            QCOMPARE(done[i], recorder.run(twin));
        }
        // The two entries are different commands, and the button itself
        // runs the first.
        QVERIFY2(done[0] != done[1], d.button);
        QAction click;
        connect(&click, &QAction::triggered, button, &QToolButton::click);
        QCOMPARE(recorder.run(&click), done[0]);
    }
    // What the commands did, in short: the single ones ask with the
    // selection dialog, the complete ones carry everything without it.
    QCOMPARE(recorder.run(menu("Setspeichern1")),
             (QStringList{"save Carset.GMS", "window pitwall::gui::SelectionDialogWindow"}));
    QCOMPARE(recorder.run(menu("KomplettesSetspeichern1")), (QStringList{"save Carset.GMS", "carset written"}));
    QCOMPARE(recorder.run(menu("KomplettesSetladen2")).first(), QString("open CarsetLoad"));
    QVERIFY(!recorder.run(menu("KomplettesSetladen2")).contains("window pitwall::gui::SelectionDialogWindow"));
}

void ToolBarDropDownsTest::contentsOpensTheManual()
{
    GuiProgram p(2, kEnglish);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    // The manual as the build lays it out beside the language files.
    const QString manual = QString::fromStdString(p.program.directories.program) + "manual";
    QVERIFY(std::filesystem::exists(PITWALL_RUNTIME_DIR "/manual/en/index.html"));
    std::filesystem::copy(PITWALL_RUNTIME_DIR "/manual", manual.toStdString(), std::filesystem::copy_options::recursive);
    auto* contents = p.window->findChild<QAction*>("Inhalt");
    QVERIFY(contents);
    QCOMPARE(WithoutMnemonic(contents->text()), QString("Contents"));

    // From the menu and from the tool bar's button: the manual's page of the
    // main window in the program's own help window, nothing said.
    contents->trigger();
    HelpWindow* help = p.window->helpWindow();
    QVERIFY(help && help->isVisible());
    QVERIFY2(help->shownFile().endsWith("/manual/en/main-window.html"), qPrintable(help->shownFile()));
    help->hide();
    ToolButtonOf(p, "Inhalt")->click();
    QVERIFY(help->isVisible());
    QVERIFY(help->browser()->toPlainText().contains("Pitwall"));
    QVERIFY(p.messages.empty());

    // Without the manual the user is told where it was looked for.
    help->hide();
    QVERIFY(QDir(manual).removeRecursively());
    contents->trigger();
    QVERIFY(!help->isVisible());
    QCOMPARE(p.numbers(), std::vector<int>{991});
    QVERIFY2(QString::fromStdString(p.messages[0].text).contains(manual), p.messages[0].text.c_str());
}

QTEST_MAIN(ToolBarDropDownsTest)
#include "ToolBarDropDownsTest.moc"
