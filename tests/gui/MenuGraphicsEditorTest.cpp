#include "GuiTestSupport.h"
#include "transfer/ReportedFormats.h"

#include "ConfirmedExport.h"
#include "ExpansionDialog.h"
#include "ExportConfirmDialog.h"
#include "MenuGraphicsEditor.h"
#include "formats/Bmp.h"
#include "formats/GameInstallation.h"
#include "formats/Jpeg.h"
#include "menu/MenuArt.h"
#include "menu/TeamArtEntries.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QTest>

#include <set>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Child;
using pitwall::gui::test::Click;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::openEditor;

namespace {

// The picture a label shows, as an image (empty when it shows none).
QImage Shown(QObject* window, const char* name) { return Child<QLabel>(window, name)->pixmap().toImage(); }

bool Plain(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
    return true;
}

} // namespace

class MenuGraphicsEditorTest : public QObject {
    Q_OBJECT
private slots:
    void teamArtAnimatesOnlyWhenLoaded();
    void backgroundsReplacedListedAndSaved();
    void exportListSpeaksTheChosenLanguage();
    void loadingPicturesOfAnotherSizeAreStretchedOnYes();
    void teamArtWithoutRoomOpensTheExpansionDialogBeforeExport();
};

void MenuGraphicsEditorTest::teamArtAnimatesOnlyWhenLoaded()
{
    GuiProgram p;
    MenuGraphicsEditor* editor = openEditor<MenuGraphicsEditor>(p, "TForm27");
    QVERIFY(editor);
    QCOMPARE(Child<QTabWidget>(editor, "PageControl1")->count(), 3);
    auto* teams = Child<QListWidget>(editor, "ListBox11");
    QCOMPARE(teams->count(), 11);
    teams->setCurrentRow(3);
    // Team 3's art is not loaded: plain pictures, no animation.
    QVERIFY(!editor->timer()->isActive());
    QVERIFY(Plain(Shown(editor, "Image7")));
    QVERIFY(Plain(Shown(editor, "Image2")));
    QVERIFY(!Child<QPushButton>(editor, "Button55")->isEnabled());

    Click(editor, "Button24");
    QVERIFY(p.app->workingSet().transfer.isLoaded(107));
    QVERIFY(!p.app->workingSet().transfer.isLoaded(106));
    QVERIFY(editor->timer()->isActive());
    QCOMPARE(editor->timer()->interval(), 100);
    QVERIFY(!Plain(Shown(editor, "Image2")));

    // The car turns through 30 frames and comes back to where it started.
    auto& state = p.app->editorStates.menuGraphics;
    const int car = state.carFrame;
    const QImage first = Shown(editor, "Image7");
    std::set<int> frames;
    for (int i = 0; i < 30; ++i) {
        editor->animateTeamArt();
        frames.insert(state.carFrame);
    }
    QCOMPARE(static_cast<int>(frames.size()), 30);
    QCOMPARE(state.carFrame, car);
    QVERIFY(Shown(editor, "Image7") == first);
    // On the driver page the helmets turn through 3 frames; the car stays.
    Child<QTabWidget>(editor, "PageControl2")->setCurrentIndex(1);
    const int helmet = state.helmetFrame;
    std::set<int> helmets;
    for (int i = 0; i < 3; ++i) {
        editor->animateTeamArt();
        helmets.insert(state.helmetFrame);
    }
    QCOMPARE(static_cast<int>(helmets.size()), 3);
    QCOMPARE(state.helmetFrame, helmet);
    QCOMPARE(state.carFrame, car);

    // Another page stops the animation; back on the team page it runs again.
    Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(1);
    QVERIFY(!editor->timer()->isActive());
    Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(0);
    QVERIFY(editor->timer()->isActive());
    teams->setCurrentRow(4);
    QVERIFY(!editor->timer()->isActive());

    // A loaded team clicked with the mouse keeps turning after the click
    // (the edit history's look at the editor after each click left the
    // animation stopped).
    p.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.window.get()));
    QTest::mouseClick(teams->viewport(), Qt::LeftButton, {}, teams->visualItemRect(teams->item(3)).center());
    QTest::qWait(50);
    QCOMPARE(teams->currentRow(), 3);
    QVERIFY(editor->timer()->isActive());
    // Hiding the window stops it.
    p.window->openEditor("TForm12");
    QVERIFY(!editor->timer()->isActive());
}

void MenuGraphicsEditorTest::backgroundsReplacedListedAndSaved()
{
    GuiProgram p;
    MenuGraphicsEditor* editor = openEditor<MenuGraphicsEditor>(p, "TForm27");
    QVERIFY(editor);
    Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(2);
    QVERIFY(!Child<QPushButton>(editor, "Button52")->isEnabled());
    Click(editor, "Button30");
    QVERIFY(p.app->workingSet().transfer.isLoaded(5));
    auto* names = Child<QListWidget>(editor, "ListBox1");
    QCOMPARE(names->count(), 85);
    names->setCurrentRow(12);
    Child<QCheckBox>(editor, "CheckBox4")->setChecked(true);
    QVERIFY(!Child<QLabel>(editor, "Image9")->isHidden());
    QVERIFY(Child<QLabel>(editor, "Image8")->isHidden());

    // An 800 x 600 JPG as background 12 becomes MenuReplace12.BMP and is shown.
    Image picture(800, 600, 24, MakePixel(200, 40, 16));
    const std::string jpg = p.path("back.JPG");
    pitwall::test::WriteBytes(jpg, EncodeJpeg(picture, 90));
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return jpg; };
    Click(editor, "Button52");
    QVERIFY(FileExists(p.program.directories.working + "MenuReplace12.BMP"));
    QVERIFY(!Child<QLabel>(editor, "Image8")->isHidden());
    QVERIFY(Child<QLabel>(editor, "Image9")->isHidden());

    // The export list: once per background, Delete removes the selection.
    auto* list = Child<QListWidget>(editor, "ListBox18");
    Click(editor, "BitBtn28");
    Click(editor, "BitBtn28");
    QCOMPARE(list->count(), 1);
    QVERIFY(list->item(0)->text().startsWith("12 - "));
    names->setCurrentRow(3);
    Click(editor, "BitBtn28");
    QCOMPARE(list->item(0)->text().left(2), QString("03"));
    list->item(1)->setSelected(true);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(list, &del);
    QCOMPARE(list->count(), 1);
    QCOMPARE(p.app->workingSet().menuBackgrounds.size(), std::size_t{1});

    // Saving all with BG*.JPG writes BG0.JPG .. BG84.JPG.
    const std::string out = p.path("out/");
    ForceDirectories(out);
    editor->chooseSequence() = [&]() -> std::optional<PictureSequence> { return PictureSequence{out, "BG*.JPG"}; };
    Click(editor, "Button36");
    QCOMPARE(static_cast<int>(ListFiles(out, "BG*.JPG", false, false).size()), 85);
    QVERIFY(FileExists(out + "BG0.JPG"));
    QVERIFY(FileExists(out + "BG84.JPG"));
    Image back = DecodeJpeg(pitwall::test::ReadBytes(out + "BG12.JPG"));
    QCOMPARE(back.width(), 800);
}

void MenuGraphicsEditorTest::exportListSpeaksTheChosenLanguage()
{
    // Backgrounds chosen under the English interface (or in a carset saved
    // there), shown under the German one.
    GuiProgram p(2, "[General]\r\nLanguage=DEUTSCH.LNG\r\nFirstTime=0\r\n");
    p.app->workingSet().menuBackgrounds = {"03 - Race options", "12 - Sound options"};
    MenuGraphicsEditor* editor = openEditor<MenuGraphicsEditor>(p, "TForm27");
    QVERIFY(editor);
    Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(2);
    Click(editor, "Button30");
    auto* list = Child<QListWidget>(editor, "ListBox18");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->text(), "12 - " + FromGameText(p.program.texts.text(586)));
    QCOMPARE(list->item(1)->text(), QString("12 - Soundoptionen"));
    // Looking is no edit: the working set keeps its lines (a changed line
    // made the next click an undo step and the quit ask about edits).
    QCOMPARE(p.app->workingSet().menuBackgrounds, (MenuReplacementList{"03 - Race options", "12 - Sound options"}));
    list->item(1)->setSelected(true);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(list, &del);
    QCOMPARE(MenuBackgroundNumbers(p.app->workingSet().menuBackgrounds), std::vector<int>{3});
}

void MenuGraphicsEditorTest::loadingPicturesOfAnotherSizeAreStretchedOnYes()
{
    GuiProgram p;
    MenuGraphicsEditor* editor = openEditor<MenuGraphicsEditor>(p, "TForm27");
    QVERIFY(editor);
    Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(1);
    Click(editor, "Button28");
    QVERIFY(p.app->workingSet().transfer.isLoaded(117));
    QVERIFY(!Shown(editor, "Image1").isNull());
    Child<QRadioButton>(editor, "RadioButton2")->click();
    QCOMPARE(p.app->editorStates.menuGraphics.loadingPicture, 1);

    const std::string small = p.path("small.BMP");
    SaveBmpFile(Image(320, 240, 24, MakePixel(8, 160, 48)), small);
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return small; };
    Click(editor, "BitBtn5");
    QCOMPARE(p.numbers().back(), 352); // asked, and the test answers Yes
    Image stored = LoadBmpFile(p.program.directories.working + "LOADING2.BMP");
    QCOMPARE(stored.width(), 640);
    QCOMPARE(stored.height(), 480);

    // A missing working copy is reported with its name.
    DeleteFileForced(p.program.directories.working + "LOADING4.BMP");
    Child<QRadioButton>(editor, "RadioButton4")->click();
    QCOMPARE(p.numbers().back(), 212);
}

void MenuGraphicsEditorTest::teamArtWithoutRoomOpensTheExpansionDialogBeforeExport()
{
    GuiProgram p;
    MenuGraphicsEditor* editor = openEditor<MenuGraphicsEditor>(p, "TForm27");
    QVERIFY(editor);
    auto* teams = Child<QListWidget>(editor, "ListBox11");
    teams->setCurrentRow(2);
    Click(editor, "Button24");
    QVERIFY(p.app->workingSet().transfer.isLoaded(106));
    // Every picture of team 2 changes, so every one of its entries is written.
    ArtPicture& sheet = p.app->workingSet().teamArt[2];
    std::fill(sheet.words.begin(), sheet.words.end(), ArtWord{0x1234});
    const std::string bank = GameFilePath(p.program.settings.gameDirectory, kArtBankGamePath);
    const std::vector<std::uint8_t> before = pitwall::test::ReadBytes(bank);

    int dialogs = 0;
    bool offered = false, greyWhenFitting = false;
    // The confirmed export shows what it will change after the dialog.
    auto answer = [&](const char* button, bool thenConfirm = false) {
        pitwall::gui::test::OnModal([&, button, thenConfirm](QWidget* modal) {
            if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal)) {
                confirm->accept();
                return false;
            }
            auto* dialog = qobject_cast<ExpansionDialog*>(modal);
            if (!dialog)
                return true;
            ++dialogs;
            // The car frames of team 2 have no room: offered, not ticked.
            // Entries with room are ticked and grey.
            const QListWidgetItem* frame = dialog->list()->item(70);
            offered = frame->checkState() == Qt::Unchecked && (frame->flags() & Qt::ItemIsEnabled);
            const QListWidgetItem* roomy = dialog->list()->item(489);
            greyWhenFitting = roomy->checkState() == Qt::Checked && !(roomy->flags() & Qt::ItemIsEnabled);
            Child<QPushButton>(dialog, button)->click();
            return thenConfirm;
        });
    };

    // Cancel: the export stops and writes nothing.
    answer("BitBtn3");
    Click(editor, "Button25");
    QCOMPARE(dialogs, 1);
    QVERIFY(offered);
    QVERIFY(greyWhenFitting);
    QVERIFY(pitwall::test::ReadBytes(bank) == before);
    QVERIFY(!FileExists(bank + ".OLD"));

    // The first OK button enlarges what the export needs, the art goes in,
    // the old bank is kept, and the team-art area does not ask (659) again.
    answer("BitBtn1");
    Click(editor, "Button25");
    QCOMPARE(dialogs, 2);
    const std::vector<int> asked = p.numbers();
    QVERIFY(std::count(asked.begin(), asked.end(), 659) == 0);
    QVERIFY(pitwall::test::ReadBytes(bank + ".OLD") == before);
    ArtDirectory after;
    QVERIFY(ReadArtDirectory(bank, after, nullptr));
    for (int e : {70, 99, 402, 435, 453, 506})
        QVERIFY2(after.entries[static_cast<std::size_t>(e)].fits(), std::to_string(e).c_str());
    QVERIFY(!after.entries[100].fits());                      // team 3's entries stay as they were
    QVERIFY(p.app->workingSet().artIndex.entries[70].fits()); // the workshop sees the new room
    QVERIFY(ChangedTeamArt(bank, after, 2, sheet).empty());

    // The main window's export works out the changes first and then writes
    // them: the dialog still opens once.
    teams->setCurrentRow(3);
    Click(editor, "Button24");
    std::fill(p.app->workingSet().teamArt[3].words.begin(), p.app->workingSet().teamArt[3].words.end(),
              ArtWord{0x0421});
    p.app->workingSet().transfer.selection = {};
    p.app->workingSet().transfer.selection[107] = 1;
    answer("BitBtn1", true);
    QCOMPARE(RunConfirmedExport(*p.app, ItemChoice::AsSelected, nullptr), TransferOutcome::Done);
    QCOMPARE(dialogs, 3);
    QVERIFY(ReadArtDirectory(bank, after, nullptr));
    QVERIFY(after.entries[100].fits());
    QVERIFY(ChangedTeamArt(bank, after, 3, p.app->workingSet().teamArt[3]).empty());
}

QTEST_MAIN(MenuGraphicsEditorTest)
#include "MenuGraphicsEditorTest.moc"
