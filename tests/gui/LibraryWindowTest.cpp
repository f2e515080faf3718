#include "GuiTestSupport.h"

#include "ExportConfirmDialog.h"
#include "LibraryWindow.h"
#include "OptionsDialog.h"
#include "app/IniFile.h"

#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTest>

#include <map>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Child;
using pitwall::gui::test::Click;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::OnModal;

class LibraryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void applyAndUndoPutTheGameBackByteForByte();
    void optionsNameTheLibraryFolder();
};

namespace {

using Files = std::map<QString, QByteArray>;

// Every file of the installation with its bytes.
Files GameFiles(const std::string& game)
{
    Files files;
    QDirIterator it(QString::fromStdString(game), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        files[path] = f.readAll();
    }
    return files;
}

// A carset of the teams, the first team's car livery and its team art,
// the first team renamed so that an apply changes the game.
std::string MakeCarset(GuiProgram& p, const std::string& name, const char* teamName)
{
    AppContext& app = *p.app;
    app.workingSet().teams.teams[0].name.assign(teamName);
    app.workingSet().transfer.selection = {};
    for (int item : {1, kCarSoftFirst, kTeamArtFirst})
        app.workingSet().transfer.selection[static_cast<std::size_t>(item)] = 1;
    const std::string file = p.path(name + ".GMS");
    TransferUi ui = app.transferUi();
    if (app.engine().saveCarset(ItemChoice::AsSelected, file, ui) != TransferOutcome::Done)
        return {};
    return file;
}

// Accepts the export confirmation once.
void ConfirmExport(int& confirmed)
{
    OnModal([&confirmed](QWidget* modal) {
        if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal)) {
            ++confirmed;
            confirm->accept();
            return false;
        }
        return true;
    });
}

} // namespace

void LibraryWindowTest::applyAndUndoPutTheGameBackByteForByte()
{
    GuiProgram p(2, pitwall::gui::test::kEnglish);
    qputenv("PITWALL_LIBRARY", QByteArray::fromStdString(p.path("library/")));
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(p.path("cache/")));
    p.program.restorePointRoot = p.path("restore/");
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    // What the carsets take: the teams, a software livery, a team's art.
    p.app->workingSet().transfer.selection = {};
    for (int item : {1, kCarSoftFirst, kTeamArtFirst})
        p.app->workingSet().transfer.selection[static_cast<std::size_t>(item)] = 1;
    TransferUi ui = p.app->transferUi();
    QCOMPARE(p.app->engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui), TransferOutcome::Done);
    const std::string red = MakeCarset(p, "Red", "Red Racing");
    const std::string blue = MakeCarset(p, "Blue", "Blue Racing");
    QVERIFY(!red.empty() && !blue.empty());
    const Files before = GameFiles(p.path("game/"));

    // Opened from the File menu; the carsets come in through Add.
    auto* open = p.window->findChild<QAction*>("Carsetbibliothek1");
    QCOMPARE(open->text().remove('&'), QString("Carset library..."));
    open->trigger();
    auto* library = p.window->findChild<LibraryWindow*>();
    QVERIFY(library && library->isVisible());
    library->chooseCarsetFiles = [&] { return std::vector<std::string>{red, blue, p.path("absent.GMS")}; };
    Click(library, "ButtonAdd");
    QCOMPARE(p.numbers(), std::vector<int>{1290}); // the absent file, named
    QCOMPARE(library->list()->topLevelItemCount(), 2);
    QCOMPARE(library->list()->topLevelItem(0)->text(1), QString("Blue"));
    QCOMPARE(library->list()->topLevelItem(1)->text(1), QString("Red"));
    const QString words = library->list()->topLevelItem(1)->text(4);
    QVERIFY2(words.startsWith("Teams and drivers, ") && words.contains("Car"), qPrintable(words));
    // Pictures of the livery and the team art, from the carset itself, and
    // kept in the cache.
    QCOMPARE(library->thumbnailsOf(1).size(), std::size_t(2));
    QCOMPARE(library->thumbnailsOf(1)[0].item, kCarSoftFirst);
    QCOMPARE(library->thumbnailsOf(1)[1].item, kTeamArtFirst);
    QVERIFY(!library->list()->topLevelItem(1)->icon(0).isNull());
    // The small pictures say what they show.
    QCOMPARE(library->list()->topLevelItem(1)->data(0, Qt::AccessibleDescriptionRole).toString(),
             QString("Pictures of the carset - liveries: 1, helmets: 0, team art: 1"));
    QVERIFY(QDir(QString::fromStdString(p.path("cache/pitwall/Thumbnails/") + library->carsets()[1].sha256)).exists());

    // Apply with Enter on the chosen carset: loaded, confirmed, written,
    // kept in the history; nothing added or removed.
    p.messages.clear();
    int confirmed = 0;
    library->list()->setCurrentItem(library->list()->topLevelItem(1));
    library->list()->setFocus();
    ConfirmExport(confirmed);
    QTest::keyClick(library->list(), Qt::Key_Return);
    QCOMPARE(library->list()->topLevelItemCount(), 2);
    QCOMPARE(confirmed, 1);
    QVERIFY(GameFiles(p.path("game/")) != before);
    QCOMPARE(library->history().size(), std::size_t(1));
    QCOMPARE(library->history()[0].carset, std::string("Red"));
    QCOMPARE(library->historyList()->topLevelItem(0)->text(3), QString("in effect"));

    // Undo: every byte the apply wrote is as before, and said so.
    p.messages.clear();
    Click(library, "ButtonUndo");
    QCOMPARE(p.numbers(), std::vector<int>{1294});
    const Files after = GameFiles(p.path("game/"));
    for (const auto& [path, bytes] : before)
        QVERIFY2(after.count(path) && after.at(path) == bytes, qPrintable(path));
    QVERIFY(library->history()[0].undone());
    QCOMPARE(library->historyList()->topLevelItem(0)->text(3), QString("undone"));
    // Nothing of it left to undo.
    p.messages.clear();
    Click(library, "ButtonUndo");
    QCOMPARE(p.numbers(), std::vector<int>{1291});

    // Both carsets chosen: the pair carries the same items and writes the
    // teams' bytes both.
    library->list()->selectAll();
    library->pages()->setCurrentIndex(2);
    QVERIFY(library->findChild<QLabel*>("LabelConflicts")->isHidden());
    QCOMPARE(library->conflictList()->topLevelItemCount(), 1);
    QTreeWidgetItem* pair = library->conflictList()->topLevelItem(0);
    QVERIFY(pair->childCount() >= 2);
    QVERIFY2(pair->child(0)->text(0).startsWith("Both carry: Teams and drivers"), qPrintable(pair->child(0)->text(0)));
    QVERIFY2(pair->child(1)->text(0).contains("team 1"), qPrintable(pair->child(1)->text(0)));

    // Red applied again, then Blue over the same team name: undoing Red
    // names Blue's apply and, with the user's yes, undoes both.
    library->pages()->setCurrentIndex(0);
    for (int row : {1, 0}) {
        library->list()->setCurrentItem(library->list()->topLevelItem(row));
        ConfirmExport(confirmed);
        Click(library, "ButtonApply");
    }
    QCOMPARE(confirmed, 3);
    p.messages.clear();
    library->list()->setCurrentItem(library->list()->topLevelItem(1));
    Click(library, "ButtonUndo");
    QCOMPARE(p.numbers(), (std::vector<int>{1293, 1294}));
    QVERIFY2(p.messages[0].text.find("Apply of carset Blue") != std::string::npos, p.messages[0].text.c_str());
    const Files undoneBoth = GameFiles(p.path("game/"));
    for (const auto& [path, bytes] : before)
        QVERIFY2(undoneBoth.count(path) && undoneBoth.at(path) == bytes, qPrintable(path));
    QCOMPARE(library->history().size(), std::size_t(3));
    for (const AppliedCarset& applied : library->history())
        QVERIFY(applied.undone());

    // Remove asks (the test answers yes) and takes the copy away.
    p.messages.clear();
    library->pages()->setCurrentIndex(0);
    library->list()->setCurrentItem(library->list()->topLevelItem(0));
    Click(library, "ButtonRemove");
    QCOMPARE(p.numbers(), std::vector<int>{1289});
    QCOMPARE(library->list()->topLevelItemCount(), 1);
    QVERIFY(!QFile::exists(QString::fromStdString(p.path("library/Blue.GMS"))));
}

void LibraryWindowTest::optionsNameTheLibraryFolder()
{
    qunsetenv("PITWALL_LIBRARY");
    GuiProgram p(2, pitwall::gui::test::kEnglish);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    OptionsDialog* options = p.app->optionsDialog;
    options->show();
    auto* folder = Child<QLineEdit>(options, "EditLibrary");
    QVERIFY(folder->text().isEmpty()); // the default, shown greyed
    const QString mine = QString::fromStdString(p.path("my carsets"));
    folder->setFocus();
    QTest::keyClicks(folder, mine);
    Click(options, "BitBtn1"); // OK
    QVERIFY(!options->isVisible());

    // The window opens on that folder.
    p.window->findChild<QAction*>("Carsetbibliothek1")->trigger();
    auto* library = p.window->findChild<LibraryWindow*>();
    QVERIFY(library);
    QVERIFY2(QString::fromStdString(library->directory()).startsWith(mine), library->directory().c_str());

    // Quitting keeps it, and Options shows it the next time.
    p.window->close();
    ShutdownCleanup(p.program, p.app->messages);
    IniFile ini;
    QVERIFY(ini.load(p.path("program/PITWALL.INI")));
    QCOMPARE(QString::fromStdString(ini.readString("General", "Library", "")), mine);
    options->show();
    QCOMPARE(folder->text(), mine);
}

QTEST_MAIN(LibraryWindowTest)
#include "LibraryWindowTest.moc"
