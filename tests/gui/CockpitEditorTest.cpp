#include "GuiTestSupport.h"

#include "CockpitEditor.h"
#include "ExportConfirmDialog.h"
#include "base/GamePath.h"
#include "cockpit/CockpitData.h"
#include "cockpit/LcdEmulation.h"
#include "formats/Bmp.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {

CockpitEditor* OpenCockpitEditor(GuiProgram& p)
{
    CopyFileForced(std::string(PITWALL_RUNTIME_DIR "/") + "Font.BMP", p.path("program/Font.BMP"));
    return openEditor<CockpitEditor>(p, "TForm16");
}

// Chooses an entry of a combo box as the user does.
void Choose(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

} // namespace

class CockpitEditorTest : public QObject {
    Q_OBJECT
private slots:
    void importsFillThePagesAndObjectsAreWrittenBackWhenLeft();
    void elementFieldsFollowTheType();
    void emulationShowsChosenHiddenTextsAndMessageScreens();
    void exportEverythingOnOldVersionsCoversItsFiveLanguages();
    void cockpitSetsGoOutAndBackAsPictures();
    void loadedSheetIsExportedAndUnchangedFilesStayAsTheyWere();
    void exportFromTheMainWindowShowsTheOrderWritten();
};

void CockpitEditorTest::importsFillThePagesAndObjectsAreWrittenBackWhenLeft()
{
    GuiProgram p;
    CockpitEditor* editor = OpenCockpitEditor(p);
    QVERIFY(editor);
    auto* pages = Child<QTabWidget>(editor, "PageControl6");
    QCOMPARE(pages->count(), 4);
    Click(editor, "Button1");
    const auto& transfer = p.app->workingSet().transfer;
    QVERIFY(transfer.isLoaded(kCockpitSoftwareItem) && transfer.isLoaded(kCockpitHardwareItem));
    QCOMPARE(editor->shownPicture(), p.app->workingSet().cockpit.graphics[0].preview);

    pages->setCurrentIndex(CockpitEditor::kObjectsPage);
    auto* left = Child<QSpinBox>(editor, "SpinEdit73");
    QVERIFY(!left->isEnabled());
    Click(editor, "Button9");
    QVERIFY(transfer.isLoaded(kCockpitObjectsItem));
    auto* list = Child<QListWidget>(editor, "ListBox12");
    QCOMPARE(list->count(), 62);
    list->setCurrentRow(9); // size class 1: 13 x 22
    auto& objects = p.app->workingSet().cockpit.objects;
    Child<QComboBox>(editor, "ComboBox6")->setCurrentIndex(1); // left side of the wheel: from (103, 39)
    left->setValue(20);
    Child<QSpinBox>(editor, "SpinEdit74")->setValue(30);
    // Drawn at once; the record takes the values when another object is chosen.
    const Image& shown = editor->shownPicture();
    QCOMPARE(shown.pixel(123, 69), MakePixel(255, 0, 0));
    QCOMPARE(shown.pixel(123 + 12, 69 + 21), MakePixel(255, 0, 0));
    QCOMPARE(shown.pixel(103, 100), MakePixel(255, 255, 0));
    QVERIFY(objects[9].left() != 20 || objects[9].top() != 30);
    list->setCurrentRow(10);
    QCOMPARE(objects[9].left(), 20);
    QCOMPARE(objects[9].top(), 30);
    QCOMPARE(objects[9].parent(), 1);
    // A carset's parent beyond the list is kept while another is not chosen.
    objects[11].setParent(9);
    list->setCurrentRow(11);
    QCOMPARE(Child<QComboBox>(editor, "ComboBox6")->currentIndex(), 6);
    list->setCurrentRow(12);
    QCOMPARE(objects[11].parent(), 9);

    // LCD texts: the shared width and height go back with the chosen text.
    pages->setCurrentIndex(CockpitEditor::kTextsPage);
    Click(editor, "Button12");
    Child<QSpinBox>(editor, "SpinEdit3")->setValue(33);
    Child<QSpinBox>(editor, "SpinEdit1")->setValue(7);
    editor->store();
    QCOMPARE(p.app->workingSet().cockpit.lcdTexts.width, 33);
    QCOMPARE(p.app->workingSet().cockpit.lcdTexts.left[0], 7);
    QCOMPARE(p.app->editorStates.cockpit.lcdText, 0);
}

void CockpitEditorTest::elementFieldsFollowTheType()
{
    GuiProgram p;
    CockpitEditor* editor = OpenCockpitEditor(p);
    QVERIFY(editor);
    Child<QTabWidget>(editor, "PageControl6")->setCurrentIndex(CockpitEditor::kLcdPage);
    Click(editor, "Button15"); // the first language
    QVERIFY(p.app->workingSet().transfer.isLoaded(191));
    auto& display = p.app->workingSet().cockpit.displays[0];
    const int screen = LcdScreenIndex("BEST_TEXT");
    LcdElement& e = display.screens[static_cast<std::size_t>(screen)][5];
    e.setType(LcdType::Text);
    e.setText("TEXT");
    e[1] = 4;
    e[3] = 2;
    e[5] = 9;
    Child<QListWidget>(editor, "ListBox13")->setCurrentRow(screen);
    Child<QListWidget>(editor, "ListBox14")->setCurrentRow(5);
    QCOMPARE(Child<QListWidget>(editor, "ListBox14")->item(5)->text(), QString("TEXT"));

    // Text to placeholder: first placeholder, index and byte 5 cleared, position kept.
    Choose(Child<QComboBox>(editor, "ComboBox1"), 2);
    QCOMPARE(e.type(), 2);
    QCOMPARE(QString::fromStdString(e.text()), QString("lcdp_CAR_NUMBER"));
    QCOMPARE(e[LcdElement::kIndex], 0);
    QCOMPARE(e[5], 0);
    QCOMPARE(e[1], 4);
    QCOMPARE(e[3], 2);
    // The list position is stored, not a lookup of the caption.
    auto* text = Child<QComboBox>(editor, "ComboBox9");
    QCOMPARE(text->count(), 10);
    text->setItemText(6, "Boxenstopps");
    Choose(text, 6);
    QCOMPARE(e[LcdElement::kIndex], 6);
    Child<QSpinBox>(editor, "SpinEdit104")->setValue(1);
    QCOMPARE(e[3], 1);

    // A message shows its number fields disabled.
    const int messageScreen = LcdScreenIndex("MESS_LAP");
    Child<QListWidget>(editor, "ListBox13")->setCurrentRow(messageScreen);
    Child<QListWidget>(editor, "ListBox14")->setCurrentRow(0);
    QCOMPARE(display.screens[static_cast<std::size_t>(messageScreen)][0].type(), 4);
    for (const char* spin : {"SpinEdit102", "SpinEdit103", "SpinEdit104", "SpinEdit105"})
        QVERIFY(!Child<QSpinBox>(editor, spin)->isEnabled());
    QVERIFY(Child<QCheckBox>(editor, "CheckBox1")->isChecked());
    QCOMPARE(p.app->editorStates.cockpit.element, 0);

    // The file keeps texts between quotes, each quote of the text doubled:
    // the field takes a quote as typed and stores it doubled.
    LcdElement& message = display.screens[static_cast<std::size_t>(messageScreen)][0];
    QLineEdit* line = text->lineEdit();
    QVERIFY(line);
    line->selectAll();
    QTest::keyClicks(line, "AB\"CD");
    QCOMPARE(line->text(), QString("AB\"CD"));
    QCOMPARE(QString::fromStdString(message.text()), QString("AB\"\"CD"));
    // Shown again as it reads.
    Child<QListWidget>(editor, "ListBox14")->setCurrentRow(1);
    Child<QListWidget>(editor, "ListBox14")->setCurrentRow(0);
    QCOMPARE(line->text(), QString("AB\"CD"));
    QCOMPARE(Child<QListWidget>(editor, "ListBox14")->item(0)->text().contains("AB\"CD"), true);
    // The stored form must fit the element's 50 bytes.
    line->selectAll();
    QTest::keyClicks(line, QString(24, 'x') + QString(14, '"'));
    QCOMPARE(message.text().size(), std::size_t(50));
    QCOMPARE(line->text(), QString(24, 'x') + QString(13, '"'));

    // The placeholder names are shown whole.
    editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    Child<QListWidget>(editor, "ListBox13")->setCurrentRow(screen);
    Child<QListWidget>(editor, "ListBox14")->setCurrentRow(5);
    QCOMPARE(e.type(), 2);
    for (int i = 0; i < text->count(); ++i)
        QVERIFY2(text->width() >= text->fontMetrics().horizontalAdvance(text->itemText(i)) + 20,
                 qPrintable(text->itemText(i)));
}

void CockpitEditorTest::emulationShowsChosenHiddenTextsAndMessageScreens()
{
    GuiProgram p;
    CockpitEditor* editor = OpenCockpitEditor(p);
    QVERIFY(editor);
    Child<QTabWidget>(editor, "PageControl6")->setCurrentIndex(CockpitEditor::kLcdPage);
    QCOMPARE(editor->shownPicture(), Image(kLcdPictureWidth, kLcdPictureHeight)); // no graphics: nothing
    Click(editor, "Button19");
    Click(editor, "Button15");
    auto& display = p.app->workingSet().cockpit.displays[0];
    const int screen = LcdScreenIndex("SPLIT_TEXT");
    LcdScreen& s = display.screens[static_cast<std::size_t>(screen)];
    for (LcdElement& e : s)
        e = LcdElement{};
    s[3].setType(LcdType::Text);
    s[3].setText("HIDDEN");
    s[3][0] = 1;
    auto* screens = Child<QListWidget>(editor, "ListBox13");
    auto* elements = Child<QListWidget>(editor, "ListBox14");
    screens->setCurrentRow(screen);
    elements->setCurrentRow(0);
    const Image without = editor->shownPicture();
    elements->setCurrentRow(3);
    QVERIFY(editor->shownPicture() != without);
    elements->setCurrentRow(2);
    QCOMPARE(editor->shownPicture(), without);

    // Element 0 shown outside the cockpit: UI text 909 instead of the LCD.
    s[0].setType(LcdType::Message);
    s[0][LcdElement::kOutside] = 1;
    screens->setCurrentRow(screen - 1);
    screens->setCurrentRow(screen);
    LcdScene scene{&p.app->workingSet().cockpit.graphics[0].preview, &s, 2, p.program.texts.text(909)};
    const LcdFont font = LcdFont::Load(p.path("program/Font.BMP"));
    QCOMPARE(editor->shownPicture(), RenderLcd(scene, font));
    QCOMPARE(editor->shownPicture().pixel(150, 10), Pixel(0));
}

void CockpitEditorTest::exportEverythingOnOldVersionsCoversItsFiveLanguages()
{
    GuiProgram p(1);
    CockpitEditor* editor = OpenCockpitEditor(p);
    QVERIFY(editor);
    Child<QTabWidget>(editor, "PageControl6")->setCurrentIndex(CockpitEditor::kLcdPage);
    Click(editor, "Button18");
    auto& transfer = p.app->workingSet().transfer;
    for (int item = 191; item <= 195; ++item)
        QVERIFY(transfer.isLoaded(item));
    // Held from a carset of a newer version: still not written here.
    for (int item = 196; item <= 198; ++item)
        transfer.loaded[static_cast<std::size_t>(item)] = 1;
    Click(editor, "Button17");
    for (int item = 191; item <= 198; ++item)
        QCOMPARE(int(transfer.selection[static_cast<std::size_t>(item)]), item <= 195 ? 1 : 0);
    QVERIFY(!FileExists(ResolveGamePath(p.path("game/"), "LDATA\\POLSKI.3D")));
}

void CockpitEditorTest::cockpitSetsGoOutAndBackAsPictures()
{
    GuiProgram p;
    CockpitEditor* editor = OpenCockpitEditor(p);
    QVERIFY(editor);
    Click(editor, "Button2");
    const std::string sheet = p.path("sheet.BMP"), small = p.path("small.BMP");
    FileRequest asked;
    p.app->chooseFileToSave = [&](const FileRequest& r) {
        asked = r;
        return std::optional<std::string>(sheet);
    };
    Click(editor, "Button7");
    QCOMPARE(asked.key, std::string("CockpitSave"));
    QCOMPARE(asked.defaultName, std::string("Cockpit-Software.BMP"));
    Image picture = LoadBmpFile(sheet);
    QCOMPARE(picture.width(), 840);
    auto& set = p.app->workingSet().cockpit.graphics[0];
    const Image before = set.jams[0].page();
    // Repaint a corner of the first dashboard half with a palette colour.
    const Pixel colour = p.program.palette.pixel(77);
    picture.fillRect({0, 0, 10, 10}, colour);
    SaveBmpFile(picture, sheet);
    SaveBmpFile(Image(100, 100), small);
    std::string chosen = small;
    p.app->chooseFileToOpen = [&](const FileRequest&) { return std::optional<std::string>(chosen); };
    Click(editor, "Button8");
    QCOMPARE(p.numbers(), std::vector<int>{518});
    QCOMPARE(set.jams[0].page(), before);
    chosen = sheet;
    Click(editor, "Button8");
    QCOMPARE(set.jams[0].page().pixel(5, 5), colour);
    QCOMPARE(set.jams[0].page().pixel(200, 200), before.pixel(200, 200));
    QCOMPARE(set.preview.pixel(5, 5), colour);
}

void CockpitEditorTest::loadedSheetIsExportedAndUnchangedFilesStayAsTheyWere()
{
    GuiProgram p;
    CockpitEditor* editor = OpenCockpitEditor(p);
    QVERIFY(editor);
    const std::string game = p.path("game/");
    std::vector<std::vector<std::uint8_t>> before;
    for (int set = 0; set < 2; ++set)
        for (int slot = 0; slot < kCockpitJamCount; ++slot)
            before.push_back(pitwall::test::ReadBytes(ResolveGamePath(game, CockpitJamGamePath(set, slot))));
    const auto fileOf = [&](int set, int slot) {
        return pitwall::test::ReadBytes(ResolveGamePath(game, CockpitJamGamePath(set, slot)));
    };

    // Exporting a set never loaded writes nothing and says so.
    Click(editor, "Button6");
    QVERIFY(!p.messages.empty());
    for (int slot = 0; slot < kCockpitJamCount; ++slot)
        QVERIFY(fileOf(1, slot) == before[static_cast<std::size_t>(4 + slot)]);

    Click(editor, "Button1");
    auto& set = p.app->workingSet().cockpit.graphics[0];
    const std::string sheet = p.path("sheet.BMP");
    p.app->chooseFileToSave = [&](const FileRequest&) { return std::optional<std::string>(sheet); };
    Click(editor, "Button7");
    Image picture = LoadBmpFile(sheet);
    // Repaint the middle of the first image of the left dashboard half.
    const Rect r = set.jams[0].ImageRect(0);
    const QPoint at((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const Pixel colour = p.program.palette.pixel(77);
    picture.fillRect({at.x() - 2, at.y() - 2, at.x() + 3, at.y() + 3}, colour);
    SaveBmpFile(picture, sheet);
    FileRequest asked;
    p.app->chooseFileToOpen = [&](const FileRequest& request) {
        asked = request;
        return std::optional<std::string>(sheet);
    };
    p.messages.clear();
    Click(editor, "Button8");
    QCOMPARE(asked.key, std::string("CockpitLoad"));
    QVERIFY(p.numbers().empty());
    QCOMPARE(set.jams[0].page().pixel(at.x(), at.y()), colour);
    QCOMPARE(editor->shownPicture(), ComposeCockpitPreview(set.jams));

    // "Export all graphics": the repainted half goes into the game, the
    // files of the unchanged JAMs stay byte for byte.
    QVERIFY(Child<QPushButton>(editor, "Button4")->isEnabled());
    Click(editor, "Button4");
    QVERIFY(p.numbers().empty());
    const TJAMFile written(p.program.palette, ResolveGamePath(game, CockpitJamGamePath(0, 0)));
    QCOMPARE(written.page().pixel(at.x(), at.y()), colour);
    QVERIFY(written.page() == set.jams[0].page());
    QVERIFY(fileOf(0, 0) != before[0]);
    for (int slot = 1; slot < kCockpitJamCount; ++slot)
        QVERIFY(fileOf(0, slot) == before[static_cast<std::size_t>(slot)]);
    for (int slot = 0; slot < kCockpitJamCount; ++slot)
        QVERIFY(fileOf(1, slot) == before[static_cast<std::size_t>(4 + slot)]);
}

// Writing a display file sorts each screen's elements by type; the editor
// then shows the order written, also after an export from the main window,
// so an edit goes to the element the user sees.
void CockpitEditorTest::exportFromTheMainWindowShowsTheOrderWritten()
{
    GuiProgram p;
    CockpitEditor* editor = OpenCockpitEditor(p);
    QVERIFY(editor);
    Child<QTabWidget>(editor, "PageControl6")->setCurrentIndex(CockpitEditor::kLcdPage);
    Click(editor, "Button15"); // the first language
    const int screen = LcdScreenIndex("BEST_TEXT");
    LcdScreen& elements = p.app->workingSet().cockpit.displays[0].screens[static_cast<std::size_t>(screen)];
    elements = LcdScreen{};
    for (LcdElement& e : elements)
        e.setType(LcdType::Text);
    elements[0].setType(LcdType::Placeholder);
    elements[0].setText("lcdp_CAR_NUMBER");
    elements[1].setText("LAP");
    auto* screens = Child<QListWidget>(editor, "ListBox13");
    auto* list = Child<QListWidget>(editor, "ListBox14");
    screens->setCurrentRow(screen + 1);
    screens->setCurrentRow(screen);
    list->setCurrentRow(0);
    QCOMPARE(Child<QComboBox>(editor, "ComboBox1")->currentIndex(), 2);

    OnModal([](QWidget* modal) {
        if (auto* confirm = qobject_cast<ExportConfirmDialog*>(modal))
            confirm->accept();
        return !qobject_cast<ExportConfirmDialog*>(modal);
    });
    p.window->findChild<QAction*>("Allesexportieren1")->trigger();
    QCOMPARE(elements[0].text(), std::string("LAP"));
    QCOMPARE(list->item(0)->text(), QString("LAP"));
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(Child<QComboBox>(editor, "ComboBox1")->currentIndex(), 3);
    // The sorting is no edit: the next look of the history finds none.
    QVERIFY(!p.app->session.edits.notice(p.app->workingSet(), "look"));
    Child<QSpinBox>(editor, "SpinEdit104")->setValue(7);
    QCOMPARE(int{elements[0][3]}, 7);
    QCOMPARE(int{elements[20][3]}, 0); // the placeholder, now last
}

QTEST_MAIN(CockpitEditorTest)
#include "CockpitEditorTest.moc"
