// The desktop side of safe exports: the confirmation between an export's preparation and
// writing, the restore window, the summary of what a run did not do, and a
// selection dialog that offers only what the program carries.

#include "GuiTestSupport.h"

#include "ExpansionDialog.h"
#include "ExportConfirmDialog.h"
#include "RestoreWindow.h"
#include "SelectionDialogWindow.h"
#include "TracksEditor.h"
#include "app/Language.h"
#include "base/UITexts.h"
#include "base/Windows1252.h"
#include "formats/Bmp.h"
#include "graphics/ArtPrecheck.h"
#include "menu/MenuArt.h"
#include "tracks/TrackProgress.h"
#include "tracks/TracksArea.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"
#include "transfer/RestorePoints.h"

#include <algorithm>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTest>
#include <algorithm>

#include <algorithm>

#include <filesystem>
#include <map>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::OnModal;

namespace {

using Snapshot = std::map<std::string, std::vector<std::uint8_t>>;

// Every file of the installation with its bytes.
Snapshot TakeSnapshot(const std::string& directory)
{
    Snapshot files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(directory))
        if (e.is_regular_file())
            files[e.path().lexically_relative(directory).string()] = pitwall::test::ReadBytes(e.path().string());
    return files;
}

std::size_t Differing(const Snapshot& a, const Snapshot& b)
{
    std::size_t n = 0;
    for (const auto& [path, bytes] : b)
        n += !a.count(path) || a.at(path) != bytes;
    return n;
}

// Teams and drivers imported from the demo game, then one team changed, so
// that an export has something to write.
void ImportAndChangeTheTeams(GuiProgram& p)
{
    p.program.settings.gameDirectory = p.path("game/");
    p.program.restorePointRoot = p.path("restore-points/");
    QVERIFY(p.window->firstActivation());
    p.app->workingSet().transfer.selection = {};
    p.app->workingSet().transfer.selection[1] = 1;
    TransferUi ui = p.app->transferUi();
    QCOMPARE(p.app->engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui), TransferOutcome::Done);
    TeamRecord& team = p.app->workingSet().teams.teams[0];
    team.tqp = static_cast<std::uint16_t>(team.tqp == 30000 ? 20000 : 30000);
    p.window->restoreCurrentEditor();
}

QString Text(const GuiProgram& p, int number) { return FromGameText(p.program.texts.text(number)); }

// The data items the dialog shows and lets the user tick.
std::vector<int> EnabledDataItems(SelectionDialogWindow& d)
{
    std::vector<int> items;
    for (int n = 1; n <= kLastItem; ++n)
        if (IsDataItem(n) && IsItemVisible(n) && d.box(n)->isEnabled())
            items.push_back(n);
    return items;
}

// Ticks the items in the selection dialog, each on its own page, brings
// `lastPage` to the front and presses OK.
void TickOnTheirPagesAndPressOk(SelectionDialogWindow& d, const std::vector<std::pair<int, int>>& pageAndItem,
                                int lastPage)
{
    auto* pages = d.findChild<QTabWidget*>("PageControl1");
    for (const auto& [page, item] : pageAndItem) {
        pages->setCurrentIndex(page);
        if (!d.box(item)->isChecked())
            d.box(item)->click();
    }
    pages->setCurrentIndex(lastPage);
    d.findChild<QPushButton*>("BitBtn1")->click();
}

} // namespace

class SafeExportTest : public QObject {
    Q_OBJECT
private slots:
    void exportIsConfirmedAndCancelWritesNothing();
    void restoreWindowPutsBackWhatAnExportChanged();
    void restoreQuestionKeepsTheLettersOfTheTime();
    void summaryNamesMissingMembersAndUncarriedItems();
    void selectionDialogOffersOnlyCarriedItems();
    void confirmationCountsOneFileInTheSingular();
    void boxesTickedOnEveryPageAreTransferred();
    void exportsEndSayingWhatWasNotWritten();
    void cancelledExpansionLeavesOutOrCancelsAsChosen();
    void exportChecksTheArtRoomAndAsksOnlyOnce();
};

void SafeExportTest::confirmationCountsOneFileInTheSingular()
{
    UITexts texts;
    std::vector<Message> ignored;
    GuiProgram::RecordingSink sink(ignored);
    LoadLanguage(PITWALL_RUNTIME_DIR "/", "DEUTSCH.LNG", texts, sink);
    FileChange exe;
    exe.relativePath = "GP3.EXE";
    exe.items = {{1, {{100, 1}, {200, 4}}}};
    ExportConfirmDialog one(texts, {exe});
    QCOMPARE(one.countLabel()->text(), QString::fromUtf8("Eine Spieldatei wird geändert."));
    ExportConfirmDialog two(texts, {exe, exe});
    QCOMPARE(two.countLabel()->text(), QString::fromUtf8("2 Spieldateien werden geändert."));
}

void SafeExportTest::exportIsConfirmedAndCancelWritesNothing()
{
    GuiProgram p(2);
    ImportAndChangeTheTeams(p);
    const Snapshot before = TakeSnapshot(p.path("game"));

    // "Exportieren": the selection dialog once, then the confirmation, cancelled.
    int selectionShown = 0;
    QString count;
    int detailLines = 0;
    bool detailsOpened = false;
    auto answer = [&](bool ok) {
        OnModal([&, ok](QWidget* modal) {
            if (auto* d = qobject_cast<SelectionDialogWindow*>(modal)) {
                ++selectionShown;
                if (!d->box(1)->isChecked())
                    d->box(1)->click();
                d->accept();
                return true;
            }
            auto* confirm = qobject_cast<ExportConfirmDialog*>(modal);
            if (!confirm)
                return true;
            count = confirm->countLabel()->text();
            detailLines = confirm->details()->topLevelItemCount();
            confirm->findChild<QPushButton*>("BitBtn3")->click();
            detailsOpened = confirm->details()->isVisible();
            ok ? confirm->accept() : confirm->reject();
            return false;
        });
    };
    answer(false);
    p.window->findChild<QAction*>("Exportieren1")->trigger();
    QCOMPARE(selectionShown, 1);
    QVERIFY(detailsOpened);
    QVERIFY(detailLines > 0);
    QCOMPARE(count,
             detailLines == 1 ? FromGameText(p.program.texts.text(446))
                              : FromGameText(p.program.texts.format(78, Args(detailLines))));
    QVERIFY(TakeSnapshot(p.path("game")) == before);
    QVERIFY(!std::filesystem::exists(p.path("restore-points")) || std::filesystem::is_empty(p.path("restore-points")));

    // Confirmed: exactly the files counted change, and the dialog was not shown again.
    selectionShown = 0;
    answer(true);
    p.window->findChild<QAction*>("Exportieren1")->trigger();
    QCOMPARE(selectionShown, 1);
    QCOMPARE(Differing(before, TakeSnapshot(p.path("game"))), static_cast<std::size_t>(detailLines));
    QVERIFY(p.numbers().empty());

    // A problem the preparation meets is told once; the writing only ends the export.
    p.messages.clear();
    p.app->workingSet().teams.teams[0].tqp = 12345;
    p.window->restoreCurrentEditor();
    std::filesystem::resize_file(NativePath(p.path("game/GP3.EXE")), 1000);
    auto finished = std::make_shared<bool>(false);
    OnModal([finished](QWidget* modal) {
        if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal); confirm && !*finished)
            confirm->accept();
        return false;
    });
    p.window->findChild<QAction*>("Allesexportieren1")->trigger();
    *finished = true;
    QCOMPARE(p.numbers(), (std::vector<int>{-1, 957}));
    QCOMPARE(p.messages[1].text, p.program.texts.format(957, Args(1, p.messages[0].text)));
}

void SafeExportTest::restoreWindowPutsBackWhatAnExportChanged()
{
    GuiProgram p(2);
    ImportAndChangeTheTeams(p);
    p.window->findChild<QAction*>("Wiederherstellen1")->trigger();
    QCOMPARE(p.numbers(), (std::vector<int>{77})); // no restore points yet
    p.messages.clear();

    const Snapshot before = TakeSnapshot(p.path("game"));
    auto exportAll = [&] {
        OnModal([](QWidget* modal) {
            if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal))
                confirm->accept();
            return !qobject_cast<ExportConfirmDialog*>(modal);
        });
        p.window->findChild<QAction*>("Allesexportieren1")->trigger();
    };
    exportAll();
    const Snapshot exported = TakeSnapshot(p.path("game"));
    const std::size_t changed = Differing(before, exported);
    QVERIFY(changed > 0);
    // A second export, of another change to the team.
    p.app->workingSet().teams.teams[0].tqp = static_cast<std::uint16_t>(p.app->workingSet().teams.teams[0].tqp + 1);
    p.window->restoreCurrentEditor();
    exportAll();
    const Snapshot exportedTwice = TakeSnapshot(p.path("game"));
    QVERIFY(Differing(exported, exportedTwice) > 0);
    p.messages.clear();

    // While the question is open the installation is held: another run
    // cannot write in between.
    int heldWhileAsked = 0;
    p.app->messages.divert([&](const Message& m) {
        p.messages.push_back(m);
        WriterInfo other = p.program.writer;
        other.runStarted = 1;
        other.wait = std::chrono::milliseconds(50);
        RestorePoints second(p.program.restorePointRoot, p.path("game/"));
        second.setWriter(other);
        try {
            second.lock("apply");
        } catch (const RestorePointError&) {
            ++heldWhileAsked;
        }
    });

    // The user chooses the older point: the question names the later
    // export, the files are as before both, and the state replaced is kept.
    int rows = -1;
    QStringList row;
    QString title, firstColumn, laterOperation;
    OnModal([&](QWidget* modal) {
        auto* w = qobject_cast<RestoreWindow*>(modal);
        if (!w)
            return true;
        rows = w->list()->topLevelItemCount();
        for (int c = 0; c < 5; ++c)
            row << w->list()->topLevelItem(1)->text(c);
        laterOperation = w->list()->topLevelItem(0)->text(1);
        title = w->windowTitle();
        firstColumn = w->list()->headerItem()->text(0);
        w->list()->setCurrentItem(w->list()->topLevelItem(1));
        w->restoreChosenPoint();
        w->reject();
        return false;
    });
    p.window->findChild<QAction*>("Wiederherstellen1")->trigger();
    QCOMPARE(rows, 2);
    QCOMPARE(title, Text(p, 68));
    QCOMPARE(firstColumn, Text(p, 69));
    QVERIFY2(row[1].startsWith(Text(p, 1180)), qPrintable(row[1]));
    QCOMPARE(row[2], QString()); // no carset
    QCOMPARE(row[3], QString::number(changed));
    QCOMPARE(p.numbers(), (std::vector<int>{1191, 75}));
    QCOMPARE(heldWhileAsked, 1); // asked, not after the restore's message
    QVERIFY(p.messages[0].text.find(ToGameText(laterOperation)) != std::string::npos);
    QVERIFY(TakeSnapshot(p.path("game")) == before);
    // The working set keeps what was exported.
    QVERIFY(p.app->workingSet().transfer.isLoaded(1));

    // The point made before the restore brings the second export back.
    p.messages.clear();
    std::string newestKind;
    OnModal([&](QWidget* modal) {
        auto* w = qobject_cast<RestoreWindow*>(modal);
        if (!w)
            return true;
        rows = w->list()->topLevelItemCount();
        newestKind = w->points()[0].what.kind;
        w->restoreChosenPoint();
        w->reject();
        return false;
    });
    p.window->findChild<QAction*>("Wiederherstellen1")->trigger();
    QCOMPARE(rows, 3);
    QCOMPARE(newestKind, std::string(point_kind::kRestore));
    QCOMPARE(p.numbers(), (std::vector<int>{74, 75}));
    QVERIFY(TakeSnapshot(p.path("game")) == exportedTwice);
}

void SafeExportTest::restoreQuestionKeepsTheLettersOfTheTime()
{
    // English follows the system's locale, whose times may hold letters
    // Windows-1252 lacks (Korean "오후", Arabic digits).
    const QLocale system;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    struct Back {
        QLocale locale;
        ~Back() { QLocale::setDefault(locale); }
    } back{system};
    GuiProgram p(2, pitwall::gui::test::kEnglish);
    ImportAndChangeTheTeams(p);
    OnModal([](QWidget* modal) {
        if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal))
            confirm->accept();
        return !qobject_cast<ExportConfirmDialog*>(modal);
    });
    p.window->findChild<QAction*>("Allesexportieren1")->trigger();
    p.messages.clear();
    QString time;
    OnModal([&](QWidget* modal) {
        auto* w = qobject_cast<RestoreWindow*>(modal);
        if (!w)
            return true;
        time = w->list()->topLevelItem(0)->text(0);
        w->restoreChosenPoint();
        w->reject();
        return false;
    });
    p.window->findChild<QAction*>("Wiederherstellen1")->trigger();
    QVERIFY2(time.contains(QChar(0x0661)) || time.contains(QChar(0x0662)) || time.contains(QChar(0x0660)),
             qPrintable(time));
    QVERIFY(!p.messages.empty());
    QCOMPARE(p.messages[0].number, 74);
    QVERIFY2(MessageTextToUtf8(p.messages[0].text).find(time.toStdString()) != std::string::npos,
             p.messages[0].text.c_str());
}

void SafeExportTest::summaryNamesMissingMembersAndUncarriedItems()
{
    GuiProgram p(2);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    // A carset whose header lists teams and drivers and the points table,
    // without their members.
    std::string carset = p.path("broken.GMS");
    {
        CarsetHeader header;
        header.format = kCarsetFormat;
        header.items[1] = 1;
        header.items[2] = 1;
        CarsetArchive archive(carset, CarsetArchive::Mode::Create);
        archive.addBytes(kHeaderMember, CarsetHeaderImage(header));
        archive.close();
    }
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return carset; };
    p.window->findChild<QAction*>("KomplettesSetladen2")->trigger();
    QCOMPARE(p.numbers(), (std::vector<int>{349, 349, 80}));
    const std::string& summary = p.messages[2].text;
    QVERIFY2(summary.find("TeamsDrivers.DAT in broken.GMS") != std::string::npos, summary.c_str());
    QVERIFY2(summary.find("Points.DAT in broken.GMS") != std::string::npos, summary.c_str());
    QVERIFY2(summary.starts_with("2 "), summary.c_str());

    // "Alles importieren" asks for what the program can carry: no summary.
    p.messages.clear();
    p.window->findChild<QAction*>("Allesimportieren1")->trigger();
    QVERIFY(p.numbers().empty());
}

void SafeExportTest::selectionDialogOffersOnlyCarriedItems()
{
    GuiProgram p(2);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    std::vector<std::vector<int>> offered;
    auto look = [&](bool ok) {
        OnModal([&, ok](QWidget* modal) {
            auto* d = qobject_cast<SelectionDialogWindow*>(modal);
            if (!d)
                return true;
            offered.push_back(EnabledDataItems(*d));
            if (ok && !d->box(1)->isChecked())
                d->box(1)->click();
            ok ? d->accept() : d->reject();
            return false;
        });
    };
    look(true);
    p.window->findChild<QAction*>("Importieren1")->trigger();
    look(false);
    p.window->findChild<QAction*>("Exportieren1")->trigger();

    std::string carset = p.path("two.GMS");
    {
        CarsetHeader header;
        header.format = kCarsetFormat;
        header.items[1] = header.items[2] = header.items[5] = 1;
        CarsetArchive archive(carset, CarsetArchive::Mode::Create);
        archive.addBytes(kHeaderMember, CarsetHeaderImage(header));
        archive.close();
    }
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return carset; };
    look(false);
    p.window->findChild<QAction*>("Setladen1")->trigger();

    // Import offers every item some area carries; export and carset load
    // only those of them the working set or the carset holds.
    std::vector<int> carried;
    const ItemBytes carriedBytes = p.app->engine().carriedItems();
    for (int n = 1; n <= kLastItem; ++n)
        if (carriedBytes[static_cast<std::size_t>(n)] && IsDataItem(n) && IsItemVisible(n))
            carried.push_back(n);
    QCOMPARE(offered.size(), std::size_t(3));
    for (int n : offered[0])
        QVERIFY(std::find(carried.begin(), carried.end(), n) != carried.end());
    QVERIFY(std::find(offered[0].begin(), offered[0].end(), 1) != offered[0].end());
    QCOMPARE(offered[1], std::vector<int>{1});
    QCOMPARE(offered[2], (std::vector<int>{1, 2, 5}));
}

void SafeExportTest::boxesTickedOnEveryPageAreTransferred()
{
    // "Exportieren": teams and drivers ticked on the data page, OK pressed
    // with the tracks page in front.
    GuiProgram p(2);
    ImportAndChangeTheTeams(p);
    const Snapshot before = TakeSnapshot(p.path("game"));
    OnModal([&](QWidget* modal) {
        if (auto* d = qobject_cast<SelectionDialogWindow*>(modal)) {
            TickOnTheirPagesAndPressOk(*d, {{0, 1}}, 2);
            return true;
        }
        if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal)) {
            confirm->accept();
            return false;
        }
        return true;
    });
    p.window->findChild<QAction*>("Exportieren1")->trigger();
    QVERIFY(Differing(before, TakeSnapshot(p.path("game"))) > 0);

    // "Set speichern": one item on each page, OK pressed on the graphics page.
    p.window->findChild<QAction*>("Allesimportieren1")->trigger();
    const std::string carset = p.path("three.GMS");
    p.app->chooseFileToSave = [&](const FileRequest&) -> std::optional<std::string> { return carset; };
    const int carOfTeam1 = kCarSoftFirst, infoOfTrack1 = kTrackInfoFirst;
    OnModal([&](QWidget* modal) {
        auto* d = qobject_cast<SelectionDialogWindow*>(modal);
        if (!d)
            return true;
        for (int n = 1; n <= kLastItem; ++n) // nothing else
            if (d->box(n)->isChecked() && d->model().box(n).tag == 0)
                d->box(n)->click();
        TickOnTheirPagesAndPressOk(*d, {{0, 1}, {1, carOfTeam1}, {2, infoOfTrack1}}, 1);
        return false;
    });
    p.window->findChild<QAction*>("Setspeichern1")->trigger();
    CarsetArchive archive(carset, CarsetArchive::Mode::Read);
    ForceDirectories(p.path("extracted/"));
    auto bytes = archive.extract(kHeaderMember, p.path("extracted/"), kHeaderSize + kMemberSlack);
    QVERIFY(bytes);
    auto header = ParseCarsetHeader(*bytes);
    QVERIFY(header);
    std::vector<int> saved;
    for (int n = 1; n <= kLastItem; ++n)
        if (header->items[static_cast<std::size_t>(n)] && IsDataItem(n))
            saved.push_back(n);
    QCOMPARE(saved, (std::vector<int>{1, carOfTeam1, infoOfTrack1}));
}

namespace {

int Last(const GuiProgram& p) { return p.messages.empty() ? 0 : p.messages.back().number; }

bool NoRestorePoint(const GuiProgram& p)
{
    const std::string root = p.path("restore-points");
    return !std::filesystem::exists(root) || std::filesystem::is_empty(root);
}

} // namespace

void SafeExportTest::exportsEndSayingWhatWasNotWritten()
{
    // "Alles exportieren" of the 3D graphics editor and of the LCD page with
    // nothing loaded: nothing to write, and said so.
    {
        GuiProgram p(2);
        p.program.restorePointRoot = p.path("restore-points/");
        auto* graphics = gui::test::openEditor<QWidget>(p, "TForm15");
        QVERIFY(graphics);
        gui::test::Click(graphics, "CarExportAll");
        QCOMPARE(p.numbers(), std::vector<int>{958});
        p.messages.clear();
        p.window->openEditor("TForm16");
        gui::test::Click(p.window->currentEditor(), "Button17");
        QCOMPARE(Last(p), 958); // after the editor's word on the LCD font the test has not got
        QVERIFY(NoRestorePoint(p));
    }
    // A menu background loaded and not put on the export list.
    {
        GuiProgram p(2);
        p.program.restorePointRoot = p.path("restore-points/");
        auto* menus = gui::test::openEditor<QWidget>(p, "TForm27");
        QVERIFY(menus);
        auto* pages = gui::test::Child<QTabWidget>(menus, "PageControl1");
        pages->setCurrentWidget(gui::test::Child<QWidget>(menus, "TabSheet1")); // the backgrounds
        gui::test::Click(menus, "Button30");                                    // "Importieren"
        const std::string picture = p.path("background.bmp");
        SaveBmpFile(Image(kMenuBackgroundWidth, kMenuBackgroundHeight, 24, MakePixel(200, 30, 30)), picture);
        p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return picture; };
        gui::test::Click(menus, "Button52"); // "Grafik laden"
        const auto bank = pitwall::test::ReadBytes(p.path("game/BITMAPS/GP3ART5.BIN"));
        p.messages.clear();
        gui::test::Click(menus, "Button31"); // "Exportieren"
        QCOMPARE(p.numbers(), std::vector<int>{957});
        QVERIFY2(p.messages[0].text.find(p.program.texts.format(960, Args(MenuBackgroundLine(0, p.program.texts))))
                     != std::string::npos,
                 p.messages[0].text.c_str());
        QVERIFY(pitwall::test::ReadBytes(p.path("game/BITMAPS/GP3ART5.BIN")) == bank);
        QVERIFY(NoRestorePoint(p));
        // "Export everything" asks for what the list names, none here: the
        // loaded background is not reported as unwritten on every export.
        p.messages.clear();
        p.window->findChild<QAction*>("Allesexportieren1")->trigger();
        QCOMPARE(p.numbers(), std::vector<int>{958});
        QVERIFY(pitwall::test::ReadBytes(p.path("game/BITMAPS/GP3ART5.BIN")) == bank);
    }
    // Section labels too long for the game's table, and a track picture of
    // the wrong size refused: nothing of that track reaches the game.
    {
        GuiProgram p(2);
        p.program.restorePointRoot = p.path("restore-points/");
        auto* tracks = gui::test::openEditor<TracksEditor>(p, "TForm13");
        QVERIFY(tracks);
        gui::test::Click(tracks, "Button2"); // "Alles importieren"
        gui::test::Child<QTabWidget>(tracks, "PageControl1")->setCurrentIndex(TracksEditor::kSectionsPage);
        const std::string small = p.path("small.bmp");
        SaveBmpFile(Image(200, 100, 24, MakePixel(10, 200, 30)), small);
        tracks->loadPicture(small);
        QCOMPARE(p.numbers(), std::vector<int>{710});
        p.messages.clear();
        TrackView& view = p.app->workingSet().tracks.sections[0].views[0];
        for (int i = 0; i < view.count; ++i)
            view.sections[static_cast<std::size_t>(i)].label.assign(std::string(29, 'L'));
        const Snapshot before = TakeSnapshot(p.path("game"));
        auto done = std::make_shared<bool>(false);
        OnModal([done](QWidget* modal) { // the pictures' room in the art file: nothing expanded
            if (*done)
                return false;
            auto* expansion = qobject_cast<ExpansionDialog*>(modal);
            if (expansion)
                expansion->findChild<QPushButton*>("BitBtn2")->click();
            return !expansion;
        });
        gui::test::Click(tracks, "Button15"); // "Exportieren"
        *done = true;
        QCOMPARE(Last(p), 957);
        QVERIFY2(p.messages.back().text.find(p.program.texts.format(kLabelsTooLongText, Args(1))) != std::string::npos,
                 p.messages.back().text.c_str());
        QVERIFY(TakeSnapshot(p.path("game")) == before);
    }
    // v1.00: the five text files, each declined as it does not fit.
    {
        GuiProgram p(1);
        p.program.restorePointRoot = p.path("restore-points/");
        auto* texts = gui::test::openEditor<QWidget>(p, "TForm14");
        QVERIFY(texts);
        gui::test::Click(texts, "Button2"); // "Alles importieren"
        for (auto& list : p.app->workingSet().gameTexts.languages)
            if (!list.empty())
                list.push_back("one text more");
        p.app->messages.divert([&p](const Message& m) { p.messages.push_back(m); }, false);
        p.messages.clear();
        const Snapshot before = TakeSnapshot(p.path("game"));
        gui::test::Click(texts, "Button3"); // "Alles exportieren", each question answered No
        QCOMPARE(Last(p), 957);
        QVERIFY2(p.messages.back().text.find("(5)") != std::string::npos, p.messages.back().text.c_str());
        QVERIFY(TakeSnapshot(p.path("game")) == before);
    }
    // Everything done: "finished" only when asked for, and never for nothing.
    {
        GuiProgram p(2);
        ImportAndChangeTheTeams(p);
        p.program.settings.showExportOK = true;
        p.app->workingSet().transfer.selection = {};
        p.app->workingSet().transfer.selection[1] = 1;
        TransferUi ui = p.app->transferUi();
        p.app->engine().exportToGame(ItemChoice::AsSelected, ui);
        QCOMPARE(p.numbers(), std::vector<int>{753});
        p.messages.clear();
        p.app->workingSet().transfer.selection[1] = 1;
        p.app->engine().exportToGame(ItemChoice::AsSelected, ui); // the game holds it already
        QCOMPARE(p.numbers(), std::vector<int>{959});
    }
}

void SafeExportTest::cancelledExpansionLeavesOutOrCancelsAsChosen()
{
    for (bool goOn : {true, false}) {
        GuiProgram p(2);
        ImportAndChangeTheTeams(p);
        p.window->findChild<QAction*>("Allesimportieren1")->trigger();
        p.app->workingSet().teams.teams[0].tqp = 12345;
        // A new small picture of track 1, view 2: its entry has no room
        // (pictures the game already has need none).
        SaveBmpFile(Image(498, 359, 24, MakePixel(10, 200, 30)), p.program.directories.working + "TrackReplace001.BMP");
        p.app->messages.divert([&p](const Message& m) { p.messages.push_back(m); }, goOn);
        p.messages.clear();
        const Snapshot before = TakeSnapshot(p.path("game"));
        int expansionShown = 0;
        auto finished = std::make_shared<bool>(false);
        OnModal([&, finished](QWidget* modal) {
            if (*finished)
                return false;
            if (auto* expansion = qobject_cast<ExpansionDialog*>(modal)) {
                ++expansionShown;
                expansion->findChild<QPushButton*>("BitBtn3")->click(); // "Abbrechen"
            } else if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal)) {
                confirm->accept();
            }
            return true;
        });
        p.window->findChild<QAction*>("Allesexportieren1")->trigger();
        *finished = true;
        QCOMPARE(expansionShown, 1);
        QVERIFY(!p.messages.empty());
        QCOMPARE(p.messages.front().number, 961);
        const Snapshot after = TakeSnapshot(p.path("game"));
        if (goOn) {
            // The rest is written; what had no room is named as left out.
            QCOMPARE(Last(p), 956);
            const std::string& closing = p.messages.back().text;
            QVERIFY2(closing.find(LeftOutText(kTrackGraphicsFirst, p.program.texts)) != std::string::npos,
                     closing.c_str());
            QVERIFY(after.at("GP3.EXE") != before.at("GP3.EXE"));
            QVERIFY(after.at("BITMAPS/GP3ART5.BIN") == before.at("BITMAPS/GP3ART5.BIN"));
        } else {
            QCOMPARE(p.numbers(), (std::vector<int>{961, 962}));
            QVERIFY(after == before);
        }
    }
}

void SafeExportTest::exportChecksTheArtRoomAndAsksOnlyOnce()
{
    GuiProgram p(2);
    ImportAndChangeTheTeams(p);
    p.window->findChild<QAction*>("Allesimportieren1")->trigger();
    p.app->workingSet().teams.teams[0].tqp = 12345;
    SaveBmpFile(Image(498, 359, 24, MakePixel(10, 200, 30)), p.program.directories.working + "TrackReplace001.BMP");
    // How often the export works out which art-bank entries need room.
    auto& precheck = p.app->session.graphicsAreas().artPrecheck;
    int roomChecks = 0;
    precheck.entriesThatChange = [&roomChecks, inner = precheck.entriesThatChange](TransferContext& run) {
        ++roomChecks;
        return inner(run);
    };
    p.messages.clear();
    const Snapshot before = TakeSnapshot(p.path("game"));
    int confirmations = 0;
    auto finished = std::make_shared<bool>(false);
    OnModal([&, finished](QWidget* modal) {
        if (*finished)
            return false;
        if (auto* expansion = qobject_cast<ExpansionDialog*>(modal)) {
            expansion->findChild<QPushButton*>("BitBtn3")->click(); // go on without the picture
        } else if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal)) {
            ++confirmations;
            confirm->accept();
        }
        return true;
    });
    p.window->findChild<QAction*>("Allesexportieren1")->trigger();
    *finished = true;
    QCOMPARE(roomChecks, 1);
    QCOMPARE(confirmations, 1);
    std::vector<int> told = p.numbers();
    QVERIFY(!told.empty());
    QCOMPARE(told.front(), 961);
    for (int number : told)
        QVERIFY2(std::count(told.begin(), told.end(), number) == 1, std::to_string(number).c_str());
    const Snapshot after = TakeSnapshot(p.path("game"));
    QVERIFY(after.at("GP3.EXE") != before.at("GP3.EXE"));
    QVERIFY(after.at("BITMAPS/GP3ART5.BIN") == before.at("BITMAPS/GP3ART5.BIN"));
    QCOMPARE(RestorePoints(p.program.restorePointRoot, p.program.settings.gameDirectory).list().size(),
             static_cast<std::size_t>(1));
}

QTEST_MAIN(SafeExportTest)
#include "SafeExportTest.moc"
#include "transfer/ReportedFormats.h"
