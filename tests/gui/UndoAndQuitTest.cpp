// Undo, redo and the question before edits are lost, driven as a user does:
// typing into the editors' fields, the Edit menu, File > Quit.
#include "GuiTestSupport.h"

#include "ExportConfirmDialog.h"
#include "JamWorkshopPage.h"
#include "Mnemonics.h"
#include "OptionsDialog.h"
#include "SelectionDialogWindow.h"
#include "TextEditDialog.h"
#include "TextsEditor.h"
#include "WorkshopsWindow.h"
#include "app/WindowPosition.h"
#include "base/GamePath.h"
#include "cockpit/CockpitGraphics.h"
#include "formats/Bmp.h"
#include "formats/SoundBankFiles.h"
#include "menu/MenuArt.h"
#include "settings/GameSettings.h"
#include "transfer/ReportedFormats.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QCheckBox>
#include <QSpinBox>
#include <QStackedWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {

// The program on the demo installation with everything imported.
void StartImported(GuiProgram& p)
{
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->show();
    p.window->findChild<QAction*>("Allesimportieren1")->trigger();
    QVERIFY(!p.window->isWindowModified());
}

// Types into a field as a user does: select what is there, type, wait for
// the program to take the edit in.
void TypeInto(QWidget* field, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(field))
        line->selectAll();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(field))
        spin->selectAll();
    QTest::keyClicks(field, text);
    QTest::qWait(20);
}

QAction* Act(GuiProgram& p, const char* name) { return p.window->findChild<QAction*>(name); }

// Brings the pages a control lies on to the front, as a user clicks their tabs.
void ShowPagesOf(QWidget* control)
{
    for (QWidget* w = control; w && w->parentWidget(); w = w->parentWidget())
        if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget()))
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
                tabs->setCurrentWidget(w);
}

// Answers the next question box of that name with the button of that name
// (Cancel where it has none), counting the questions asked.
void AnswerNext(const char* question, const char* button, int& asked)
{
    OnModal([question, button, &asked](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box || box->objectName() != question)
            return true;
        ++asked;
        if (QPushButton* named = box->findChild<QPushButton*>(button))
            named->click();
        else
            box->button(QMessageBox::Cancel)->click();
        return false;
    });
}

} // namespace

class UndoAndQuitTest : public QObject {
    Q_OBJECT
private slots:
    void typedTeamValuesAreUndoneAndRedoneExactly();
    void pictureLoadedIntoALiveryIsUndoneAndRedone();
    void teamSheetLoadedForTheMenuIsUndoneAndRedone();
    void soundAndBackgroundReplacedAreUndoneAndRedone();
    void workshopUndoesThePicturesLoadedIntoItsJam();
    void picturesLoadedIntoTheWorkshopJamAreAskedAboutBeforeTheyGo();
    void editsInTheOtherEditorsAreUndoneAndRedoneExactly();
    void aTextEditedInItsDialogIsAStepOnceTheDialogCloses();
    void quittingWithAnEditAsks();
    void exportFromTheQuestionWritesTheEdit();
    void aRunOfSomeItemsKeepsTheOthersEditsUnsaved();
    void aCockpitSheetAndTheCarsetInformationAreEditsToo();
};

void UndoAndQuitTest::typedTeamValuesAreUndoneAndRedoneExactly()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    EditorWindow* teams = p.window->currentEditor();
    const TeamTable imported = p.app->workingSet().teams;
    QVERIFY(!Act(p, "Rueckgaengig1")->isEnabled());

    TypeInto(Child<QLineEdit>(teams, "Edit2"), "EngineX"); // engine of team 1
    TypeInto(Child<QSpinBox>(teams, "SpinEdit2"), "750");  // its qualifying performance
    QVERIFY(p.window->isWindowModified());
    QCOMPARE(p.app->session.edits.size(), std::size_t{2}); // one step per field, not per key
    const TeamTable edited = p.app->workingSet().teams;
    QCOMPARE(edited.teams[0].engine.text(), std::string("EngineX"));
    QCOMPARE(edited.teams[0].tqp, std::uint16_t{750});
    QAction* undo = Act(p, "Rueckgaengig1");
    QVERIFY(undo->isEnabled());
    QVERIFY2(WithoutMnemonic(undo->text()).startsWith("Undo change of "), qPrintable(undo->text()));

    // Ctrl+Z from the editor's window, then the menu entry.
    QTest::keyClick(Child<QListWidget>(teams, "ListBox1"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(p.app->workingSet().teams.teams[0].tqp, imported.teams[0].tqp);
    undo->trigger();
    QVERIFY(p.app->workingSet().teams == imported);
    QCOMPARE(Child<QLineEdit>(teams, "Edit2")->text(), FromGameText(imported.teams[0].engine.text()));
    QVERIFY(!p.window->isWindowModified()); // back to what the import gave
    QVERIFY(!undo->isEnabled());

    QTest::keyClick(Child<QListWidget>(teams, "ListBox1"), Qt::Key_Y, Qt::ControlModifier);
    Act(p, "Wiederholen1")->trigger();
    QVERIFY(p.app->workingSet().teams == edited);
    QCOMPARE(Child<QSpinBox>(teams, "SpinEdit2")->value(), 750);
    QVERIFY(p.window->isWindowModified());

    // A new import starts a new history.
    p.window->findChild<QAction*>("Allesimportieren1")->trigger();
    QVERIFY(!Act(p, "Rueckgaengig1")->isEnabled());
    QVERIFY(!p.window->isWindowModified());
}

void UndoAndQuitTest::pictureLoadedIntoALiveryIsUndoneAndRedone()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    p.window->openEditor("TForm15");
    EditorWindow* graphics = p.window->currentEditor();
    QVERIFY(graphics);
    auto pages = [&p] {
        std::vector<Image> all;
        for (const auto& jam : p.app->workingSet().graphics.cars.soft)
            all.push_back(jam ? jam->page() : Image());
        return all;
    };
    const std::vector<Image> imported = pages();
    QVERIFY(!imported[0].isNull());

    Image picture(256, imported[0].height(), 24);
    picture.fill(p.program.palette.pixel(37));
    const std::string bmp = p.path("livery.bmp");
    SaveBmpFile(picture, bmp);
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return bmp; };
    QTest::mouseClick(Child<QPushButton>(graphics, "CarLoadBmp"), Qt::LeftButton);
    QTest::qWait(50);
    const std::vector<Image> loaded = pages();
    QVERIFY(loaded != imported);
    QVERIFY(p.window->isWindowModified());
    QAction* undo = Act(p, "Rueckgaengig1");
    QVERIFY(undo->isEnabled());

    undo->trigger();
    QVERIFY(pages() == imported);
    QVERIFY(!p.window->isWindowModified());
    Act(p, "Wiederholen1")->trigger();
    QVERIFY(pages() == loaded);
}

void UndoAndQuitTest::teamSheetLoadedForTheMenuIsUndoneAndRedone()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    p.window->openEditor("TForm27");
    EditorWindow* menu = p.window->currentEditor();
    QVERIFY(menu && menu->objectName() == "TForm27");
    auto* teams = Child<QListWidget>(menu, "ListBox11");
    const TeamArtSheets imported = p.app->workingSet().teamArt;
    QVERIFY(imported[3] != imported[4]);

    // Team 3's sheet saved to a file, then loaded as team 4's.
    const std::string sheet = p.path("team3.bmp");
    p.app->chooseFileToSave = [&](const FileRequest&) -> std::optional<std::string> { return sheet; };
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return sheet; };
    teams->setCurrentRow(3);
    QTest::mouseClick(Child<QPushButton>(menu, "Button55"), Qt::LeftButton);
    QVERIFY(FileExists(sheet));
    teams->setCurrentRow(4);
    QTest::mouseClick(Child<QPushButton>(menu, "Button56"), Qt::LeftButton);
    QTest::qWait(50);
    const TeamArtSheets loaded = p.app->workingSet().teamArt;
    QVERIFY(loaded[4] == imported[3]);
    QVERIFY(p.window->isWindowModified());

    Act(p, "Rueckgaengig1")->trigger();
    QVERIFY(p.app->workingSet().teamArt == imported);
    QVERIFY(!p.window->isWindowModified());
    Act(p, "Wiederholen1")->trigger();
    QVERIFY(p.app->workingSet().teamArt == loaded);
}

// Working files: a sound replaced in the sounds editor and a menu background
// loaded where there was none, each undone to the imported bytes (the file
// of the background gone again) and redone.
void UndoAndQuitTest::soundAndBackgroundReplacedAreUndoneAndRedone()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    const std::string work = p.program.directories.working;
    const std::string sound = SoundWorkFileName(3), background = MenuReplacementName(12);
    // The two working files as they are (the editors write others of their own).
    auto files = [&] {
        pitwall::test::FileTree tree;
        for (const std::string& name : {sound, background})
            if (FileExists(work + name))
                tree[name] = pitwall::test::ReadBytes(work + name);
        return tree;
    };
    const pitwall::test::FileTree imported = files();
    const SoundTable importedSounds = p.app->workingSet().sounds;
    QVERIFY(imported.count(sound));
    QVERIFY(!imported.count(background));

    p.window->openEditor("TForm17");
    EditorWindow* sounds = p.window->currentEditor();
    Child<QTreeWidget>(sounds, "ListView1")->setCurrentItem(Child<QTreeWidget>(sounds, "ListView1")->topLevelItem(3));
    const std::string wav = p.path("engine.wav");
    pitwall::test::WriteBytes(wav, MakeSoundWav({6, 11025, 0, 8}, std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return wav; };
    QTest::mouseClick(Child<QPushButton>(sounds, "Button60"), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(p.app->workingSet().sounds.entries[3].dataSize, 6u);

    p.window->openEditor("TForm27");
    EditorWindow* menu = p.window->currentEditor();
    Child<QTabWidget>(menu, "PageControl1")->setCurrentIndex(2);
    Child<QListWidget>(menu, "ListBox1")->setCurrentRow(12);
    Image picture(kMenuBackgroundWidth, kMenuBackgroundHeight, 24);
    picture.fill(p.program.palette.pixel(37));
    const std::string bmp = p.path("background.bmp");
    SaveBmpFile(picture, bmp);
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return bmp; };
    QTest::mouseClick(Child<QPushButton>(menu, "Button52"), Qt::LeftButton);
    QTest::qWait(50);
    const pitwall::test::FileTree edited = files();
    QVERIFY(edited.count(background));
    QVERIFY(edited.at(sound) != imported.at(sound));

    QAction* undo = Act(p, "Rueckgaengig1");
    undo->trigger();
    QVERIFY(!files().count(background));
    undo->trigger();
    QVERIFY(files() == imported);
    QVERIFY(p.app->workingSet().sounds == importedSounds);
    QVERIFY(!p.window->isWindowModified());
    Act(p, "Wiederholen1")->trigger();
    Act(p, "Wiederholen1")->trigger();
    QVERIFY(files() == edited);
    QCOMPARE(p.app->workingSet().sounds.entries[3].dataSize, 6u);
}

// The workshop's open JAM is its own document: while the window is in
// front, the Edit menu undoes and redoes the pictures loaded into it, and
// the working set's history is left alone.
void UndoAndQuitTest::workshopUndoesThePicturesLoadedIntoItsJam()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    p.window->openEditor("TForm20");
    auto* workshops = qobject_cast<WorkshopsWindow*>(p.window->currentEditor());
    QVERIFY(workshops);
    JamWorkshopPage* page = workshops->jamPage();
    QVERIFY(page->openJam(ResolveGamePath(p.path("game/"), "GP3JAMS\\Liveries\\JORDAN98.JAM")));
    const Image opened = page->jam()->page();
    QAction* undo = Act(p, "Rueckgaengig1");
    QVERIFY(!undo->isEnabled());

    Image picture(opened.width(), opened.height(), 24);
    picture.fill(p.program.palette.pixel(37));
    const std::string bmp = p.path("page.bmp");
    SaveBmpFile(picture, bmp);
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return bmp; };
    QTest::mouseClick(Child<QPushButton>(workshops, "Button57"), Qt::LeftButton);
    const Image loaded = page->jam()->page();
    QVERIFY(loaded != opened);
    QVERIFY(undo->isEnabled());
    QCOMPARE(WithoutMnemonic(undo->text()), QString("Undo picture loaded into JORDAN98.JAM"));
    QVERIFY(!p.window->isWindowModified()); // the game's JAM is written only by "Save as"

    QTest::keyClick(workshops, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(page->jam()->page() == opened);
    QVERIFY(!undo->isEnabled());
    Act(p, "Wiederholen1")->trigger();
    QVERIFY(page->jam()->page() == loaded);
    QVERIFY(p.app->session.edits.size() == 0);

    // A file name beyond Windows-1252's ASCII half is named as it is spelt.
    const std::string bridge = p.path("Br\u00FCcke.JAM");
    QVERIFY(CopyFileForced(ResolveGamePath(p.path("game/"), "GP3JAMS\\Liveries\\JORDAN98.JAM"), bridge));
    QVERIFY(page->openJam(bridge));
    QTest::mouseClick(Child<QPushButton>(workshops, "Button57"), Qt::LeftButton);
    QCOMPARE(WithoutMnemonic(undo->text()), QString("Undo picture loaded into Br\u00FCcke.JAM"));
}

// The workshop's JAM is written only by "Save as": another editor, another
// JAM or quitting asks first while pictures loaded into it are unsaved.
void UndoAndQuitTest::picturesLoadedIntoTheWorkshopJamAreAskedAboutBeforeTheyGo()
{
    GuiProgram p(2, kEnglish);
    p.app->askAboutOpenJam = nullptr; // the real question box
    StartImported(p);
    p.window->openEditor("TForm20");
    auto* workshops = qobject_cast<WorkshopsWindow*>(p.window->currentEditor());
    QVERIFY(workshops);
    JamWorkshopPage* page = workshops->jamPage();
    const std::string jordan = ResolveGamePath(p.path("game/"), "GP3JAMS\\Liveries\\JORDAN98.JAM");
    QVERIFY(page->openJam(jordan));
    const Bytes original = FileBytes(jordan);
    Image picture(page->jam()->page().width(), page->jam()->page().height(), 24);
    picture.fill(p.program.palette.pixel(37));
    SaveBmpFile(picture, p.path("page.bmp"));
    std::optional<std::string> saveAs;
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return p.path("page.bmp"); };
    p.app->chooseFileToSave = [&](const FileRequest&) { return saveAs; };
    QTest::mouseClick(Child<QPushButton>(workshops, "Button57"), Qt::LeftButton);
    const Image loaded = page->jam()->page();

    int asked = 0;
    auto answer = [&](const char* button) { AnswerNext("UnsavedJamQuestion", button, asked); };
    answer("Cancel");
    Act(p, "TeamsFahrer1")->trigger();
    QCOMPARE(asked, 1);
    QCOMPARE(p.window->currentEditor(), static_cast<EditorWindow*>(workshops));
    answer("Cancel");
    Act(p, "Beenden1")->trigger();
    QCOMPARE(asked, 2);
    QVERIFY(!p.app->shutDown);
    QVERIFY(page->jam()->page() == loaded);

    // Saved as a picture, the JAM's records are not: still asked. Save with
    // the save dialog cancelled keeps the program.
    saveAs = p.path("page-copy.bmp");
    Click(workshops, "Button39");
    QVERIFY(FileExists(*saveAs));
    saveAs.reset();
    answer("SaveJamFirst");
    Act(p, "Beenden1")->trigger();
    QCOMPARE(asked, 3);
    QVERIFY(!p.app->shutDown);

    // Saved as a JAM: the program goes on without asking.
    saveAs = p.path("saved.JAM");
    answer("SaveJamFirst");
    Act(p, "Beenden1")->trigger();
    QCOMPARE(asked, 4);
    QVERIFY(p.app->shutDown);
    TJAMFile saved(p.program.palette);
    QVERIFY(LoadJam(saved, *saveAs, false, nullptr));
    QVERIFY(saved.page() == loaded);
    QVERIFY(FileBytes(jordan) == original); // the game's JAM untouched
}

// One typed value or click in the tracks, cockpit and misc editors: Edit >
// Undo gives the imported tables back exactly, Redo the edited ones.
void UndoAndQuitTest::editsInTheOtherEditorsAreUndoneAndRedoneExactly()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    WorkingSet& data = p.app->workingSet();
    const WorkingSet imported = data;
    auto same = [&](const WorkingSet& a) {
        return data.tracks.info == a.tracks.info && data.cockpit.lcdTexts == a.cockpit.lcdTexts
            && data.settings == a.settings && data.teams == a.teams;
    };
    struct Edit {
        const char* editor;
        const char* control;
        const char* typed; // none: a click
    };
    for (const Edit& edit : {Edit{"TForm13", "SpinEdit1", "77"}, Edit{"TForm16", "SpinEdit3", "33"},
                             Edit{"TForm18", "CheckBox2", nullptr}}) {
        p.window->openEditor(edit.editor);
        EditorWindow* editor = p.window->currentEditor();
        QWidget* control = Child<QWidget>(editor, edit.control);
        ShowPagesOf(control);
        const std::size_t steps = p.app->session.edits.size();
        const WorkingSet before = data;
        if (edit.typed) {
            TypeInto(control, edit.typed);
        } else {
            // On the box itself: the row is wider than box and caption.
            QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
            QTest::qWait(20);
        }
        QVERIFY2(p.app->session.edits.size() == steps + 1, edit.control);
        QVERIFY2(!same(imported), edit.control);
        QVERIFY2(!same(before), edit.control);
    }
    const WorkingSet edited = data;
    for (int i = 0; i < 3; ++i)
        Act(p, "Rueckgaengig1")->trigger();
    QVERIFY(same(imported));
    QVERIFY(!p.window->isWindowModified());
    for (int i = 0; i < 3; ++i)
        Act(p, "Wiederholen1")->trigger();
    QVERIFY(same(edited));
}

// A text edited in its dialog: the edit is taken in once the dialog closes,
// so Edit > Undo offers it at once (not only after the next click).
void UndoAndQuitTest::aTextEditedInItsDialogIsAStepOnceTheDialogCloses()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    p.window->openEditor("TForm14");
    auto* editor = qobject_cast<TextsEditor*>(p.window->currentEditor());
    QVERIFY(editor);
    const GameTexts imported = p.app->workingSet().gameTexts;
    editor->selectText(10);
    OnModal([](QWidget* modal) {
        auto* dialog = qobject_cast<TextEditDialog*>(modal);
        if (!dialog)
            return true;
        dialog->memo()->setPlainText("Boxenstopp");
        dialog->accept();
        return false;
    });
    QTest::mouseClick(Child<QPushButton>(editor, "Button32"), Qt::LeftButton);
    QTest::qWait(150);
    QVERIFY(p.app->workingSet().gameTexts != imported);
    QAction* undo = Act(p, "Rueckgaengig1");
    QVERIFY(undo->isEnabled());
    const GameTexts edited = p.app->workingSet().gameTexts;
    undo->trigger();
    QVERIFY(p.app->workingSet().gameTexts == imported);
    Act(p, "Wiederholen1")->trigger();
    QVERIFY(p.app->workingSet().gameTexts == edited);
}

void UndoAndQuitTest::quittingWithAnEditAsks()
{
    GuiProgram p(2, kEnglish);
    p.app->askAboutEdits = nullptr; // the real question box
    StartImported(p);
    TypeInto(Child<QLineEdit>(p.window->currentEditor(), "Edit2"), "EngineX");

    int asked = 0;
    auto answer = [&](const char* button) { AnswerNext("UnsavedChangesQuestion", button, asked); };
    answer("CancelQuestion");
    Act(p, "Beenden1")->trigger();
    QCOMPARE(asked, 1);
    QVERIFY(!p.app->shutDown); // still running, the edit still there
    QCOMPARE(p.app->workingSet().teams.teams[0].engine.text(), std::string("EngineX"));

    // Importing over the edit asks too; Cancel keeps it.
    answer("CancelQuestion");
    Act(p, "Allesimportieren1")->trigger();
    QCOMPARE(asked, 2);
    QCOMPARE(p.app->workingSet().teams.teams[0].engine.text(), std::string("EngineX"));

    // "Programm beenden" in the options asks the same; Cancel keeps both.
    answer("CancelQuestion");
    OnModal([](QWidget* modal) {
        auto* options = qobject_cast<OptionsDialog*>(modal);
        if (!options)
            return true;
        Click(options, "BitBtn2");
        options->reject();
        return false;
    });
    Act(p, "Optionen2")->trigger();
    QCOMPARE(asked, 3);
    QVERIFY(!p.app->shutDown);
    QCOMPARE(p.app->workingSet().teams.teams[0].engine.text(), std::string("EngineX"));

    answer("DiscardEdits");
    p.window->move(p.window->x() + 7, p.window->y() + 5);
    const QPoint place = p.window->frameGeometry().topLeft();
    Act(p, "Beenden1")->trigger();
    QCOMPARE(asked, 4);
    QVERIFY(p.app->shutDown);
    // Where the window stood is kept for the next start.
    const auto kept = ReadMainWindowPosition(p.program.directories.settingsFile());
    QVERIFY(kept);
    QCOMPARE(QPoint(kept->left, kept->top), place);
}

void UndoAndQuitTest::exportFromTheQuestionWritesTheEdit()
{
    GuiProgram p(2, kEnglish);
    p.app->askAboutEdits = nullptr;
    StartImported(p);
    TypeInto(Child<QLineEdit>(p.window->currentEditor(), "Edit2"), "EngineX");
    OnModal([](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->objectName() == "UnsavedChangesQuestion") {
            box->findChild<QPushButton*>("ExportFirst")->click();
            return true;
        }
        if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal)) {
            confirm->accept();
            return false;
        }
        return true;
    });
    Act(p, "Beenden1")->trigger();
    QVERIFY(p.app->shutDown);
    // The game's files hold the edit: a new program imports it.
    GuiProgram second(0, kEnglish);
    second.program.settings.gameDirectory = p.path("game/");
    QVERIFY(second.window->firstActivation());
    second.window->findChild<QAction*>("Allesimportieren1")->trigger();
    QCOMPARE(second.app->workingSet().teams.teams[0].engine.text(), std::string("EngineX"));
}

// An export or carset save of some items leaves the edits of the others
// unsaved: the title keeps its mark and quitting would still ask.
void UndoAndQuitTest::aRunOfSomeItemsKeepsTheOthersEditsUnsaved()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    TypeInto(Child<QLineEdit>(p.window->currentEditor(), "Edit2"), "EngineX"); // item 1
    QVERIFY(p.window->isWindowModified());
    p.app->chooseFileToSave = [&](const FileRequest&) { return std::optional<std::string>(p.path("Part.GMS")); };
    // Ticks exactly these boxes in the selection dialog. The points are the
    // game's own, so the export finds nothing to write and asks nothing more.
    auto choose = [](std::vector<int> items) {
        OnModal([items](QWidget* modal) {
            auto* d = qobject_cast<SelectionDialogWindow*>(modal);
            if (!d)
                return true;
            d->allBox()->click();
            if (d->box(1)->isChecked())
                d->allBox()->click();
            for (int item : items)
                d->box(item)->click();
            d->accept();
            return false;
        });
    };
    choose({kPointsItem});
    Act(p, "Exportieren1")->trigger();
    QVERIFY(p.window->isWindowModified());
    choose({kPointsItem});
    Act(p, "Setspeichern1")->trigger();
    QVERIFY(std::filesystem::exists(NativePath(p.path("Part.GMS"))));
    QVERIFY(p.window->isWindowModified());

    // Everything the data holds written: saved.
    OnModal([](QWidget* modal) {
        if (auto* d = qobject_cast<SelectionDialogWindow*>(modal)) {
            d->allBox()->click();
            if (!d->box(1)->isChecked())
                d->allBox()->click();
            d->accept();
            return true;
        }
        if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal))
            confirm->accept();
        return false;
    });
    Act(p, "Exportieren1")->trigger();
    QVERIFY(!p.window->isWindowModified());
}

// Two edits made outside the editors' fields: a cockpit sheet loaded over
// the imported graphics, and the carset information changed in its window.
// Each marks the data unsaved and is undone and redone.
void UndoAndQuitTest::aCockpitSheetAndTheCarsetInformationAreEditsToo()
{
    GuiProgram p(2, kEnglish);
    StartImported(p);
    p.window->openEditor("TForm16");
    EditorWindow* editor = p.window->currentEditor();
    const CockpitGraphicsSet& set = p.app->workingSet().cockpit.graphics[0];
    QVERIFY(set.loaded());
    const Image imported = set.jams[0].page();
    const std::string sheet = p.path("sheet.BMP");
    p.app->chooseFileToSave = [&](const FileRequest&) { return std::optional<std::string>(sheet); };
    p.app->chooseFileToOpen = [&](const FileRequest&) { return std::optional<std::string>(sheet); };
    QTest::mouseClick(Child<QPushButton>(editor, "Button7"), Qt::LeftButton);
    QVERIFY(!p.window->isWindowModified());
    Image picture = LoadBmpFile(sheet);
    const Pixel colour = p.program.palette.pixel(77);
    picture.fillRect({0, 0, 10, 10}, colour);
    SaveBmpFile(picture, sheet);
    QTest::mouseClick(Child<QPushButton>(editor, "Button8"), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(set.jams[0].page().pixel(5, 5), colour);
    QVERIFY(p.window->isWindowModified());
    Act(p, "Rueckgaengig1")->trigger();
    QVERIFY(set.jams[0].page() == imported);
    QVERIFY(set.preview == ComposeCockpitPreview(set.jams));
    QVERIFY(!p.window->isWindowModified());
    Act(p, "Wiederholen1")->trigger();
    QCOMPARE(set.jams[0].page().pixel(5, 5), colour);
    QCOMPARE(set.preview.pixel(5, 5), colour);

    const CarsetInfo before = p.app->workingSet().carsetInfo;
    Act(p, "Rueckgaengig1")->trigger();
    OnModal([](QWidget* modal) {
        if (modal->objectName() != "TForm19")
            return true;
        Child<QLineEdit>(modal, "Edit15")->setText("Somebody Else");
        Click(modal, "BitBtn1");
        return false;
    });
    Act(p, "CarsetInformationeditieren1")->trigger();
    QCOMPARE(p.app->workingSet().carsetInfo.lines.at(1), std::string("Somebody Else"));
    QVERIFY(p.window->isWindowModified());
    Act(p, "Rueckgaengig1")->trigger();
    QVERIFY(p.app->workingSet().carsetInfo == before);
    QVERIFY(!p.window->isWindowModified());
}

QTEST_MAIN(UndoAndQuitTest)
#include "UndoAndQuitTest.moc"
