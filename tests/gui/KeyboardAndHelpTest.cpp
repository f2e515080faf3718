// Keyboard access and the manual: mnemonics in both languages, the main
// commands' keys from any window, F1 opening the page of the window in front.
#include "GuiTestSupport.h"

#include "BackupWindow.h"
#include "HelpWindow.h"
#include "InfoWindow.h"
#include "LanguageLocale.h"
#include "Mnemonics.h"
#include "OptionsDialog.h"
#include "QtMessages.h"
#include "RestoreWindow.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {

const std::string kGerman = "[General]\r\nLanguage=DEUTSCH.LNG\r\nFirstTime=0\r\n";

// A small manual beside the program's language files.
void PlantManual(GuiProgram& p)
{
    auto write = [&](const std::string& relative, const std::string& text) {
        const QString file = QString::fromStdString(p.path("program/manual/" + relative));
        QDir().mkpath(QFileInfo(file).path());
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text.c_str());
    };
    write("windows.tsv", "# window\tpage\nTForm12\tteams.html\nTForm1\tmain-window.html\n");
    for (const char* language : {"en", "de"})
        for (const char* page : {"index.html", "teams.html", "main-window.html"})
            write(std::string(language) + "/" + page,
                  std::string("<html><body><h1>") + language + " " + page + "</h1></body></html>");
}

QString Name(const QString& file) { return file.section('/', -2); }

} // namespace

class KeyboardAndHelpTest : public QObject {
    Q_OBJECT
private slots:
    void mnemonicsAreChosenUniquely();
    void everyMenuEntryHasAUniqueMnemonicInBothLanguages();
    void dialogButtonsGetUniqueMnemonicsInBothLanguages();
    void datesFollowTheChosenLanguage();
    void enterAnswersNoWhereYesCannotBeTakenBack();
    void mainCommandKeysWorkFromTheEditors();
    void helpKeyOpensThePageOfTheWindowInFront();
};

void KeyboardAndHelpTest::mnemonicsAreChosenUniquely()
{
    std::set<QChar> taken;
    QCOMPARE(WithMnemonic("Datei", taken), QString("&Datei"));
    QCOMPARE(WithMnemonic("Daten", taken), QString("D&aten")); // D taken: another word's start, else any letter
    QCOMPARE(WithMnemonic("Alles importieren", taken), QString("Alles &importieren"));
    QCOMPARE(WithMnemonic("Alles exportieren", taken), QString("Alles &exportieren"));
    QCOMPARE(WithMnemonic("E&xtras", taken), QString("E&xtras")); // the language file's choice
    QCOMPARE(WithMnemonic("&Extra", taken), QString("Ex&tra"));   // its choice is taken: another
    QCOMPARE(WithMnemonic("Q && A", taken), QString("&Q && A"));  // a literal ampersand stays
    QCOMPARE(WithMnemonic("...", taken), QString("..."));
    QCOMPARE(WithoutMnemonic("Alles &exportieren"), QString("Alles exportieren"));
    QCOMPARE(MnemonicOf("Da&ten"), QChar('t'));
}

void KeyboardAndHelpTest::everyMenuEntryHasAUniqueMnemonicInBothLanguages()
{
    for (const std::string& ini : {kEnglish, kGerman}) {
        GuiProgram p(2, ini);
        p.program.settings.gameDirectory = p.path("game/");
        QVERIFY(p.window->firstActivation());
        std::function<void(QMenu*)> check = [&](QMenu* menu) {
            std::set<QChar> seen;
            for (QAction* a : menu->actions()) {
                if (a->isSeparator() || a->text().isEmpty())
                    continue;
                const QChar m = MnemonicOf(a->text());
                QVERIFY2(!m.isNull(), qPrintable(a->text() + " has no mnemonic"));
                QVERIFY2(seen.insert(m).second, qPrintable(a->text() + " repeats a mnemonic in " + menu->title()));
                if (a->menu())
                    check(a->menu());
            }
        };
        std::set<QChar> titles;
        for (QAction* a : p.window->menuBar()->actions()) {
            QVERIFY2(titles.insert(MnemonicOf(a->text())).second, qPrintable(a->text()));
            check(a->menu());
        }
        // The tool buttons' hints show the texts without the markers.
        for (QToolButton* b : p.window->findChildren<QToolButton*>())
            QVERIFY2(!b->toolTip().contains('&') || b->toolTip().contains("&&"), qPrintable(b->toolTip()));
    }
}

void KeyboardAndHelpTest::dialogButtonsGetUniqueMnemonicsInBothLanguages()
{
    for (const std::string& ini : {kEnglish, kGerman}) {
        GuiProgram p(2, ini);
        p.program.settings.gameDirectory = p.path("game/");
        QVERIFY(p.window->firstActivation());
        BackupWindow backup(*p.app, p.window.get());
        RestoreWindow restore(*p.app, p.window.get());
        InfoWindow info(*p.app, p.window.get());
        for (QDialog* dialog : std::initializer_list<QDialog*>{p.app->optionsDialog, &backup, &restore, &info}) {
            dialog->show();
            QTest::qWait(1);
            std::set<QChar> seen;
            for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
                if (b->text().isEmpty())
                    continue;
                const QChar m = MnemonicOf(b->text());
                QVERIFY2(!m.isNull(), qPrintable(dialog->objectName() + ": " + b->text() + " has no mnemonic"));
                QVERIFY2(seen.insert(m).second, qPrintable(dialog->objectName() + ": " + b->text() + " repeats one"));
            }
            dialog->hide();
        }
    }
}

void KeyboardAndHelpTest::enterAnswersNoWhereYesCannotBeTakenBack()
{
    QWidget parent;
    parent.show();
    pitwall::gui::QtMessages messages(&parent);
    QList<bool> answers;
    for (bool noByDefault : {true, false}) {
        pitwall::gui::test::OnModal([](QWidget* modal) {
            QTest::keyClick(modal, Qt::Key_Return);
            return false;
        });
        answers << messages.askYesNo(pitwall::Message{1289, "Remove Blue from the library?", noByDefault});
    }
    QCOMPARE(answers, (QList<bool>{false, true}));
}

void KeyboardAndHelpTest::datesFollowTheChosenLanguage()
{
    GuiProgram german(2, kGerman);
    QCOMPARE(LanguageLocale(german.program).language(), QLocale::German);
    const QDateTime time(QDate(2026, 12, 8), QTime(19, 47));
    QVERIFY(!LanguageLocale(german.program).toString(time, QLocale::ShortFormat).contains("Dec"));
    GuiProgram english(2, kEnglish);
    QCOMPARE(LanguageLocale(english.program), QLocale());
}

void KeyboardAndHelpTest::mainCommandKeysWorkFromTheEditors()
{
    GuiProgram p(2, kEnglish);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->show();
    QCOMPARE(p.window->currentEditor()->objectName(), QString("TForm12"));
    p.window->currentEditor()->activateWindow(); // keys go to the window in front
    QVERIFY(QTest::qWaitForWindowActive(p.window->currentEditor()));
    QTest::keyClick(p.window->currentEditor(), Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(p.window->currentEditor()->objectName(), QString("TForm13")); // the second editor of the menu
    p.window->currentEditor()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.window->currentEditor()));
    QTest::keyClick(p.window->currentEditor(), Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(p.window->currentEditor()->objectName(), QString("TForm12"));
    auto* quit = p.window->findChild<QAction*>("Beenden1");
    QCOMPARE(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QCOMPARE(quit->shortcutContext(), Qt::ApplicationShortcut);
}

void KeyboardAndHelpTest::helpKeyOpensThePageOfTheWindowInFront()
{
    GuiProgram p(2, kGerman);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->show();

    // Without a manual: a message naming the folder, no empty window.
    QTest::keyClick(p.window->currentEditor(), Qt::Key_F1);
    QCOMPARE(p.numbers().back(), 991);
    QVERIFY(!p.window->helpWindow() || !p.window->helpWindow()->isVisible());

    PlantManual(p);
    QTest::keyClick(p.window->currentEditor(), Qt::Key_F1);
    HelpWindow* help = p.window->helpWindow();
    QVERIFY(help && help->isVisible());
    QCOMPARE(Name(help->shownFile()), QString("de/teams.html")); // German program, German page
    QVERIFY(help->browser()->toPlainText().contains("de teams.html"));

    // The menu entry opens the page of the main window; "Contents" the index.
    p.window->activateWindow();
    p.window->findChild<QAction*>("Inhalt")->trigger();
    QVERIFY(Name(help->shownFile()) == "de/main-window.html" || Name(help->shownFile()) == "de/teams.html");
    Click(help, "HelpContents");
    QCOMPARE(Name(help->shownFile()), QString("de/index.html"));
    QVERIFY(Child<QPushButton>(help, "HelpBack")->isEnabled());
    Click(help, "HelpBack");
    QVERIFY(Name(help->shownFile()) != "de/index.html");
}

QTEST_MAIN(KeyboardAndHelpTest)
#include "KeyboardAndHelpTest.moc"
