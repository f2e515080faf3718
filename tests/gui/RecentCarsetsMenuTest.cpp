#include "GuiTestSupport.h"
#include "Mnemonics.h"

#include "SelectionDialogWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::Child;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::OnModal;

class RecentCarsetsMenuTest : public QObject {
    Q_OBJECT
private slots:
    void carsetsSavedAndOpenedComeFirst();
};

namespace {

QStringList Entries(QMenu* menu)
{
    emit menu->aboutToShow();
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << WithoutMnemonic(a->text());
    return texts;
}

} // namespace

void RecentCarsetsMenuTest::carsetsSavedAndOpenedComeFirst()
{
    GuiProgram p(2, pitwall::gui::test::kEnglish);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->findChild<QAction*>("Allesimportieren1")->trigger();
    auto* menu = Child<QMenu>(p.window.get(), "LetzteCarsets1");
    QCOMPARE(WithoutMnemonic(menu->title()), QString("Recent carsets"));
    QVERIFY(Entries(menu).isEmpty());

    const QString first = QString::fromStdString(p.path("first.GMS"));
    const QString second = QString::fromStdString(p.path("second.GMS"));
    std::string saveAs;
    p.app->chooseFileToSave = [&](const FileRequest&) -> std::optional<std::string> { return saveAs; };
    for (const QString& file : {first, second}) {
        saveAs = file.toStdString();
        p.window->findChild<QAction*>("KomplettesSetspeichern1")->trigger();
    }
    // A save that did not happen (no name chosen) is not listed.
    p.app->chooseFileToSave = [](const FileRequest&) { return std::optional<std::string>(); };
    p.window->findChild<QAction*>("KomplettesSetspeichern1")->trigger();
    QCOMPARE(Entries(menu), (QStringList{second, first}));

    // Choosing an entry loads it as "Load set" does, with the selection.
    int asked = 0;
    OnModal([&](QWidget* modal) {
        auto* selection = qobject_cast<SelectionDialogWindow*>(modal);
        if (!selection)
            return true;
        ++asked;
        if (!selection->box(1)->isChecked())
            selection->box(1)->click(); // teams and drivers
        selection->accept();
        return false;
    });
    menu->actions().at(1)->trigger();
    QCOMPARE(asked, 1);
    QVERIFY(p.numbers().empty());
    QCOMPARE(Entries(menu), (QStringList{first, second}));
}

QTEST_MAIN(RecentCarsetsMenuTest)
#include "RecentCarsetsMenuTest.moc"
