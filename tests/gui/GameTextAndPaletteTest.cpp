#include "GuiTestSupport.h"

#include "OptionsDialog.h"
#include "TeamsEditor.h"
#include "TextEditDialog.h"
#include "TextsEditor.h"
#include "FileDialogs.h"
#include "app/IniFile.h"
#include "formats/PaletteFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QListView>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {

void WriteFile(const std::string& path, const std::string& text)
{
    QFile f(QString::fromStdString(path));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text.data(), static_cast<qint64>(text.size()));
}

// A JASC-PAL palette unlike the stand-in: entry i is (i, 255 - i, 7).
std::string OwnPalette()
{
    std::string text = "JASC-PAL\r\n0100\r\n256\r\n";
    for (int i = 0; i < 256; ++i)
        text += std::to_string(i) + " " + std::to_string(255 - i) + " 7\r\n";
    return text;
}

// Types the text key by key as a keyboard with those letters would, any
// character (QTest's own typing takes Latin-1 only).
void Type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

class GameTextAndPaletteTest : public QObject {
    Q_OBJECT
private slots:
    void namesRefuseCharactersTheGameCannotStore();
    void theTextEditRefusesTheSameAndKeepsTheRest();
    void thePaletteChosenInOptionsReplacesTheStandIn();
};

void GameTextAndPaletteTest::namesRefuseCharactersTheGameCannotStore()
{
    GuiProgram p(2, kEnglish);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    auto* editor = qobject_cast<TeamsEditor*>(p.window->currentEditor());
    QVERIFY(editor);
    Click(editor, "Button16"); // import teams and drivers
    auto* driver = Child<QLineEdit>(editor, "Edit4");
    driver->clear();
    Type(driver, QString::fromUtf8("\u0141\u00F3d\u017A"));
    QCOMPARE(driver->text(), QString::fromUtf8("\u00F3d"));
    QVERIFY2(driver->property("refusedCharacterMessage").toString().contains(QString::fromUtf8("\u017A")),
             qPrintable(driver->property("refusedCharacterMessage").toString()));
    auto* engine = Child<QLineEdit>(editor, "Edit2");
    engine->selectAll();
    Type(engine, QString::fromUtf8("\u03A9 \u20AC"));
    QCOMPARE(engine->text(), QString::fromUtf8(" \u20AC"));

    // Another team: what was typed is stored as the game's bytes.
    Child<QListWidget>(editor, "ListBox1")->setCurrentRow(2);
    const TeamTable& teams = p.app->workingSet().teams;
    QCOMPARE(teams.teams[0].drivers[1].name.text(), std::string("\xF3") + "d");
    QCOMPARE(teams.teams[0].engine.text(), std::string(" \x80"));
}

void GameTextAndPaletteTest::theTextEditRefusesTheSameAndKeepsTheRest()
{
    GuiProgram p(2, kEnglish);
    auto* editor = openEditor<TextsEditor>(p, "TForm14");
    QVERIFY(editor);
    Click(editor, "Button2"); // import all
    editor->selectText(12);
    QString refused;
    OnModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<TextEditDialog*>(modal);
        if (!dialog)
            return true;
        QPlainTextEdit* memo = dialog->memo();
        memo->selectAll();
        Type(memo, QString::fromUtf8("Gr\u00FC\u00DFe \u03A9"));
        // Pasted text keeps what the game can store.
        memo->insertPlainText(QString::fromUtf8("\n\u0141\u00F3d\u017A \u20AC"));
        refused = memo->property("refusedCharacterMessage").toString();
        dialog->accept();
        return false;
    });
    Click(editor, "Button32");
    QVERIFY2(refused.contains(QString::fromUtf8("\u0141")), qPrintable(refused));
    QCOMPARE(p.app->workingSet().gameTexts.languages[0][12], std::string("Gr\xFC\xDF") + "e \n\xF3" + "d \x80");
}

void GameTextAndPaletteTest::thePaletteChosenInOptionsReplacesTheStandIn()
{
    GuiProgram p(2, kEnglish);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    // The shipped stand-in is in use, and the main window says so.
    QVERIFY(IsStandInPalette(p.program.palette));
    auto* notice = p.window->findChild<QLabel*>("LabelStandInPalette");
    QVERIFY(notice);
    QVERIFY(notice->isVisibleTo(p.window.get()));
    QVERIFY(notice->text().contains("Options"));

    WriteFile(p.path("broken.pal"), "JASC-PAL\r\n0100\r\n256\r\n1 2\r\n");
    WriteFile(p.path("mine.pal"), OwnPalette());
    OptionsDialog* options = p.app->optionsDialog;
    options->show();
    auto* file = Child<QLineEdit>(options, "EditPalette");
    QVERIFY(file->text().isEmpty());

    // A file that is no palette: told, and the stand-in stays.
    file->setFocus();
    QTest::keyClicks(file, QString::fromStdString(p.path("broken.pal")));
    QTest::keyClick(file, Qt::Key_Return);
    QCOMPARE(p.numbers(), std::vector<int>{1230});
    QVERIFY(IsStandInPalette(p.program.palette));
    QVERIFY(file->text().isEmpty());

    // Chosen with "Choose...": the file dialog's answer comes through the
    // program's hook for it.
    p.app->chooseFileToOpen = [&](const FileRequest& request) -> std::optional<std::string> {
        if (request.filters != std::vector<int>{1231})
            return std::nullopt;
        return p.path("mine.pal");
    };
    Click(options, "ButtonPalette");
    QCOMPARE(p.program.palette.pixel(10), MakePixel(10, 245, 7));
    QVERIFY(!notice->isVisibleTo(p.window.get()));

    // The restore-point limits, typed.
    auto* kept = Child<QSpinBox>(options, "SpinRestorePoints");
    kept->setFocus();
    kept->selectAll();
    QTest::keyClicks(kept, "4");
    QTest::keyClick(kept, Qt::Key_Tab);
    Click(options, "BitBtn1"); // OK
    QVERIFY(!options->isVisible());
    QCOMPARE(p.program.settings.restorePointsKept, 4);

    // Quitting writes both, and the next start reads the palette again.
    p.window->close();
    ShutdownCleanup(p.program, p.app->messages);
    IniFile ini;
    QVERIFY(ini.load(p.path("program/PITWALL.INI")));
    QCOMPARE(ini.readString("General", "Palette", ""), p.path("mine.pal"));
    QCOMPARE(ini.readInteger("General", "RestorePoints", 0), 4LL);
    ProgramState again;
    pitwall::test::RecordingMessages sink;
    StartProgram(again, p.path("program/"), sink);
    QVERIFY(sink.shown.empty());
    QCOMPARE(again.palette, p.program.palette);
}

QTEST_MAIN(GameTextAndPaletteTest)
#include "GameTextAndPaletteTest.moc"
