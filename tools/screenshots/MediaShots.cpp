#include "MediaShots.h"

#include "AppContext.h"
#include "EditorWindow.h"
#include "MainWindow.h"

#include <QApplication>
#include <QListWidget>
#include <QPixmap>
#include <QTabWidget>
#include <QTreeWidget>

#include <iostream>

using namespace pitwall;
using namespace pitwall::gui;

namespace {

void Grab(QWidget* w, const QString& file)
{
    w->show();
    QApplication::processEvents();
    if (!w->grab().save(file))
        std::cerr << "cannot write " << file.toStdString() << '\n';
}

} // namespace

void SaveMediaShots(MainWindow& window, AppContext& app, const QString& out)
{
    // Sounds, every team's art, the loading pictures and the backgrounds.
    auto& selection = app.workingSet().transfer.selection;
    selection = {};
    for (int item : {5, 116, 117})
        selection[static_cast<std::size_t>(item)] = 1;
    for (int t = 0; t < 11; ++t)
        selection[static_cast<std::size_t>(104 + t)] = 1;
    TransferUi ui = app.transferUi();
    app.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    auto& marks = app.workingSet().sounds.marks;
    for (std::size_t i = 0; i < marks.size(); i += 3)
        marks[i] = 1;

    window.openEditor("TForm17");
    EditorWindow* sounds = window.currentEditor();
    sounds->restore();
    sounds->resize(760, 480);
    Grab(sounds, out + "/sounds.png");

    window.openEditor("TForm27");
    EditorWindow* menu = window.currentEditor();
    menu->resize(1000, 560);
    auto* pages = menu->findChild<QTabWidget*>("PageControl1");
    menu->findChild<QListWidget*>("ListBox11")->setCurrentRow(1);
    pages->setCurrentIndex(0);
    menu->findChild<QTabWidget*>("PageControl2")->setCurrentIndex(0);
    Grab(menu, out + "/menu-graphics-team-art.png");
    menu->findChild<QTabWidget*>("PageControl2")->setCurrentIndex(1);
    Grab(menu, out + "/menu-graphics-drivers.png");
    pages->setCurrentIndex(1);
    Grab(menu, out + "/menu-graphics-loading.png");
    pages->setCurrentIndex(2);
    app.workingSet().menuBackgrounds = {};
    menu->findChild<QListWidget*>("ListBox1")->setCurrentRow(4);
    for (const char* name : {"BitBtn28"})
        if (auto* b = menu->findChild<QWidget*>(name))
            QMetaObject::invokeMethod(b, "click");
    menu->findChild<QListWidget*>("ListBox1")->setCurrentRow(12);
    Grab(menu, out + "/menu-graphics-backgrounds.png");
    window.openEditor("TForm12");
}
