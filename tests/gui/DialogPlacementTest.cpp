// The program's own windows besides the editors on a small screen
// (1280 x 800), in both languages, opened as the user opens them: each lies
// on the screen, Tab walks it in reading order, Escape closes it without a
// change and Enter takes its obvious, harmless button.
#include "DialogChecks.h"
#include "FileHashes.h"
#include "GuiTestSupport.h"
#include "SmallScreen.h"

#include "CockpitEditor.h"
#include "ExpansionDialog.h"
#include "LoadingWindow.h"
#include "ProgressWindow.h"
#include "SoundsEditor.h"
#include "UnsavedEditsQuestion.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {

const std::string kGerman = "[General]\r\nLanguage=DEUTSCH.LNG\r\nFirstTime=0\r\n";

QAction* MenuAction(GuiProgram& p, const char* name) { return Child<QAction>(p.window.get(), name); }

// A program on the demo installation with everything imported, the file
// dialogs answered with files in its folder.
struct Started {
    explicit Started(const std::string& ini) : p(2, ini)
    {
        p.program.settings.gameDirectory = p.path("game/");
        ok = p.window->firstActivation();
        p.window->show();
        const std::string carset = p.path("Saved.GMS");
        p.app->chooseFileToSave = [carset](const FileRequest&) { return carset; };
        MenuAction(p, "Allesimportieren1")->trigger();
    }
    GuiProgram p;
    bool ok = false;
};

// Checks a shown window and closes it with Escape; what was wrong goes to
// `faults`.
void CheckAndEscape(QWidget* shown, const QString& where, QStringList& faults, QStringList& seen)
{
    // A window that deletes itself when closed is gone after Escape.
    QPointer<QWidget> window(shown);
    const QString name = window->objectName();
    QCoreApplication::processEvents();
    seen << name;
    faults << PlacementFaults(window, where) << TabOrderFaults(window);
    QTest::keyClick(KeyTarget(window), Qt::Key_Escape);
    QCoreApplication::processEvents();
    if (window && window->isVisible())
        faults << where + ": Escape left " + name + " open";
}

// The push button Enter presses in the window as it is: the focused one
// where it takes Enter, else the default one.
QPushButton* EnterButton(QWidget* window)
{
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->isDefault() && b->isVisible())
            return b;
    return nullptr;
}

} // namespace

class DialogPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void tabOrderFaultsAreFound();
    void everyWindowFitsTabsInOrderAndClosesWithEscape_data();
    void everyWindowFitsTabsInOrderAndClosesWithEscape();
    void enterTakesTheObviousButton();
    void lcdListsUseThePage();
};

void DialogPlacementTest::tabOrderFaultsAreFound()
{
    // Two rows of two fields and a group box beside them: read row by row,
    // the group box as one.
    QDialog dialog;
    dialog.setObjectName("Sample");
    auto* grid = new QGridLayout(&dialog);
    QLineEdit* fields[4];
    for (int i = 0; i < 4; ++i) {
        fields[i] = new QLineEdit(&dialog);
        fields[i]->setObjectName(QString("Field%1").arg(i + 1));
        grid->addWidget(fields[i], i / 2, i % 2);
    }
    auto* group = new QGroupBox(&dialog);
    auto* inGroup = new QVBoxLayout(group);
    for (int i = 0; i < 3; ++i)
        inGroup->addWidget(new QCheckBox(group));
    grid->addWidget(group, 0, 2, 2, 1);
    dialog.show();
    QCoreApplication::processEvents();
    QCOMPARE(TabOrderFaults(&dialog), QStringList());
    QWidget::setTabOrder(fields[1], fields[3]); // right before left in the second row
    QCOMPARE(TabOrderFaults(&dialog).size(), 1);
    QWidget::setTabOrder(fields[1], fields[2]);
    QWidget::setTabOrder(fields[2], fields[3]);
    QCOMPARE(TabOrderFaults(&dialog), QStringList());
    QWidget::setTabOrder(fields[2], fields[0]); // back up to the first row's start
    QCOMPARE(TabOrderFaults(&dialog).size(), 1);
    // Column by column reads too (a list with its buttons beside it).
    QWidget::setTabOrder(fields[0], fields[2]);
    QWidget::setTabOrder(fields[2], fields[1]);
    QWidget::setTabOrder(fields[1], fields[3]);
    QCOMPARE(TabOrderFaults(&dialog), QStringList());
}

void DialogPlacementTest::everyWindowFitsTabsInOrderAndClosesWithEscape_data()
{
    QTest::addColumn<QString>("ini");
    QTest::newRow("English") << QString::fromStdString(kEnglish);
    QTest::newRow("German") << QString::fromStdString(kGerman);
}

void DialogPlacementTest::everyWindowFitsTabsInOrderAndClosesWithEscape()
{
    QFETCH(QString, ini);
    Started s(ini.toStdString());
    QVERIFY(s.ok);
    GuiProgram& p = s.p;
    const QString language = QTest::currentDataTag();
    QStringList faults, seen;
    const pitwall::test::FileHashes gameBefore = pitwall::test::HashesOfFiles(p.path("game"));

    // The modal windows the menus open; Escape in each of them.
    for (const char* name : {"Optionen2", "Importieren1", "Exportieren1", "Setspeichern1",
                             "CarsetInformationeditieren1", "Backup1", "Info1", "About1", "Strings1"}) {
        const QString where = language + ", " + name;
        QStringList stuck;
        WithModals([&] { MenuAction(p, name)->trigger(); },
                   [&](QWidget* modal) { CheckAndEscape(modal, where, faults, seen); }, &stuck);
        faults << stuck;
    }
    QVERIFY2(!QFile::exists(QString::fromStdString(p.path("Saved.GMS"))), "Escape saved the carset");
    QVERIFY2(pitwall::test::HashesOfFiles(p.path("game")) == gameBefore, "Escape changed the installation");

    // Windows that stay beside the main window.
    MenuAction(p, "Carsetbibliothek1")->trigger();
    if (auto* library = p.window->findChild<QWidget*>("TFormLibrary"))
        CheckAndEscape(library, language + ", library", faults, seen);
    p.window->showHelpFor(p.window.get());
    if (auto* help = p.window->findChild<QWidget*>("HelpWindow"); help && help->isVisible())
        CheckAndEscape(help, language + ", help", faults, seen);
    ProgressWindow progress(p.window.get());
    progress.start(10, "%d / %d", false, "Backup", "%d s", 1000);
    progress.show();
    faults << PlacementFaults(&progress, language + ", progress");
    progress.hide();
    p.app->loadingWindow->show();
    faults << PlacementFaults(&*p.app->loadingWindow, language + ", loading");
    p.app->loadingWindow->hide();

    // Built by the program itself: the question before edits are lost, the
    // expansion of the art bank.
    std::unique_ptr<QMessageBox> question = MakeUnsavedEditsQuestion(p.program.texts, p.window.get());
    question->show();
    CheckAndEscape(question.get(), language + ", unsaved edits", faults, seen);
    ItemBytes selection{};
    std::array<std::uint8_t, 256> marks{};
    ExpansionDialog expansion(*p.app, ArtDirectory{}, selection, marks);
    expansion.show();
    CheckAndEscape(&expansion, language + ", expansion", faults, seen);

    // The editors' own dialogs: finding and changing a text, choosing the
    // folder of the sounds and the picture sequence of the menus.
    p.window->openEditor("TForm14");
    Click(p.window->currentEditor(), "Button5");
    CheckAndEscape(Child<QWidget>(p.window->currentEditor(), "FindDialog1"), language + ", find", faults, seen);
    WithModals([&] { Click(p.window->currentEditor(), "Button32"); },
               [&](QWidget* modal) { CheckAndEscape(modal, language + ", text", faults, seen); });
    p.window->openEditor("TForm17");
    WithModals([&] { qobject_cast<SoundsEditor*>(p.window->currentEditor())->chooseFolder(); },
               [&](QWidget* modal) { CheckAndEscape(modal, language + ", sound folder", faults, seen); });
    p.window->openEditor("TForm27");
    WithModals([&] { Click(p.window->currentEditor(), "BitBtn4"); },
               [&](QWidget* modal) { CheckAndEscape(modal, language + ", picture sequence", faults, seen); });

    // The restore window once an export has made a restore point; the
    // export's confirmation on the way.
    WithModals([&] { MenuAction(p, "Allesexportieren1")->trigger(); },
               [&](QWidget* modal) {
                   seen << modal->objectName();
                   faults << PlacementFaults(modal, language + ", export") << TabOrderFaults(modal);
                   QTest::keyClick(KeyTarget(modal), Qt::Key_Return);
               });
    WithModals([&] { MenuAction(p, "Wiederherstellen1")->trigger(); },
               [&](QWidget* modal) { CheckAndEscape(modal, language + ", restore", faults, seen); });

    for (const char* window : {"TForm21", "TForm6", "TForm19", "TForm24", "TForm11", "TForm7", "TForm22",
                               "TFormLibrary", "TForm10", "TFormRestore", "FindDialog1", "TForm3", "TForm8", "TForm26",
                               "TFormExportConfirm"})
        QVERIFY2(seen.contains(window), qPrintable(QString(window) + " not opened; opened: " + seen.join(' ')));
    if (!faults.isEmpty())
        QFAIL(qPrintable(faults.join('\n')));
}

void DialogPlacementTest::enterTakesTheObviousButton()
{
    Started s(kEnglish);
    QVERIFY(s.ok);
    GuiProgram& p = s.p;
    // Enter in each window the menus open: the button it takes is never one
    // that throws work away, and the windows with OK close with it.
    QStringList faults;
    for (const char* name : {"Optionen2", "Importieren1", "CarsetInformationeditieren1", "Info1", "About1"}) {
        WithModals([&] { MenuAction(p, name)->trigger(); },
                   [&](QWidget* modal) {
                       QPushButton* button = EnterButton(modal);
                       if (!button || button->objectName() == "DiscardEdits" || button->objectName() == "ButtonRemove")
                           faults << QString(name) + ": Enter takes " + (button ? button->objectName() : "nothing");
                       QTest::keyClick(KeyTarget(modal), Qt::Key_Return);
                       QCoreApplication::processEvents();
                       auto* dialog = qobject_cast<QDialog*>(modal);
                       if (modal->isVisible() || !dialog || dialog->result() != QDialog::Accepted)
                           faults << QString(name) + ": Enter did not accept " + modal->objectName();
                   });
    }
    if (!faults.isEmpty())
        QFAIL(qPrintable(faults.join('\n')));

    // The options: Escape keeps the game folder and the restore-point limit
    // as they were, though the limit counts as soon as it is changed.
    const Settings settings = p.program.settings;
    WithModals([&] { MenuAction(p, "Optionen2")->trigger(); },
               [&](QWidget* modal) {
                   Child<QSpinBox>(modal, "SpinRestorePoints")->setValue(settings.restorePointsKept + 3);
                   auto* edit = Child<QLineEdit>(modal, "Edit8");
                   edit->setFocus();
                   edit->setText(QString::fromStdString(p.path("elsewhere/")));
                   QTest::keyClick(edit, Qt::Key_Escape);
               });
    QCOMPARE(p.program.settings.gameDirectory, settings.gameDirectory);
    QCOMPARE(p.program.settings.restorePointsKept, settings.restorePointsKept);

    // The carset information: Escape keeps what was there, Enter takes the edit.
    const auto before = p.app->workingSet().carsetInfo.lines;
    auto editAuthor = [&](Qt::Key key) {
        WithModals([&] { MenuAction(p, "CarsetInformationeditieren1")->trigger(); },
                   [&](QWidget* modal) {
                       auto* author = Child<QLineEdit>(modal, "Edit15");
                       author->setFocus();
                       author->setText("Enter Test");
                       QTest::keyClick(author, key);
                   });
    };
    editAuthor(Qt::Key_Escape);
    QVERIFY(p.app->workingSet().carsetInfo.lines == before);
    editAuthor(Qt::Key_Return);
    QVERIFY(p.app->workingSet().carsetInfo.lines != before);

    // The question before edits are lost: Escape cancels, Enter saves the carset.
    AppContext::EditsAnswer escaped = AppContext::EditsAnswer::Discard;
    WithModals([&] { escaped = AskAboutUnsavedEdits(p.program.texts, p.window.get()); },
               [](QWidget* modal) { QTest::keyClick(KeyTarget(modal), Qt::Key_Escape); });
    QCOMPARE(escaped, AppContext::EditsAnswer::Cancel);
    AppContext::EditsAnswer entered = AppContext::EditsAnswer::Discard;
    WithModals([&] { entered = AskAboutUnsavedEdits(p.program.texts, p.window.get()); },
               [](QWidget* modal) { QTest::keyClick(KeyTarget(modal), Qt::Key_Return); });
    QCOMPARE(entered, AppContext::EditsAnswer::SaveCarset);
}

void DialogPlacementTest::lcdListsUseThePage()
{
    // The LCD page's lists of screens and elements take the height the page
    // has, on the small screen too, instead of a few rows above empty room.
    GuiProgram p(2, kEnglish);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->show();
    p.window->openEditor("TForm16");
    QWidget* editor = p.window->currentEditor();
    QVERIFY(editor);
    Child<QTabWidget>(editor, "PageControl6")->setCurrentIndex(CockpitEditor::kLcdPage);
    QCoreApplication::processEvents();
    QWidget* page = Child<QTabWidget>(editor, "PageControl6")->currentWidget();
    for (const char* name : {"ListBox1", "ListBox13", "ListBox14"}) {
        auto* list = Child<QListWidget>(page, name);
        const int rows = list->viewport()->height() / std::max(1, list->sizeHintForRow(0));
        QVERIFY2(rows >= std::min(10, list->count()),
                 qPrintable(QString("%1 shows %2 of %3 rows").arg(name).arg(rows).arg(list->count())));
    }
}

int main(int argc, char** argv) { return RunOnSmallScreen<DialogPlacementTest>(argc, argv); }

#include "DialogPlacementTest.moc"
