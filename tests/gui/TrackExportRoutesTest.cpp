// The tracks editor's exports as a user runs them: edits typed into the
// controls, other tabs and tracks chosen before the export button, the
// questions answered, and the game files read back afterwards.

#include "GuiTestSupport.h"

#include "TracksEditor.h"
#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "tracks/TrackPictures.h"
#include "tracks/TrackPositions.h"
#include "tracks/TrackTable.h"
#include "transfer/SelectionItems.h"

#include <QDialog>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Child;
using pitwall::gui::test::Click;
using pitwall::gui::test::GuiProgram;

namespace {

// A program whose questions are all answered No (a user who wants neither
// the track files replaced nor the art file enlarged) and which records the
// class of every modal window that opens, closing it with Cancel.
struct CautiousUser {
    GuiProgram p;
    TracksEditor* editor = nullptr;
    std::shared_ptr<QStringList> modals = std::make_shared<QStringList>();

    explicit CautiousUser(int version) : p(version)
    {
        p.app->messages.divert([this](const Message& m) { p.messages.push_back(m); }, false);
        p.program.settings.gameDirectory = p.path("game/");
        if (!p.window->firstActivation())
            return;
        p.window->openEditor("TForm13");
        editor = qobject_cast<TracksEditor*>(p.window->currentEditor());
        // The watch ends with this user (the next one has its own).
        pitwall::gui::test::OnModal([seen = std::weak_ptr<QStringList>(modals)](QWidget* modal) {
            auto modals = seen.lock();
            if (!modals)
                return false;
            modals->append(modal->metaObject()->className());
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            return true;
        });
    }

    void showPage(int page)
    {
        Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(page);
        QApplication::processEvents();
    }
    void chooseTrack(int slot) { Child<QListWidget>(editor, "ListBox2")->setCurrentRow(slot); }

    // Clicks bump `index` in the list and types the new values over the
    // edit fields, as a user does.
    void typeBump(int index, int position, int strength)
    {
        showPage(TracksEditor::kBumpsPage);
        auto* bumps = Child<QTreeWidget>(editor, "ListView1");
        QTreeWidgetItem* item = bumps->topLevelItem(index);
        QVERIFY(item);
        QTest::mouseClick(bumps->viewport(), Qt::LeftButton, {}, bumps->visualItemRect(item).center());
        for (auto [name, value] : {std::pair{"SpinEdit41", position}, std::pair{"SpinEdit42", strength}}) {
            auto* spin = Child<QSpinBox>(editor, name);
            spin->setFocus();
            spin->selectAll();
            QTest::keyClicks(spin, QString::number(value));
        }
    }

    Bump bumpInGame(int version, int slot, int index) const
    {
        const std::vector<std::uint8_t> exe = ReadWholeFile(p.path("game/GP3.EXE"), 16u << 20);
        const std::size_t at = TrackExeAt(version).bases[static_cast<std::size_t>(slot)] + kBumpsOffset + 4u * index;
        return {static_cast<std::uint16_t>(exe.at(at) | exe.at(at + 1) << 8),
                static_cast<std::uint16_t>(exe.at(at + 2) | exe.at(at + 3) << 8)};
    }
};

} // namespace

class TrackExportRoutesTest : public QObject {
    Q_OBJECT
private slots:
    void editedBumpsReachTheGameThroughExportAll();
    void unchangedTrackPicturesNeedNoRoomInTheArtFile();
};

// The art bank of the demo, like the game's, has no room for new pictures.
// Right after "Alles importieren", and after loading a complete carset saved
// from the game, no track picture differs from the game's, so "Alles
// exportieren" must not stop at the expansion dialog: the bump typed on a
// track that is not the first, on v1.00 and v1.13, is in GP3.EXE.
void TrackExportRoutesTest::editedBumpsReachTheGameThroughExportAll()
{
    for (int version : {1, 2})
        for (bool fromCarset : {false, true}) {
            CautiousUser user(version);
            QVERIFY(user.editor);
            Click(user.editor, "Button2"); // "Alles importieren"
            if (fromCarset) {
                TransferUi ui = user.p.app->transferUi();
                user.p.app->workingSet().transfer.selection = user.p.app->workingSet().transfer.loaded;
                QCOMPARE(user.p.app->engine().saveCarset(ItemChoice::AllHeld, user.p.path("set.gms"), ui),
                         TransferOutcome::Done);
                user.p.window->loadCompleteCarset(user.p.path("set.gms"));
                QVERIFY(FileExists(user.p.program.directories.working + TrackPictureMember(5, 1, 3)));
            }
            const int slot = 5;
            user.chooseTrack(slot);
            const Bump first = user.bumpInGame(version, slot, 0);
            user.typeBump(1, 4321, 87);
            user.showPage(TracksEditor::kRecordsPage); // another tab before the export
            user.p.messages.clear();
            Click(user.editor, "Button3"); // "Alles exportieren"

            QCOMPARE(*user.modals, QStringList());
            QCOMPARE(user.bumpInGame(version, slot, 1), (Bump{4321, 87}));
            QCOMPARE(user.bumpInGame(version, slot, 0), first);
            const auto& info = user.p.app->workingSet().tracks.info[static_cast<std::size_t>(slot)];
            QCOMPARE(user.bumpInGame(version, slot, info.bumpCount()).position, std::uint16_t{0xFFFF});
        }

    // 0xFFFF ends the game's table: typed as a position it would cut off
    // the bump and those after it, so the field stops below it.
    CautiousUser user(2);
    QVERIFY(user.editor);
    Click(user.editor, "Button2");
    user.chooseTrack(2);
    const int count = user.p.app->workingSet().tracks.info[2].bumpCount();
    QVERIFY(count > 1);
    user.typeBump(0, 65535, 1);
    Click(user.editor, "Button15"); // "Exportieren", bumps page in front
    QVERIFY(user.bumpInGame(2, 2, 0).position < 0xFFFF);
    QCOMPARE(user.bumpInGame(2, 2, 0).strength, std::uint16_t{1});
    QCOMPARE(user.bumpInGame(2, 2, count).position, std::uint16_t{0xFFFF});
}

// Exporting one slot's sections and pictures right after the import asks
// nothing about the art file; a picture loaded into the slot still does.
void TrackExportRoutesTest::unchangedTrackPicturesNeedNoRoomInTheArtFile()
{
    CautiousUser user(2);
    QVERIFY(user.editor);
    Click(user.editor, "Button2"); // "Alles importieren"
    const int slot = 3;
    user.chooseTrack(slot);
    user.showPage(TracksEditor::kPicturesPage);
    user.p.messages.clear();
    Click(user.editor, "Button15"); // "Exportieren"
    QCOMPARE(*user.modals, QStringList());
    QVERIFY(user.p.messages.size() <= 1);
    for (const Message& m : user.p.messages)
        QCOMPARE(m.number, 959); // nothing needed changing

    // A picture loaded into the slot waits in the working directory and
    // needs room: the expansion dialog opens (Cancel, then No: nothing is
    // written).
    const std::string small = user.p.path("small.bmp");
    SaveBmpFile(Image(kSmallPictureWidth, kSmallPictureHeight, 24, MakePixel(10, 200, 30)), small);
    user.editor->loadPicture(small);
    Click(user.editor, "Button15");
    QCOMPARE(*user.modals, QStringList{"pitwall::gui::ExpansionDialog"});
}

QTEST_MAIN(TrackExportRoutesTest)
#include "TrackExportRoutesTest.moc"
#include "transfer/ReportedFormats.h"
