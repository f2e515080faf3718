#include "GuiTestSupport.h"

#include "CareerWindow.h"
#include "MemoPlainText.h"
#include "TextEditDialog.h"
#include "TextFindDialog.h"
#include "TextsEditor.h"
#include "base/GamePath.h"
#include "formats/StringFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;
using pitwall::gui::test::OnModal;

namespace {

void ChooseLanguage(TextsEditor* editor, int language)
{
    Child<QListWidget>(editor, "ListBox4")->setCurrentRow(language);
}

std::vector<std::string>& Texts(GuiProgram& p, int language)
{
    return p.app->workingSet().gameTexts.languages[static_cast<std::size_t>(language)];
}

} // namespace

class TextsEditorTest : public QObject {
    Q_OBJECT
private slots:
    void unloadedLanguageDisablesTheTexts();
    void findInBothDirectionsWithAndWithoutCase();
    void versionLabelQuickJumpsAndFilter();
    void editingSplitsAtLineFeedsOutsideQuotes();
    void languagesTheVersionLacksAreRefused();
    void exportOfAnotherVersionsCountAsks();
    void careerImportShowsTheReport();
};

void TextsEditorTest::unloadedLanguageDisablesTheTexts()
{
    GuiProgram p;
    TextsEditor* editor = openEditor<TextsEditor>(p, "TForm14");
    QVERIFY(editor);
    QVERIFY(!Child<QListView>(editor, "ListBox5")->isEnabled());
    QVERIFY(!Child<QPushButton>(editor, "Button4")->isEnabled());
    Click(editor, "Button2"); // import all
    QVERIFY(p.numbers().empty());
    QVERIFY(Child<QListView>(editor, "ListBox5")->isEnabled());
    QCOMPARE(Child<QListView>(editor, "ListBox5")->model()->rowCount(), 2843);
}

void TextsEditorTest::findInBothDirectionsWithAndWithoutCase()
{
    GuiProgram p;
    TextsEditor* editor = openEditor<TextsEditor>(p, "TForm14");
    Click(editor, "Button2");
    auto& texts = Texts(p, 0);
    texts[100] = "Boxenstopp";
    texts[200] = "BOXENSTOPP jetzt";
    texts[300] = "kein boxenstopp";
    editor->selectText(150);
    TextFindDialog* find = editor->findDialog();
    Click(editor, "Button5");
    QVERIFY(find->isVisible());
    // A letter the texts cannot hold is refused as it is typed (it was
    // searched for as "?").
    auto* field = Child<QLineEdit>(find, "FindText");
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString("\u0142"));
    QApplication::sendEvent(field, &typed);
    QVERIFY(field->text().isEmpty());

    find->setSearch("boxenstopp", true, false);
    Click(find, "FindNext");
    QCOMPARE(editor->selectedText(), 200);
    Click(find, "FindNext"); // the selection itself matches: on to the next
    QCOMPARE(editor->selectedText(), 300);
    Click(find, "FindNext");
    QCOMPARE(editor->selectedText(), 300); // nothing further: 1001, selection stays
    QCOMPARE(p.numbers(), std::vector<int>{1001});

    find->setSearch("boxenstopp", false, true);
    Click(find, "FindNext");
    QCOMPARE(editor->selectedText(), 300 - 0); // only text 300 matches exactly, and it is selected
    QCOMPARE(p.numbers(), (std::vector<int>{1001, 1001}));
    find->setSearch("Boxen", false, true);
    Click(find, "FindNext");
    QCOMPARE(editor->selectedText(), 100);
    find->setSearch("BOXEN", false, false);
    editor->selectText(250);
    Click(find, "FindNext");
    QCOMPARE(editor->selectedText(), 200);
    Click(find, "FindNext");
    QCOMPARE(editor->selectedText(), 100);
    QCOMPARE(Child<QLabel>(editor, "Label2")->text(), QString("Text number: 101"));
    // The list counts as the label does.
    auto* view = Child<QListView>(editor, "ListBox5");
    QCOMPARE(view->currentIndex().data().toString(), QString("101  Boxenstopp"));
}

void TextsEditorTest::versionLabelQuickJumpsAndFilter()
{
    GuiProgram p;
    TextsEditor* editor = openEditor<TextsEditor>(p, "TForm14");
    Click(editor, "Button2");
    QCOMPARE(Child<QLabel>(editor, "Label4")->text(), QString("Language file for GP3 version: v1.13"));
    QCOMPARE(Child<QLabel>(editor, "Label3")->text(), QString("Number of texts: 2843"));
    Texts(p, 0).resize(2702);
    editor->restore();
    QCOMPARE(Child<QLabel>(editor, "Label4")->text(), QString("Language file for GP3 version: v1.00"));
    Texts(p, 0).resize(2000);
    editor->restore();
    QCOMPARE(Child<QLabel>(editor, "Label4")->text(), QString("Language file for GP3 version: Unknown Version"));

    ChooseLanguage(editor, 6); // POLSKI
    Click(editor, "BitBtn10");
    QCOMPARE(editor->selectedText(), 1779);
    Click(editor, "BitBtn11");
    QCOMPARE(editor->selectedText(), 2557);

    // The filter narrows the list as the user types; a jump to a hidden text
    // clears it.
    auto* filter = Child<QLineEdit>(editor, "FilterEdit");
    auto* view = Child<QListView>(editor, "ListBox5");
    Texts(p, 6)[42] = "Unverwechselbar";
    filter->setText("unverwechsel");
    QCOMPARE(view->model()->rowCount(), 1);
    view->setCurrentIndex(view->model()->index(0, 0));
    QCOMPARE(editor->selectedText(), 42);
    Click(editor, "BitBtn7");
    QCOMPARE(editor->selectedText(), 22);
    QVERIFY(filter->text().isEmpty());
    QCOMPARE(view->model()->rowCount(), 2833);
}

void TextsEditorTest::editingSplitsAtLineFeedsOutsideQuotes()
{
    GuiProgram p;
    TextsEditor* editor = openEditor<TextsEditor>(p, "TForm14");
    Click(editor, "Button2");
    auto& texts = Texts(p, 1);
    ChooseLanguage(editor, 1);
    texts[10] = "A\nB";
    texts[11] = "Say \"a\nb\"\nnext\r";
    texts[12] = "1\xA0"
                "000 km"; // a no-break space, as French texts write numbers
    QStringList seen;
    auto acceptUnchanged = [&](QWidget* modal) {
        auto* dialog = qobject_cast<TextEditDialog*>(modal);
        if (!dialog)
            return true;
        seen << MemoPlainText(*dialog->memo());
        dialog->accept();
        return false;
    };
    editor->selectText(10);
    OnModal(acceptUnchanged);
    Click(editor, "Button32");
    editor->selectText(11);
    OnModal(acceptUnchanged);
    Click(editor, "Button32");
    editor->selectText(12);
    OnModal(acceptUnchanged);
    Click(editor, "Button32");
    QCOMPARE(seen, (QStringList{"A\nB", "Say \"a^Jb\"\nnext^M", "1\u00A0000 km"}));
    QCOMPARE(texts[10], std::string("A\nB"));
    QCOMPARE(texts[11], std::string("Say \"a\nb\"\nnext\r"));
    QCOMPARE(texts[12],
             std::string("1\xA0"
                         "000 km"));

    // An edit joins the lines with line feeds again.
    editor->selectText(11);
    OnModal([](QWidget* modal) {
        auto* dialog = qobject_cast<TextEditDialog*>(modal);
        if (!dialog)
            return true;
        dialog->memo()->setPlainText("Stra\u00DFe\nzwei \"x^Jy\"");
        dialog->accept();
        return false;
    });
    Click(editor, "Button32");
    QCOMPARE(texts[11],
             std::string("Stra\xDF"
                         "e\nzwei \"x\ny\""));
}

void TextsEditorTest::languagesTheVersionLacksAreRefused()
{
    GuiProgram p(1); // v1.00
    TextsEditor* editor = openEditor<TextsEditor>(p, "TForm14");
    ChooseLanguage(editor, 6);
    Click(editor, "Button16");
    QCOMPARE(p.numbers(), std::vector<int>{943});
    QCOMPARE(QString::fromStdString(p.messages[0].text), QString("Grand Prix 3 v1.00 does not have this language."));
    QVERIFY(!p.app->workingSet().transfer.isLoaded(174));
    QVERIFY(Texts(p, 6).empty());
    Click(editor, "Button2");
    for (int item = 168; item < 176; ++item)
        QCOMPARE(p.app->workingSet().transfer.isLoaded(item), item <= 172);
}

void TextsEditorTest::exportOfAnotherVersionsCountAsks()
{
    GuiProgram p;
    TextsEditor* editor = openEditor<TextsEditor>(p, "TForm14");
    Click(editor, "Button2");
    const std::string file = ResolveGamePath(p.path("game/"), "LDATA\\DEUTSCH.str");
    const auto before = pitwall::test::ReadBytes(file);
    Texts(p, 0).resize(2702);
    p.app->messages.divert([&](const Message& m) { p.messages.push_back(m); }, false);
    Click(editor, "Button15");
    // Declined: the closing message says that nothing was written.
    QCOMPARE(p.numbers(), (std::vector<int>{941, 957}));
    QVERIFY(p.messages[0].text.find("fit game version: v1.00") != std::string::npos);
    QVERIFY(p.messages[0].text.find("Installed game version: v1.13") != std::string::npos);
    QVERIFY(pitwall::test::ReadBytes(file) == before);
    p.app->messages.divert([&](const Message& m) { p.messages.push_back(m); }, true);
    Click(editor, "Button15");
    QCOMPARE(ParseStringFile(pitwall::test::ReadBytes(file)).size(), std::size_t{2702});
}

void TextsEditorTest::careerImportShowsTheReport()
{
    GuiProgram p;
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->openEditor("TForm25");
    auto* career = qobject_cast<CareerWindow*>(p.window->currentEditor());
    QVERIFY(career);
    auto* results = Child<QTreeWidget>(career, "ListView1");
    QCOMPARE(results->topLevelItemCount(), 0);
    Click(career, "Button16");
    QVERIFY(p.numbers().empty());
    QCOMPARE(results->topLevelItemCount(), 22);
    QCOMPARE(results->topLevelItem(21)->text(2), QString("DNF"));
    QVERIFY(results->topLevelItem(17)->text(2).endsWith(" +2 laps"));
    QCOMPARE(results->headerItem()->text(0), QString("Driver"));

    // Another Grand Prix has its own, empty result; the first keeps its own.
    Child<QListWidget>(career, "ListBox2")->setCurrentRow(3);
    QCOMPARE(results->topLevelItemCount(), 0);
    Child<QListWidget>(career, "ListBox2")->setCurrentRow(0);
    QCOMPARE(results->topLevelItemCount(), 22);

    // The lapped entries speak the chosen language.
    GuiProgram german(2, "[General]\r\nLanguage=DEUTSCH.LNG\r\nFirstTime=0\r\n");
    german.program.settings.gameDirectory = german.path("game/");
    QVERIFY(german.window->firstActivation());
    german.window->openEditor("TForm25");
    career = qobject_cast<CareerWindow*>(german.window->currentEditor());
    QVERIFY(career);
    Click(career, "Button16");
    results = Child<QTreeWidget>(career, "ListView1");
    QCOMPARE(results->topLevelItemCount(), 22);
    QVERIFY2(results->topLevelItem(17)->text(2).endsWith(" +2 Runden"), qPrintable(results->topLevelItem(17)->text(2)));
    QVERIFY2(results->topLevelItem(12)->text(2).endsWith(" +1 Runde"), qPrintable(results->topLevelItem(12)->text(2)));
}

// Through the program's own save dialog: a name that ends in an extension
// one of the filters offers keeps it and is written in its format, whichever
// filter is chosen; a name without one gets the chosen filter's.
QTEST_MAIN(TextsEditorTest)
#include "TextsEditorTest.moc"
