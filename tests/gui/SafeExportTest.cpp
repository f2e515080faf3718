// The desktop side of safe exports: the confirmation between preview and
// writing, the restore window, the summary of what a run did not do, and a
// selection dialog that offers only what the program carries.

#include "GuiTestSupport.h"

#include "ExportConfirmDialog.h"
#include "RestoreWindow.h"
#include "SelectionDialogWindow.h"
#include "app/Language.h"
#include "app/UITexts.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"

#include <algorithm>

#include <QCheckBox>
#include <algorithm>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

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
    QVERIFY(p.window->FirstActivation());
    p.app->workingSet().transfer.selection = {};
    p.app->workingSet().transfer.selection[1] = 1;
    TransferUi ui = p.app->transferUi();
    QCOMPARE(p.app->engine().importFromGame(false, false, ui), TransferOutcome::Done);
    TeamRecord& team = p.app->workingSet().teams.teams[0];
    team.tqp = static_cast<std::uint16_t>(team.tqp == 30000 ? 20000 : 30000);
    p.window->RestoreCurrentEditor();
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

} // namespace

class SafeExportTest : public QObject {
    Q_OBJECT
private slots:
    void exportIsConfirmedAndCancelWritesNothing();
    void restoreWindowPutsBackWhatAnExportChanged();
    void summaryNamesMissingMembersAndUncarriedItems();
    void selectionDialogOffersOnlyCarriedItems();
    void confirmationCountsOneFileInTheSingular();
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
    QCOMPARE(count, FromGameText(p.program.texts.format(78, Args(detailLines))));
    QVERIFY(TakeSnapshot(p.path("game")) == before);
    QVERIFY(!std::filesystem::exists(p.path("restore-points")) || std::filesystem::is_empty(p.path("restore-points")));

    // Confirmed: exactly the files counted change, and the dialog was not shown again.
    selectionShown = 0;
    answer(true);
    p.window->findChild<QAction*>("Exportieren1")->trigger();
    QCOMPARE(selectionShown, 1);
    QCOMPARE(Differing(before, TakeSnapshot(p.path("game"))), static_cast<std::size_t>(detailLines));
    QVERIFY(p.numbers().empty());

    // A problem the preview meets is told once, not again by the writing step.
    p.messages.clear();
    p.app->workingSet().teams.teams[0].tqp = 12345;
    p.window->RestoreCurrentEditor();
    std::filesystem::resize_file(NativePath(p.path("game/GP3.EXE")), 1000);
    auto finished = std::make_shared<bool>(false);
    OnModal([finished](QWidget* modal) {
        if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal); confirm && !*finished)
            confirm->accept();
        return false;
    });
    p.window->findChild<QAction*>("Allesexportieren1")->trigger();
    *finished = true;
    QCOMPARE(p.numbers(), (std::vector<int>{-1, 80}));
    QCOMPARE(p.messages[1].text, p.program.texts.format(80, Args(1, p.messages[0].text)));
}

void SafeExportTest::restoreWindowPutsBackWhatAnExportChanged()
{
    GuiProgram p(2);
    ImportAndChangeTheTeams(p);
    p.window->findChild<QAction*>("Wiederherstellen1")->trigger();
    QCOMPARE(p.numbers(), (std::vector<int>{77})); // no restore points yet
    p.messages.clear();

    const Snapshot before = TakeSnapshot(p.path("game"));
    OnModal([](QWidget* modal) {
        if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal))
            confirm->accept();
        return !qobject_cast<ExportConfirmDialog*>(modal);
    });
    p.window->findChild<QAction*>("Allesexportieren1")->trigger();
    const Snapshot exported = TakeSnapshot(p.path("game"));
    const std::size_t changed = Differing(before, exported);
    QVERIFY(changed > 0);

    int rows = -1;
    QStringList row;
    QString title, firstColumn;
    OnModal([&](QWidget* modal) {
        auto* w = qobject_cast<RestoreWindow*>(modal);
        if (!w)
            return true;
        rows = w->list()->topLevelItemCount();
        for (int c = 0; c < 4; ++c)
            row << w->list()->topLevelItem(0)->text(c);
        title = w->windowTitle();
        firstColumn = w->list()->headerItem()->text(0);
        w->BitBtn1Click();
        w->reject();
        return false;
    });
    p.window->findChild<QAction*>("Wiederherstellen1")->trigger();
    QCOMPARE(rows, 1);
    QCOMPARE(title, Text(p, 68));
    QCOMPARE(firstColumn, Text(p, 69));
    QCOMPARE(row[1], QString("export"));
    QCOMPARE(row[2], QString::number(changed));
    QCOMPARE(p.numbers(), (std::vector<int>{74, 75}));
    QVERIFY(TakeSnapshot(p.path("game")) == before);
    // The working set keeps what was exported.
    QVERIFY(p.app->workingSet().transfer.isLoaded(1));
}

void SafeExportTest::summaryNamesMissingMembersAndUncarriedItems()
{
    GuiProgram p(2);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->FirstActivation());
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
    QVERIFY(p.window->FirstActivation());
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

QTEST_MAIN(SafeExportTest)
#include "SafeExportTest.moc"
