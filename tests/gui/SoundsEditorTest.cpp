#include "GuiTestSupport.h"

#include "SoundModule.h"
#include "SoundsEditor.h"
#include "TestWavs.h"
#include "formats/SoundBank.h"
#include "formats/WavConversion.h"
#include "sounds/SoundsArea.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QTest>

#include <algorithm>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {} // namespace

class SoundsEditorTest : public QObject {
    Q_OBJECT
private slots:
    void nothingLoadedMeansAnEmptyListAndNoActions();
    void marksFollowTheRowsAndSelectAll();
    void replacingOneOrAllSoundsMarksThem();
    void wavsOfOtherToolsAreConvertedAndSaidSo();
    void playingSaysWhyItCannot();
    void playingWithoutAUsableSoundModuleSaysWhich();
    void playingGoesThroughTheSoundModule();
};

void SoundsEditorTest::nothingLoadedMeansAnEmptyListAndNoActions()
{
    GuiProgram p;
    SoundsEditor* editor = openEditor<SoundsEditor>(p, "TForm17");
    QVERIFY(editor);
    QCOMPARE(editor->objectName(), QString("TForm17"));
    QCOMPARE(Child<QTreeWidget>(editor, "ListView1")->topLevelItemCount(), 0);
    for (const char* name : {"Button58", "Button59", "Button60", "BitBtn26", "BitBtn27", "Button19", "CheckBox3"})
        QVERIFY2(!Enabled(editor, name), name);
    QVERIFY(Enabled(editor, "Button18"));

    Click(editor, "Button18");
    auto* list = Child<QTreeWidget>(editor, "ListView1");
    QCOMPARE(list->topLevelItemCount(), 132);
    QCOMPARE(list->topLevelItem(7)->text(1), QString("524288"));
    QVERIFY(Child<QLabel>(editor, "Label90")->text().contains("132"));
    for (const char* name : {"Button58", "Button59", "Button60", "BitBtn26", "BitBtn27", "Button19"})
        QVERIFY2(Enabled(editor, name), name);
}

void SoundsEditorTest::marksFollowTheRowsAndSelectAll()
{
    GuiProgram p;
    SoundsEditor* editor = openEditor<SoundsEditor>(p, "TForm17");
    QVERIFY(editor);
    Click(editor, "Button18");
    auto* all = Child<QCheckBox>(editor, "CheckBox3");
    all->click();
    const SoundTable& table = p.app->workingSet().sounds;
    QVERIFY(std::all_of(table.marks.begin(), table.marks.end(), [](auto m) { return m == 1; }));
    QVERIFY(p.app->editorStates.sounds.selectAll);

    // Unchecking one row clears "Alle anwählen", in the window and when it
    // is shown again.
    auto* list = Child<QTreeWidget>(editor, "ListView1");
    list->topLevelItem(4)->setCheckState(0, Qt::Unchecked);
    QVERIFY(!all->isChecked());
    QCOMPARE(table.marks[4], std::uint8_t{0});
    p.window->openEditor("TForm12");
    QVERIFY(!p.app->editorStates.sounds.selectAll);
    p.window->openEditor("TForm17");
    editor = qobject_cast<SoundsEditor*>(p.window->currentEditor());
    QVERIFY(!Child<QCheckBox>(editor, "CheckBox3")->isChecked());
    list = Child<QTreeWidget>(editor, "ListView1");
    QCOMPARE(list->topLevelItem(4)->checkState(0), Qt::Unchecked);
    QCOMPARE(list->topLevelItem(5)->checkState(0), Qt::Checked);
}

void SoundsEditorTest::replacingOneOrAllSoundsMarksThem()
{
    GuiProgram p;
    SoundsEditor* editor = openEditor<SoundsEditor>(p, "TForm17");
    QVERIFY(editor);
    Click(editor, "Button18");
    SoundTable& table = p.app->workingSet().sounds;
    const SoundTable before = table;
    const std::string folder = p.path("wavs/");
    ForceDirectories(folder);

    // Extract all, then a folder with only SOUND3.WAV: sound 3 alone changes.
    editor->chooseFolder = [&]() -> std::optional<std::string> { return folder; };
    Click(editor, "BitBtn26");
    QVERIFY(FileExists(folder + "Sound131.WAV"));
    QCOMPARE(p.numbers().back(), 531);
    const std::string only = p.path("only/");
    ForceDirectories(only);
    pitwall::test::WriteBytes(only + "SOUND3.WAV",
                              MakeSoundWav({4, 8000, 0, 8}, std::vector<std::uint8_t>{1, 2, 3, 4}));
    editor->chooseFolder = [&]() -> std::optional<std::string> { return only; };
    Click(editor, "BitBtn27");
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
        if (i == 3) {
            QCOMPARE(table.entries[i].dataSize, 4u);
            QCOMPARE(table.entries[i].sampleRate, std::uint16_t{8000});
        } else {
            QVERIFY(table.entries[i] == before.entries[i]);
        }
        QCOMPARE(table.marks[i], std::uint8_t(i == 3 ? 1 : 0));
    }
    auto* list = Child<QTreeWidget>(editor, "ListView1");
    QCOMPARE(list->topLevelItem(3)->text(1), QString("4"));
    QCOMPARE(list->topLevelItem(3)->checkState(0), Qt::Checked);

    // Replacing sound 5 marks it, although its row was unchecked.
    list->setCurrentItem(list->topLevelItem(5));
    std::string key;
    p.app->chooseFileToOpen = [&](const FileRequest& r) -> std::optional<std::string> {
        key = r.key;
        return folder + "Sound6.WAV";
    };
    Click(editor, "Button60");
    QCOMPARE(QString::fromStdString(key), QString("WAVLoad"));
    QCOMPARE(table.marks[5], std::uint8_t{1});
    QVERIFY(table.entries[5].dataSize == before.entries[6].dataSize);
    QCOMPARE(list->topLevelItem(5)->checkState(0), Qt::Checked);
}

void SoundsEditorTest::wavsOfOtherToolsAreConvertedAndSaidSo()
{
    GuiProgram p;
    SoundsEditor* editor = openEditor<SoundsEditor>(p, "TForm17");
    QVERIFY(editor);
    Click(editor, "Button18");
    SoundTable& table = p.app->workingSet().sounds;
    const SoundTable before = table;
    const std::string stereo = p.path("stereo.wav");
    pitwall::test::WriteSineWav(stereo, {48000, SF_FORMAT_PCM_16, {0.5, 0.5}, 4800});
    auto* list = Child<QTreeWidget>(editor, "ListView1");
    list->setCurrentItem(list->topLevelItem(2));
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return stereo; };
    Click(editor, "Button60");
    QCOMPARE(p.numbers().back(), kSoundConvertedText);
    const std::string said = p.messages.back().text;
    QVERIFY2(said.find("stereo.wav") != std::string::npos && said.find("48000 Hz 16-bit stereo") != std::string::npos,
             said.c_str());
    QCOMPARE(table.entries[2].sampleRate, before.entries[2].sampleRate);
    QCOMPARE(list->topLevelItem(2)->text(1), QString::number(table.entries[2].dataSize));

    // Replace all: the file that is no sound is named and skipped, the
    // others go in, and one message lists what was converted.
    const std::string folder = p.path("mixed/");
    ForceDirectories(folder);
    pitwall::test::WriteSineWav(folder + "SOUND7.WAV", {48000, SF_FORMAT_FLOAT, {0.5}, 4800});
    pitwall::test::WriteText(folder + "SOUND8.WAV", "not a sound");
    editor->chooseFolder = [&]() -> std::optional<std::string> { return folder; };
    const std::size_t shownBefore = p.messages.size();
    Click(editor, "BitBtn27");
    QCOMPARE(p.messages.size(), shownBefore + 2);
    QCOMPARE(p.messages[shownBefore].number, kNotASoundText);
    QVERIFY(p.messages[shownBefore].text.find("SOUND8.WAV") != std::string::npos);
    QVERIFY(p.messages.back().text.find("SOUND7.WAV was converted from 48000 Hz 32-bit float mono")
            != std::string::npos);
    QCOMPARE(table.marks[7], std::uint8_t{1});
    QVERIFY(table.entries[8] == before.entries[8]);
}

void SoundsEditorTest::playingSaysWhyItCannot()
{
    GuiProgram p;
    SoundsEditor* editor = openEditor<SoundsEditor>(p, "TForm17");
    QVERIFY(editor);
    Click(editor, "Button18");
    editor->hasAudioOutput = [] { return false; };
    Click(editor, "Button58");
    QCOMPARE(p.numbers().back(), 720);
    QVERIFY(!editor->playing());

    DeleteFileForced(p.program.directories.working + "Sound0.DAT");
    Click(editor, "Button58");
    QCOMPARE(p.numbers().back(), 212);
    QVERIFY(p.messages.back().text.find("Sound0.DAT!") != std::string::npos);
}

// The sound module is looked for next to the program; missing or broken, the
// play button names it and nothing plays.
void SoundsEditorTest::playingWithoutAUsableSoundModuleSaysWhich()
{
    GuiProgram p;
    SoundsEditor* editor = openEditor<SoundsEditor>(p, "TForm17");
    QVERIFY(editor);
    Click(editor, "Button18");
    QDir().mkpath(QString::fromStdString(p.path("empty")));
    editor->soundModuleDirectory = QString::fromStdString(p.path("empty"));
    Click(editor, "Button58");
    QCOMPARE(p.numbers().back(), 212);
    QVERIFY(QString::fromStdString(p.messages.back().text).contains(SoundModuleFileName()));
    QVERIFY(!editor->playing());
    Click(editor, "Button58"); // asked again: the same answer, no crash
    QCOMPARE(p.numbers().back(), 212);

    // Not a loadable library at all.
    const QString broken = QString::fromStdString(p.path("broken"));
    QDir().mkpath(broken);
    QFile file(broken + "/" + SoundModuleFileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    const SoundModuleLoad load = LoadSoundModule(broken);
    QVERIFY(!load.player);
    QVERIFY(!load.reason.isEmpty());

    GuiProgram q;
    SoundsEditor* other = openEditor<SoundsEditor>(q, "TForm17");
    QVERIFY(other);
    Click(other, "Button18");
    other->soundModuleDirectory = broken;
    Click(other, "Button58");
    QCOMPARE(q.messages.back().number, -1);
    QVERIFY(QString::fromStdString(q.messages.back().text).startsWith(file.fileName() + ": "));
    QVERIFY(!other->playing());
}

// The module of the build plays, or says that there is no audio output.
void SoundsEditorTest::playingGoesThroughTheSoundModule()
{
    const SoundModuleLoad load = LoadSoundModule(PITWALL_RUNTIME_DIR);
    QVERIFY2(load.player, qPrintable(load.file + ": " + load.reason));

    GuiProgram p;
    SoundsEditor* editor = openEditor<SoundsEditor>(p, "TForm17");
    QVERIFY(editor);
    Click(editor, "Button18");
    editor->soundModuleDirectory = PITWALL_RUNTIME_DIR;
    const std::size_t before = p.messages.size();
    // Clicked with the mouse, as the user does: the edit history's look at
    // the editor after the click leaves the sound playing.
    p.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.window.get()));
    QTest::mouseClick(Child<QPushButton>(editor, "Button58"), Qt::LeftButton);
    QTest::qWait(50);
    if (load.player->hasAudioOutput()) {
        QCOMPARE(p.messages.size(), before);
        QCOMPARE(editor->playing(), std::optional<int>(0));
        QTest::mouseClick(Child<QPushButton>(editor, "Button58"), Qt::LeftButton); // "Stop"
        QVERIFY(!editor->playing());
    } else {
        QCOMPARE(p.numbers().back(), 720);
        QVERIFY(!editor->playing());
    }
}

QTEST_MAIN(SoundsEditorTest)
#include "SoundsEditorTest.moc"
