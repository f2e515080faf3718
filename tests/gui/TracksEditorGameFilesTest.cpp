// The tracks editor's transfers checked on the game's files byte for byte:
// "Alles exportieren" after edits on every page, and the lap records on their
// way into the savegame and back, also with values the fields cannot hold.

#include "GuiTestSupport.h"
#include "transfer/ReportedFormats.h"

#include "ExpansionDialog.h"
#include "TracksEditor.h"
#include "base/GamePath.h"
#include "formats/ArtBankPictures.h"
#include "formats/Bmp.h"
#include "formats/GameLanguages.h"
#include "formats/StringFile.h"
#include "tracks/TrackDates.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTest>

#include <map>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Bytes;
using pitwall::gui::test::Child;
using pitwall::gui::test::Click;
using pitwall::gui::test::FileBytes;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::PutU16;
using pitwall::gui::test::PutU32;

namespace {

using Installation = std::map<QString, Bytes>;

// Where v1.13 keeps the track data (GP3.EXE) and the savegame formats the
// lap records (F1GSTATE.SAV).
constexpr std::uint32_t kBaseSlot0 = 0x143E10;
constexpr std::uint32_t kRecordsBlock = 0x73C948;
constexpr std::uint32_t kSecondLaps = 0x144D2E;
constexpr std::uint32_t kSectionsStream = 0x84A392;
constexpr int kSlotStreamBytes[16] = {1380, 1444, 1560, 1256, 1136, 1156, 720,  1236,
                                      1496, 1224, 1307, 1020, 1624, 1416, 1248, 1862};

std::size_t LapRecordsOf(const GuiProgram& p) { return p.program.savegameFormat == 1 ? 0x616 : 0x6DA; }

Installation Snapshot(const GuiProgram& p)
{
    Installation files;
    const QString root = QString::fromStdString(p.path("game"));
    for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next();
        files[QDir(root).relativeFilePath(file)] = FileBytes(file);
    }
    return files;
}

void PutText(Bytes& b, std::size_t at, std::size_t width, const std::string& text)
{
    for (std::size_t i = 0; i < width; ++i)
        b[at + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
}

// The first place `needle` occurs in `hay` from `from` on, or npos; asserts
// there is no second one.
std::size_t FindOnce(const Bytes& hay, const Bytes& needle, std::size_t from, std::size_t to)
{
    auto end = hay.begin() + static_cast<std::ptrdiff_t>(to);
    auto at = std::search(hay.begin() + static_cast<std::ptrdiff_t>(from), end, needle.begin(), needle.end());
    if (at == end)
        return std::string::npos;
    if (std::search(at + 1, end, needle.begin(), needle.end()) != end)
        return std::string::npos;
    return static_cast<std::size_t>(at - hay.begin());
}

// The first difference of two byte strings, for the failure message.
QByteArray FirstDifference(const QString& file, const Bytes& want, const Bytes& got)
{
    if (want.size() != got.size())
        return (file + QString(": %1 bytes, %2 wanted").arg(got.size()).arg(want.size())).toUtf8();
    const auto [a, b] = std::mismatch(want.begin(), want.end(), got.begin());
    if (a == want.end())
        return (file + ": as wanted").toUtf8();
    return (file + QString(": byte 0x%1 is %2, %3 wanted").arg(a - want.begin(), 0, 16).arg(int{*b}).arg(int{*a}))
        .toUtf8();
}

// A small track picture of colours the art bank keeps exactly.
Image TestPicture()
{
    Image picture(498, 359, 24, MakePixel(40, 80, 120));
    for (int y = 0; y < 359; ++y)
        for (int x = 0; x < 498; x += 7)
            picture.setPixel(x, y, MakePixel(8 * (x % 32), 8 * (y % 32), 200));
    return picture;
}

void AcceptExpansion()
{
    pitwall::gui::test::OnModal([](QWidget* modal) {
        auto* dialog = qobject_cast<ExpansionDialog*>(modal);
        if (!dialog)
            return true;
        dialog->accept();
        return false;
    });
}

// The game's check of its savegame in the last four bytes: a sum and a
// rotate-and-add of every byte before them.
void PutSavegameChecksum(Bytes& save)
{
    std::uint16_t sum = save[0], rot = save[0];
    for (std::size_t at = 1; at + 4 < save.size(); ++at) {
        sum = static_cast<std::uint16_t>(sum + save[at]);
        rot = static_cast<std::uint16_t>(static_cast<std::uint16_t>(rot << 3 | rot >> 13) + save[at]);
    }
    PutU16(save, save.size() - 4, sum);
    PutU16(save, save.size() - 2, rot);
}

} // namespace

class TracksEditorGameFilesTest : public QObject {
    Q_OBJECT
private slots:
    void exportAllWritesEveryEditAndNothingElse();
    void raceLapRecordGoesToTheSavegameAndBack();
    void carsetRecordsTheFieldsCannotShowAreKept();
};

void TracksEditorGameFilesTest::exportAllWritesEveryEditAndNothingElse()
{
    GuiProgram p;
    auto* editor = pitwall::gui::test::openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    const std::size_t kSavegameRecords = LapRecordsOf(p);
    Click(editor, "Button2"); // "Alles importieren"
    const Installation before = Snapshot(p);
    TrackTable& tracks = p.app->workingSet().tracks;
    auto* pages = Child<QTabWidget>(editor, "PageControl1");
    auto* slotList = Child<QListWidget>(editor, "ListBox2");
    auto spin = [editor](const char* name) { return Child<QSpinBox>(editor, name); };
    Installation want = before;
    Bytes& exe = want["GP3.EXE"];
    Bytes& save = want["F1GSTATE.SAV"];

    // Slot 0: every number of its pages.
    slotList->setCurrentRow(0);
    const std::uint32_t base = kBaseSlot0;
    pages->setCurrentIndex(TracksEditor::kRecordsPage);
    Child<QLineEdit>(editor, "Edit1")->setText("Qualifier");
    Child<QLineEdit>(editor, "Edit2")->setText("Q Team");
    Child<QLineEdit>(editor, "MaskEdit1")->setText("1.21.004");
    Child<QDateEdit>(editor, "DateTimePicker1")->setDate(QDate(1978, 1, 2));
    PutText(save, kSavegameRecords, 24, "Qualifier");
    PutText(save, kSavegameRecords + 24, 14, "Q Team");
    PutU32(save, kSavegameRecords + 38, 81004);
    PutU16(save, kSavegameRecords + 42, 1);
    pages->setCurrentIndex(TracksEditor::kTrackDataPage);
    spin("SpinEdit1")->setValue(4321); // grip
    spin("SpinEdit2")->setValue(71);   // laps
    spin("SpinEdit3")->setValue(4300); // metres
    spin("SpinEdit4")->setValue(14108);
    spin("SpinEdit5")->setValue(333);
    spin("SpinEdit6")->setValue(334);
    spin("SpinEdit7")->setValue(2001);
    const bool friday = tracks.info[0].practiceDay == 1;
    Child<QComboBox>(editor, "ComboBox1")->setCurrentIndex(friday ? 0 : 1);
    PutU16(exe, base, 4321);
    PutU16(exe, base + 48, 333);
    PutU16(exe, base + 50, 334);
    PutU16(exe, kRecordsBlock, 2001);
    PutU16(exe, kRecordsBlock + 2, 4300);
    PutU16(exe, kRecordsBlock + 4, 14108);
    exe[kRecordsBlock + 6] = 71;
    PutU16(exe, kRecordsBlock + 7, friday ? 0x00FF : 0);
    exe[kSecondLaps] = 71;
    pages->setCurrentIndex(TracksEditor::kPitStopPage);
    const int percent = spin("SpinEdit10")->value() == 55 ? 56 : 55;
    spin("SpinEdit10")->setValue(percent);
    PutU16(exe, base + 84, static_cast<unsigned>(percent));
    pages->setCurrentIndex(TracksEditor::kSetupPage);
    for (int i = 0; i < 8; ++i) {
        const int value = i < 2 ? 3 + i : 70 + i;
        Child<QScrollBar>(editor, QString("ScrollBar%1").arg(3 + i))->setValue(value);
        exe[base - 20 + static_cast<std::uint32_t>(i)] = static_cast<std::uint8_t>(value + 151);
    }
    pages->setCurrentIndex(TracksEditor::kBumpsPage);
    auto* bumps = Child<QTreeWidget>(editor, "ListView1");
    QVERIFY(bumps->topLevelItemCount() >= 2);
    bumps->setCurrentItem(bumps->topLevelItem(1));
    spin("SpinEdit41")->setValue(2345);
    spin("SpinEdit42")->setValue(66);
    PutU16(exe, base + 160 + 4, 2345);
    PutU16(exe, base + 160 + 6, 66);

    // Slot 15: its race record, a shorter label of its first view's last
    // section and a new English city.
    slotList->setCurrentRow(15);
    pages->setCurrentIndex(TracksEditor::kRecordsPage);
    Child<QLineEdit>(editor, "Edit5")->setText("Racer");
    Child<QLineEdit>(editor, "MaskEdit2")->setText("1.40.500");
    const std::size_t race15 = kSavegameRecords + 15 * 89 + 44;
    PutText(save, race15, 24, "Racer");
    PutU32(save, race15 + 38, 100500);
    pages->setCurrentIndex(TracksEditor::kSectionsPage);
    Child<QComboBox>(editor, "ComboBox5")->setCurrentIndex(0);
    auto* sections = Child<QTreeWidget>(editor, "ListView3");
    const TrackView& view = tracks.sections[15].views[0];
    QVERIFY(view.count >= 1);
    const TrackSection last = view.sections[view.count - 1u];
    const std::string oldLabel = last.label.text();
    QVERIFY(oldLabel.size() >= 2);
    const std::string newLabel = oldLabel.substr(0, oldLabel.size() - 2) + "Z";
    sections->setCurrentItem(sections->topLevelItem(view.count - 1));
    Child<QLineEdit>(editor, "Edit50")->setText(QString::fromStdString(newLabel));
    // The entry as the stream holds it: four coordinates, the label with its
    // zero, gear and speed; the label one character shorter leaves one fill
    // byte 0xFF before the group's end.
    Bytes entry(8);
    PutU16(entry, 0, last.x1), PutU16(entry, 2, last.y1), PutU16(entry, 4, last.x2), PutU16(entry, 6, last.y2);
    entry.insert(entry.end(), oldLabel.begin(), oldLabel.end());
    entry.push_back(0);
    std::size_t slot15 = kSectionsStream + 2;
    for (int t = 0; t < 15; ++t)
        slot15 += static_cast<std::size_t>(kSlotStreamBytes[t]);
    const std::size_t at = FindOnce(exe, entry, slot15, slot15 + 1862);
    QVERIFY(at != std::string::npos);
    const std::size_t labelAt = at + 8;
    PutText(exe, labelAt, newLabel.size() + 1, newLabel);
    exe[labelAt + newLabel.size() + 1] = before.at("GP3.EXE")[labelAt + oldLabel.size() + 1];
    exe[labelAt + newLabel.size() + 2] = before.at("GP3.EXE")[labelAt + oldLabel.size() + 2];
    exe[labelAt + newLabel.size() + 3] = 0xFF;
    pages->setCurrentIndex(TracksEditor::kTextsPage);
    Click(editor, "Image21"); // English
    Child<QLineEdit>(editor, "Edit30")->setText("Testville");

    // Slot 3: a small picture of view 0.
    slotList->setCurrentRow(3);
    pages->setCurrentIndex(TracksEditor::kPicturesPage);
    Child<QComboBox>(editor, "ComboBox2")->setCurrentIndex(0);
    Child<QComboBox>(editor, "ComboBox3")->setCurrentIndex(0);
    const std::string pictureFile = p.path("picture.bmp");
    SaveBmpFile(TestPicture(), pictureFile);
    p.app->chooseFileToOpen = [&](const FileRequest&) -> std::optional<std::string> { return pictureFile; };
    Click(editor, "Button64");
    const std::string bank = p.path("game/BITMAPS/GP3ART5.BIN");
    std::vector<ArtPicture> pictures(kArtEntryCount);
    for (std::size_t e = 0; e < kArtEntryCount; ++e)
        ReadArtImage(bank, e, pictures[e], nullptr);
    pictures[566 + 4 * 3] = ArtPictureFromImage(TestPicture());

    PutSavegameChecksum(save);
    p.messages.clear();
    AcceptExpansion();
    Click(editor, "Button3"); // "Alles exportieren"
    // The one question: room for the picture in the art bank (answered yes,
    // then the expansion accepted).
    QCOMPARE(p.messages.size(), std::size_t(1));
    QVERIFY2(p.messages[0].text.find("GP3ART5.BIN") != std::string::npos, p.messages[0].text.c_str());

    // The art bank may have grown for the picture: its pictures are
    // compared, the other files byte for byte.
    const Installation after = Snapshot(p);
    for (std::size_t e = 0; e < kArtEntryCount; ++e) {
        ArtPicture now;
        ReadArtImage(bank, e, now, nullptr);
        QVERIFY2(now == pictures[e], qPrintable(QString("art bank entry %1").arg(e)));
    }
    want.erase("BITMAPS/GP3ART5.BIN");
    QVERIFY(after.count("BITMAPS/GP3ART5.BIN"));
    // The workshop's table of the bank is the enlarged one.
    ArtDirectory enlarged;
    QVERIFY(ReadArtDirectory(bank, enlarged, nullptr));
    QVERIFY(p.app->workingSet().artIndex.entries == enlarged.entries);
    const QString english = QString::fromStdString(LanguageFileGamePath(1)).replace('\\', '/');
    QVERIFY(after.count(english));
    std::vector<std::string> englishTexts = ParseStringFile(before.at(english));
    englishTexts.at(1781 + 15) = "Testville";
    QVERIFY(ParseStringFile(after.at(english)) == englishTexts);
    want.erase(english);
    QCOMPARE(after.size(), want.size() + 2);
    for (const auto& [file, bytes] : want) {
        QVERIFY2(after.count(file), qPrintable(file));
        QVERIFY2(after.at(file) == bytes, FirstDifference(file, bytes, after.at(file)).constData());
    }
}

void TracksEditorGameFilesTest::raceLapRecordGoesToTheSavegameAndBack()
{
    GuiProgram p;
    auto* editor = pitwall::gui::test::openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    Click(editor, "Button2");
    const std::size_t kSavegameRecords = LapRecordsOf(p);
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(6);
    Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(TracksEditor::kRecordsPage);
    const Bytes before = FileBytes(QString::fromStdString(p.path("game/F1GSTATE.SAV")));
    auto* driver = Child<QLineEdit>(editor, "Edit5");
    auto* team = Child<QLineEdit>(editor, "Edit6");
    auto* time = Child<QLineEdit>(editor, "MaskEdit2");
    auto* date = Child<QDateEdit>(editor, "DateTimePicker2");
    driver->setText("Race Record Holder");
    team->setText("Thirteen Char");
    time->setText("2.05.007");
    date->setDate(QDate(2004, 2, 29));
    p.messages.clear();
    Click(editor, "Button15"); // "Exportieren" of the shown slot
    QVERIFY(p.messages.empty());

    // Only the slot's race record changed: 24 + 14 bytes of names, the time
    // in milliseconds and the days since 1 January 1978.
    Bytes want = before;
    const std::size_t race = kSavegameRecords + 6 * 89 + 44;
    PutText(want, race, 24, "Race Record Holder");
    PutText(want, race + 24, 14, "Thirteen Char");
    PutU32(want, race + 38, 125007);
    PutU16(want, race + 42, static_cast<unsigned>(QDate(1978, 1, 1).daysTo(QDate(2004, 2, 29))));
    PutSavegameChecksum(want);
    const Bytes after = FileBytes(QString::fromStdString(p.path("game/F1GSTATE.SAV")));
    QVERIFY2(after == want, FirstDifference("F1GSTATE.SAV", want, after).constData());

    // Edits over it are replaced by what the game holds.
    driver->setText("Someone Else");
    time->setText("3.00.000");
    date->setDate(QDate(1990, 1, 1));
    Click(editor, "Button16"); // "Importieren"
    QCOMPARE(driver->text(), QString("Race Record Holder"));
    QCOMPARE(team->text(), QString("Thirteen Char"));
    QCOMPARE(time->text(), QString("2.05.007"));
    QCOMPARE(date->date(), QDate(2004, 2, 29));
    QCOMPARE(p.app->workingSet().tracks.info[6].race.lapTime, 125007u);
    // A team name is held to 13 characters.
    QCOMPARE(team->maxLength(), 13);
}

void TracksEditorGameFilesTest::carsetRecordsTheFieldsCannotShowAreKept()
{
    GuiProgram p;
    auto* editor = pitwall::gui::test::openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    Click(editor, "Button2");
    // A carset's records hold a lap time in milliseconds and a day number
    // of any size: a lap of over ten minutes, dates before 1978 and after
    // 2157.
    TrackInfo& track = p.app->workingSet().tracks.info[9];
    track.qualifying.lapTime = 12 * 60000 + 3456;
    track.qualifying.date = SerialOfDate({1950, 6, 1});
    track.race.lapTime = 10 * 60000;
    track.race.date = SerialOfDate({2200, 12, 24});
    // A team name of all 14 bytes the savegame keeps; the field takes 13.
    track.race.team = std::string("Fourteen Chars");
    track.practiceDay = 2; // read as Thursday
    const LapRecord qualifying = track.qualifying, race = track.race;
    auto* slotList = Child<QListWidget>(editor, "ListBox2");
    slotList->setCurrentRow(9);
    Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(TracksEditor::kRecordsPage);
    QCOMPARE(Child<QLineEdit>(editor, "MaskEdit1")->text(), QString("12.03.456"));
    QCOMPARE(Child<QDateEdit>(editor, "DateTimePicker1")->date(), QDate(1950, 6, 1));
    QCOMPARE(Child<QLineEdit>(editor, "MaskEdit2")->text(), QString("10.00.000"));
    QCOMPARE(Child<QDateEdit>(editor, "DateTimePicker2")->date(), QDate(2200, 12, 24));
    // Another slot and back, and an edit of the driver only: the records
    // stay as the carset had them.
    Child<QLineEdit>(editor, "Edit1")->setText("New Driver");
    slotList->setCurrentRow(10);
    slotList->setCurrentRow(9);
    QCOMPARE(track.qualifying.driver.text(), std::string("New Driver"));
    QCOMPARE(track.qualifying.lapTime, qualifying.lapTime);
    QCOMPARE(track.qualifying.date, qualifying.date);
    QVERIFY(track.race == race);
    QCOMPARE(int{track.practiceDay}, 2);
    // A long lap typed in is taken as it stands.
    Child<QLineEdit>(editor, "MaskEdit2")->setText("11.22.333");
    Child<QDateEdit>(editor, "DateTimePicker2")->setDate(QDate(1960, 2, 3));
    slotList->setCurrentRow(10);
    QCOMPARE(track.race.lapTime, 11u * 60000 + 22333);
    QCOMPARE(track.race.date, SerialOfDate({1960, 2, 3}));
    // Typed short, the last group is tenths or hundredths of a second;
    // seconds past 59 are not taken.
    auto* time = Child<QLineEdit>(editor, "MaskEdit2");
    time->setFocus();
    time->selectAll();
    QTest::keyClicks(time, "1.33.2"); // into slot 10's record
    slotList->setCurrentRow(9);
    QCOMPARE(p.app->workingSet().tracks.info[10].race.lapTime, 93200u);
    slotList->setCurrentRow(10);
    QCOMPARE(time->text(), QString("1.33.200"));
    time->selectAll();
    QTest::keyClicks(time, "1.75.1");
    QCOMPARE(time->text(), QString("1.7.1"));
    // Half a time is not taken. While it is typed (each key taken in as an
    // edit) the field keeps it; once the user has left the field, it shows
    // the record's time again.
    editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(editor));
    time->setFocus();
    QTRY_VERIFY(time->hasFocus());
    time->selectAll();
    for (char key : std::string("1.19")) {
        QTest::keyClick(time, key);
        QCoreApplication::processEvents();
    }
    QCOMPARE(time->text(), QString("1.19"));
    editor->store();
    QCOMPARE(p.app->workingSet().tracks.info[10].race.lapTime, 67100u); // 1.7.1, typed whole before
    Child<QLineEdit>(editor, "Edit1")->setFocus();
    QTRY_COMPARE(time->text(), QString("1.07.100"));
}

QTEST_MAIN(TracksEditorGameFilesTest)
#include "TracksEditorGameFilesTest.moc"
