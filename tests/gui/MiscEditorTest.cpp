#include "GuiTestSupport.h"

#include "CarOutline.h"
#include "MiscEditor.h"
#include "settings/SettingsValues.h"
#include "transfer/SavegameChecksum.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QTest>

#include <cmath>
#include <limits>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {

QSpinBox* Spin(QObject* window, const QString& name) { return Child<QSpinBox>(window, name); }

QString Line(const UITexts& texts, int number, int line)
{
    return FromGameText(texts.text(number)).split('\n').value(line, "(missing line)");
}

// Pointer over a field of the damage page.
void Hover(QWidget* field)
{
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(field, &enter);
}

QColor PixelOfPart(MiscEditor* editor, int part)
{
    return Child<CarOutline>(editor, "Image1")->image().pixelColor(kCarPartPoints[static_cast<std::size_t>(part)] * 2);
}

} // namespace

class MiscEditorTest : public QObject {
    Q_OBJECT
private slots:
    void eachPageImportsAndExportsOnlyItsOwnItem();
    void presetsAidsAndPlayerCar();
    void camerasKeepTheirAnglesAndTheEditorItsPlace();
    void damageFieldsHighlightTheirPart();
    void standardLoadsOnlyThePagesItem();
};

void MiscEditorTest::eachPageImportsAndExportsOnlyItsOwnItem()
{
    GuiProgram p;
    MiscEditor* editor = openEditor<MiscEditor>(p, "TForm18");
    QVERIFY(editor);
    const UITexts& texts = p.program.texts;
    auto* pages = Child<QTabWidget>(editor, "PageControl1");
    QCOMPARE(pages->count(), 6);
    QCOMPARE(editor->windowTitle(), FromGameText(texts.text(82)));
    QCOMPARE(pages->tabText(5), FromGameText(texts.text(89)));
    QCOMPARE(Child<QLabel>(editor, "PartLabel22")->text(), Line(texts, 101, 21));
    QCOMPARE(Child<QCheckBox>(editor, "CheckBox2")->text(), Line(texts, 103, 10));
    QCOMPARE(Child<QComboBox>(editor, "ComboBox1")->itemText(1), Line(texts, 103, 5));
    QCOMPARE(Child<QListWidget>(editor, "ListBox1")->item(8)->text(), FromGameText(texts.format(383, Args(9))));
    QCOMPARE(Child<QPushButton>(editor, "StandardButton6")->text(), FromGameText(texts.text(93)));

    const auto exe = ::pitwall::test::ReadBytes(p.path("game/GP3.EXE"));
    const auto save = ::pitwall::test::ReadBytes(p.path("game/F1GSTATE.SAV"));
    TransferState& transfer = p.app->workingSet().transfer;
    transfer.loaded = {};
    editor->restore();
    const int items[] = {2, 3, 103, 119, 4, 120};
    for (int page = 0; page < 6; ++page) {
        QVERIFY(!Child<QWidget>(editor, QString("PagePanel%1").arg(page + 1))->isEnabled());
        QVERIFY(Child<QWidget>(editor, QString("TransferGroup%1").arg(page + 1))->isEnabled());
    }
    for (int page = 0; page < 6; ++page) {
        pages->setCurrentIndex(page);
        QCOMPARE(Child<QLabel>(editor, "Panel0")->text(), FromGameText(texts.text(843)));
        Click(editor, QString("ImportButton%1").arg(page + 1));
        for (int other = 0; other < 6; ++other)
            QCOMPARE(transfer.isLoaded(items[other]), other <= page);
        QVERIFY(!transfer.isLoaded(1));
        QVERIFY(Child<QWidget>(editor, QString("PagePanel%1").arg(page + 1))->isEnabled());
        QCOMPARE(Child<QLabel>(editor, "Panel0")->text(), FromGameText(texts.text(842)));
    }
    QCOMPARE(Spin(editor, "SpinEdit14")->value(), int(exe[0x73C9EA]));
    QCOMPARE(Spin(editor, "SpinEdit35")->value(), int(exe[0x73C9EA + 21]));
    QCOMPARE(Spin(editor, "QuickRaceLaps")->value(), int(save[0x6D8]));
    QCOMPARE(Spin(editor, "PitSpeed")->value(), ((exe[0x1308D8] | exe[0x1308D9] << 8) - 392) / 324);

    // Exporting every page unchanged writes nothing new.
    for (int page = 0; page < 6; ++page)
        Click(editor, QString("ExportButton%1").arg(page + 1));
    QVERIFY(p.numbers().empty());
    QVERIFY(::pitwall::test::ReadBytes(p.path("game/GP3.EXE")) == exe);
    QVERIFY(::pitwall::test::ReadBytes(p.path("game/F1GSTATE.SAV")) == save);

    // A change on one page goes out with that page's export only.
    Spin(editor, "PitSpeed")->setValue(200);
    Spin(editor, "SpinEdit14")->setValue(99);
    Click(editor, "ExportButton5");
    auto written = ::pitwall::test::ReadBytes(p.path("game/GP3.EXE"));
    QCOMPARE(written[0x1308D8] | written[0x1308D9] << 8, 65192);
    QCOMPARE(int(written[0x73C9EA]), int(exe[0x73C9EA]));
    auto savegame = ::pitwall::test::ReadBytes(p.path("game/F1GSTATE.SAV"));
    QCOMPARE(StoredSavegameChecksum(savegame), ComputeSavegameChecksum(savegame));
}

void MiscEditorTest::presetsAidsAndPlayerCar()
{
    GuiProgram p;
    MiscEditor* editor = openEditor<MiscEditor>(p, "TForm18");
    QVERIFY(editor);
    for (int page = 1; page <= 6; ++page)
        Click(editor, QString("ImportButton%1").arg(page));
    GameSettings& s = p.app->workingSet().settings;

    Click(editor, "PresetButton3"); // "Punkte für alle"
    QCOMPARE(Spin(editor, "SpinEdit14")->value(), 22);
    QCOMPARE(Spin(editor, "SpinEdit35")->value(), 1);
    Click(editor, "PresetButton2"); // CART
    QCOMPARE(Spin(editor, "SpinEdit25")->value(), 1);
    QCOMPARE(Spin(editor, "SpinEdit26")->value(), 0);
    Click(editor, "PresetButton1");
    editor->store();
    QCOMPARE(s.points, PresetPoints(PointsPreset::Formula1));

    Click(editor, "AllButton1");
    editor->store();
    QCOMPARE(s.aids.masks[0], std::uint16_t(0x037F));
    for (int aid = 1; aid <= 8; ++aid)
        Child<QToolButton>(editor, QString("AidButton1_%1").arg(aid))->setChecked(false);
    Child<QToolButton>(editor, "AidButton5_5")->setChecked(false);
    for (int aid : {1, 2})
        Child<QToolButton>(editor, QString("AidButton5_%1").arg(aid))->setChecked(true);
    editor->store();
    QCOMPARE(s.aids.masks[0], std::uint16_t(0x0040));
    QCOMPARE(s.aids.masks[4] & 0x0003, 0x0003);
    QCOMPARE(s.aids.masks[4] & 0x0100, 0);

    auto* performance = Child<QComboBox>(editor, "ComboBox1");
    auto* qualifying = Spin(editor, "PerformanceQualifying");
    auto* race = Spin(editor, "PerformanceRace");
    performance->setCurrentIndex(1); // the chosen team's performance
    QVERIFY(!qualifying->isEnabled());
    QVERIFY(!race->isEnabled());
    editor->store();
    QCOMPARE(s.misc.presetPerformance, std::uint8_t(0));
    performance->setCurrentIndex(0);
    QVERIFY(qualifying->isEnabled());
    QVERIFY(race->isEnabled());

    // A weight the game file does not hold as a usable number shows 0 and
    // stays as it is until the user types one.
    // So do a carset's bytes of 2 where the game reads zero or not.
    s.misc.weight = std::numeric_limits<double>::quiet_NaN();
    s.misc.presetPerformance = s.misc.keepTrackRecords = s.misc.showComputerFuel = 2;
    editor->restore();
    QCOMPARE(Spin(editor, "Weight")->value(), 0);
    editor->store();
    QVERIFY(std::isnan(s.misc.weight));
    QCOMPARE(s.misc.presetPerformance, std::uint8_t(2));
    QCOMPARE(s.misc.keepTrackRecords, std::uint8_t(2));
    QCOMPARE(s.misc.showComputerFuel, std::uint8_t(2));
    Spin(editor, "Weight")->setValue(1000);
    editor->store();
    QCOMPARE(s.misc.weight, 1000.0);
}

void MiscEditorTest::camerasKeepTheirAnglesAndTheEditorItsPlace()
{
    GuiProgram p;
    MiscEditor* editor = openEditor<MiscEditor>(p, "TForm18");
    QVERIFY(editor);
    Click(editor, "ImportButton6");
    OnboardCameras& cameras = p.app->workingSet().settings.cameras;
    // An angle between two whole degrees stays as the game has it while the
    // field is not changed.
    cameras.cameras[1].words[CameraRecord::Roll] = 1000; // 5.49 degrees
    editor->restore();
    auto* list = Child<QListWidget>(editor, "ListBox1");
    list->setCurrentRow(1);
    QCOMPARE(Spin(editor, "CameraWord6")->value(), 5);
    Spin(editor, "CameraWord4")->setValue(90);   // direction
    Spin(editor, "CameraWord5")->setValue(-180); // pitch
    Spin(editor, "CameraWord1")->setValue(-123); // X
    list->setCurrentRow(4);
    QCOMPARE(int(cameras.cameras[1].words[CameraRecord::Direction]), 16380);
    QCOMPARE(int(static_cast<std::uint16_t>(cameras.cameras[1].words[CameraRecord::Pitch])), 0x8008);
    QCOMPARE(int(cameras.cameras[1].words[CameraRecord::Roll]), 1000);
    QCOMPARE(int(cameras.cameras[1].words[CameraRecord::X]), -123);
    list->setCurrentRow(1);
    QCOMPARE(Spin(editor, "CameraWord4")->value(), 90);
    QCOMPARE(Spin(editor, "CameraWord5")->value(), -180);

    // Page and camera are remembered from one opening to the next, and hiding writes back.
    Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(5);
    list->setCurrentRow(7);
    Spin(editor, "CameraWord10")->setValue(-7);
    p.window->openEditor("TForm12");
    QCOMPARE(int(cameras.cameras[7].words[CameraRecord::Unknown2]), -7);
    p.window->openEditor("TForm18");
    editor = qobject_cast<MiscEditor*>(p.window->currentEditor());
    QVERIFY(editor);
    QCOMPARE(Child<QTabWidget>(editor, "PageControl1")->currentIndex(), 5);
    QCOMPARE(Child<QListWidget>(editor, "ListBox1")->currentRow(), 7);
    QCOMPARE(Spin(editor, "CameraWord10")->value(), -7);
}

void MiscEditorTest::damageFieldsHighlightTheirPart()
{
    GuiProgram p;
    MiscEditor* editor = openEditor<MiscEditor>(p, "TForm18");
    QVERIFY(editor);
    // Every part has its own area, red to begin with; the three rear wing
    // parts share one.
    for (int part = 0; part < kOutlineParts; ++part)
        QCOMPARE(PixelOfPart(editor, part), kPartColour);
    QCOMPARE(Child<CarOutline>(editor, "Image1")->image().pixelColor(0, 0), QColor(Qt::white));
    Hover(Spin(editor, "PartEdit2")); // front wing right
    QCOMPARE(PixelOfPart(editor, 1), kHighlightColour);
    QCOMPARE(PixelOfPart(editor, 0), kPartColour);
    QCOMPARE(PixelOfPart(editor, 2), kPartColour);
    Hover(Spin(editor, "PartEdit18")); // rear wing right
    QCOMPARE(PixelOfPart(editor, 1), kPartColour);
    QCOMPARE(PixelOfPart(editor, 16), kHighlightColour);
    QCOMPARE(PixelOfPart(editor, 19), kPartColour); // rear wing top is a part of its own
    QCOMPARE(p.app->editorStates.misc.part, 17);
    // Other fields highlight nothing.
    Hover(Spin(editor, "WallBounce"));
    QCOMPARE(PixelOfPart(editor, 16), kHighlightColour);
}

void MiscEditorTest::standardLoadsOnlyThePagesItem()
{
    GuiProgram p;
    QVERIFY(FileExists(PITWALL_RUNTIME_DIR "/Standard.DAT"));
    CopyFileForced(PITWALL_RUNTIME_DIR "/Standard.DAT", p.program.directories.program + "Standard.DAT");
    MiscEditor* editor = openEditor<MiscEditor>(p, "TForm18");
    QVERIFY(editor);
    TransferState& transfer = p.app->workingSet().transfer;
    transfer.loaded = {};
    p.app->workingSet().carsetInfo.lines = {"v1.0", "Mira", "07/12/26", "0"};
    for (int page = 1; page <= 6; ++page) {
        const int items[] = {2, 3, 103, 119, 4, 120};
        Click(editor, QString("StandardButton%1").arg(page));
        QVERIFY2(p.numbers().empty(), qPrintable(QString::number(page)));
        for (int other = 1; other <= 6; ++other)
            QCOMPARE(transfer.isLoaded(items[other - 1]), other <= page);
    }
    QVERIFY(!transfer.isLoaded(1));
    QCOMPARE(p.app->workingSet().carsetInfo.lines, (std::vector<std::string>{"v1.0", "Mira", "07/12/26", "0"}));
    QVERIFY(Spin(editor, "SpinEdit14")->value() > 0);
}

QTEST_MAIN(MiscEditorTest)
#include "MiscEditorTest.moc"
