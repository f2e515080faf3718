#include "GuiTestSupport.h"
#include "Mnemonics.h"

#include "OptionsDialog.h"
#include "app/Settings.h"
#include "formats/GameInstallation.h"
#include "formats/ArtBankDirectory.h"
#include "TestSupport.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Child;
using pitwall::gui::test::Click;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::OnModal;

class GameFoldersTest : public QObject {
    Q_OBJECT
private slots:
    void automaticSearchListsEveryInstallationToPickFrom();
    void foldersAddedMustHoldTheGameAndCanBeRemoved();
    void switchingInstallationReadsItsArtBank();
};

namespace {

// HOME pointed at a folder of the test's own while the object lives.
class FakeHome {
public:
    FakeHome()
        : home_(qgetenv("HOME")), prefix_(qgetenv("WINEPREFIX")), hadPrefix_(qEnvironmentVariableIsSet("WINEPREFIX"))
    {
        qputenv("HOME", dir.path().toUtf8());
        qunsetenv("WINEPREFIX");
    }
    ~FakeHome()
    {
        qputenv("HOME", home_);
        if (hadPrefix_)
            qputenv("WINEPREFIX", prefix_);
    }
    std::string path(const std::string& relative) const { return dir.path().toStdString() + "/" + relative; }

    QTemporaryDir dir;

private:
    QByteArray home_;
    QByteArray prefix_;
    bool hadPrefix_;
};

void ClickItem(QListWidget* list, int row)
{
    QListWidgetItem* item = list->item(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

} // namespace

void GameFoldersTest::automaticSearchListsEveryInstallationToPickFrom()
{
    FakeHome home;
    const std::string lutris = home.path("Games/grand-prix-3/drive_c/GP3/");
    const std::string wine = home.path(".wine/drive_c/Games/GP3/");
    pitwall::test::MakeDemo(lutris, 1, 1);
    pitwall::test::MakeDemo(wine, 2, 1);

    GuiProgram p(0, pitwall::gui::test::kEnglish);
    p.window->applyLanguage();
    QStringList listed;
    int listedBefore = -1;
    int shown = 0;
    OnModal([&](QWidget* modal) {
        auto* options = qobject_cast<OptionsDialog*>(modal);
        if (!options)
            return true;
        if (++shown > 1) { // asked again: the installation picked was refused
            Click(options, "BitBtn2");
            return false;
        }
        auto* list = Child<QListWidget>(options, "ListGameFolders");
        listedBefore = list->count();
        Click(options, "Button1"); // "Automatic search"
        for (int i = 0; i < list->count(); ++i)
            listed << list->item(i)->text();
        if (list->count() == 2)
            ClickItem(list, 1);
        Click(options, "BitBtn1"); // OK
        return true;
    });
    p.window->findChild<QAction*>("Optionen2")->trigger();

    QCOMPARE(shown, 1);
    QCOMPARE(listedBefore, 0);
    QCOMPARE(listed.size(), 2);
    QVERIFY2(listed[0].startsWith(QString::fromStdString(lutris)) && listed[0].endsWith("(v1.00)"),
             qPrintable(listed[0]));
    QVERIFY2(listed[1].startsWith(QString::fromStdString(wine)) && listed[1].endsWith("(v1.13)"),
             qPrintable(listed[1]));
    QCOMPARE(p.program.settings.gameDirectory, wine);
    QCOMPARE(p.program.gameVersion, 2);
    QVERIFY(p.numbers().empty());

    // The File menu offers both, the one in use ticked; choosing the other
    // switches to it.
    auto* menu = Child<QMenu>(p.window.get(), "Installationen1");
    QCOMPARE(WithoutMnemonic(menu->title()), QString("Switch installation"));
    emit menu->aboutToShow();
    const auto actions = menu->actions();
    QCOMPARE(actions.size(), qsizetype(2));
    QVERIFY(WithoutMnemonic(actions[0]->text()).startsWith(QString::fromStdString(lutris)) && !actions[0]->isChecked());
    QVERIFY(WithoutMnemonic(actions[1]->text()).startsWith(QString::fromStdString(wine)) && actions[1]->isChecked());
    actions[0]->trigger();
    QCOMPARE(p.program.settings.gameDirectory, lutris);
    QCOMPARE(p.program.gameVersion, 1);
    QVERIFY(p.numbers().empty());
    actions[1]->trigger();
    QCOMPARE(p.program.settings.gameDirectory, wine);

    // The settings file keeps both and the one in use under the key it
    // always had.
    p.window->close();
    const auto bytes = pitwall::test::ReadBytes(p.path("program/PITWALL.INI"));
    const std::string ini(bytes.begin(), bytes.end());
    QVERIFY2(ini.find("GP3Path=" + wine) != std::string::npos, ini.c_str());
    QVERIFY2(ini.find("Path1=" + lutris) != std::string::npos, ini.c_str());
    QVERIFY2(ini.find("Path2=" + wine) != std::string::npos, ini.c_str());
}

void GameFoldersTest::foldersAddedMustHoldTheGameAndCanBeRemoved()
{
    GuiProgram p(2, pitwall::gui::test::kEnglish);
    const std::string game = p.path("game/");
    const std::string other = p.path("other/");
    pitwall::test::MakeDemo(other, 1, 1);
    ForceDirectories(p.path("empty"));
    p.program.settings.gameDirectory = game;
    RememberGameDirectory(p.program.settings, game);
    p.window->applyLanguage();
    OptionsDialog* options = p.app->optionsDialog;
    options->show();
    auto* list = Child<QListWidget>(options, "ListGameFolders");
    QCOMPARE(list->count(), 1);

    QStringList chosen = {QString::fromStdString(p.path("empty")), QString::fromStdString(p.path("other"))};
    for (const QString& folder : chosen) {
        OnModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog)
                return true;
            dialog->setDirectory(folder);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, which checks the name
            return false;
        });
        Click(options, "ButtonAddFolder");
    }
    // The empty folder was refused with its message, the other added and
    // made the one in use.
    QCOMPARE(p.numbers(), std::vector<int>{1199});
    QCOMPARE(p.program.settings.gameDirectories, (std::vector<std::string>{game, other}));
    QCOMPARE(list->count(), 2);
    QVERIFY(list->item(1)->text().endsWith("(v1.00)"));
    QCOMPARE(Child<QLineEdit>(options, "Edit8")->text(), QString::fromStdString(other));
    QCOMPARE(list->currentRow(), 1);

    ClickItem(list, 0);
    Click(options, "ButtonRemoveFolder");
    QCOMPARE(p.program.settings.gameDirectories, std::vector<std::string>{other});
    QCOMPARE(list->count(), 1);
    options->hide();
}

QTEST_MAIN(GameFoldersTest)
// Where each picture lies in the art file belongs to the installation: after
// a switch, exports must not write into the new one's art file by the old
// one's directory.
void GameFoldersTest::switchingInstallationReadsItsArtBank()
{
    GuiProgram p;
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    const std::string other = p.path("other/");
    pitwall::test::MakeDemo(other, 2, 6);
    const ArtDirectory otherBank = ReadArtDirectory(GameFilePath(other, kArtBankGamePath));
    QVERIFY(p.app->workingSet().artIndex.entries != otherBank.entries);
    RememberGameDirectory(p.program.settings, other);

    auto* menu = p.window->findChild<QMenu*>("Installationen1");
    QVERIFY(menu);
    emit menu->aboutToShow();
    QAction* switchTo = nullptr;
    for (QAction* a : menu->actions())
        if (WithoutMnemonic(a->text()).contains("other"))
            switchTo = a;
    QVERIFY(switchTo);
    switchTo->trigger();
    QCOMPARE(p.program.settings.gameDirectory, other);
    QVERIFY(p.app->workingSet().artIndex.entries == otherBank.entries);
}

#include "GameFoldersTest.moc"
