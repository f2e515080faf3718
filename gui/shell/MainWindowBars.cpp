// The main window's menus and tool bar: built once, filled where a menu's
// entries change (recent carsets, installations) each time it opens.

#include "MainWindow.h"

#include "AppContext.h"
#include "EditorRegistry.h"
#include "GameFolderList.h"
#include "LibraryWindow.h"
#include "Mnemonics.h"
#include "ToolIcons.h"
#include "app/RecentCarsets.h"
#include "app/Settings.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace pitwall::gui {

QAction* MainWindow::action(const char* name, const QString& caption, std::function<void()> handler)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (handler)
        connect(a, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return a;
}

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu("Datei");
    file->setObjectName("Datei1");
    // The main commands' keys work in the editors' windows too.
    auto withKeys = [](QAction* a, QKeySequence keys) {
        a->setShortcut(keys);
        a->setShortcutContext(Qt::ApplicationShortcut);
        return a;
    };
    file->addAction(withKeys(action("Setladen1", "Set laden", [this] { openCarset(); }), QKeySequence::Open));
    file->addAction(action("KomplettesSetladen2", "Komplettes Set laden", [this] { openCompleteCarset(); }));
    file->addAction(withKeys(action("Setspeichern1", "Set speichern", [this] { saveCarsetAs(); }), QKeySequence::Save));
    file->addAction(action("KomplettesSetspeichern1", "Komplettes Set speichern", [this] { saveCompleteCarsetAs(); }));
    recentCarsetsMenu_ = file->addMenu("Zuletzt verwendete Carsets");
    recentCarsetsMenu_->setObjectName("LetzteCarsets1");
    connect(recentCarsetsMenu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentCarsetsMenu);
    file->addAction(action("Carsetbibliothek1", "Carset-Bibliothek...", [this] { ShowLibraryWindow(app_, this); }));
    file->addSeparator();
    file->addAction(
        withKeys(action("Importieren1", "Importieren", [this] { importSelected(); }), QKeySequence(Qt::CTRL | Qt::Key_I)));
    file->addAction(action("Allesimportieren1", "Alles importieren", [this] { importAll(); }));
    file->addAction(
        withKeys(action("Exportieren1", "Exportieren", [this] { exportSelected(); }), QKeySequence(Qt::CTRL | Qt::Key_E)));
    file->addAction(action("Allesexportieren1", "Alles exportieren", [this] { exportAll(); }));
    file->addSeparator();
    file->addAction(action("Wiederherstellen1", "Wiederherstellen...", [this] { showRestorePoints(); }));
    file->addSeparator();
    installationsMenu_ = file->addMenu("Installation wechseln");
    installationsMenu_->setObjectName("Installationen1");
    connect(installationsMenu_, &QMenu::aboutToShow, this, &MainWindow::fillInstallationsMenu);
    file->addSeparator();
    file->addAction(withKeys(action("Beenden1", "Beenden", [this] { quitProgram(); }), QKeySequence(Qt::CTRL | Qt::Key_Q)));

    editMenu_ = menuBar()->addMenu("Bearbeiten");
    editMenu_->setObjectName("Bearbeiten1");
    QAction* undo = action("Rueckgaengig1", "Rückgängig", [this] { undoEdit(); });
    undo->setShortcut(QKeySequence::Undo);
    undo->setShortcutContext(Qt::ApplicationShortcut);
    QAction* redo = action("Wiederholen1", "Wiederholen", [this] { redoEdit(); });
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redo->setShortcutContext(Qt::ApplicationShortcut);
    editMenu_->addAction(undo);
    editMenu_->addAction(redo);

    QMenu* tools = menuBar()->addMenu("Tools");
    tools->setObjectName("Optionen1");
    tools->addAction(
        action("CarsetInformationeditieren1", "Carset-Information editieren", [this] { editCarsetInfo(); }));
    tools->addAction(action("Backup1", "Backup", [this] { showBackupWindow(); }));
    tools->addAction(action("GrandPrix3starten1", "Grand Prix 3 starten", [this] { startGame(); }));
    tools->addAction(action("Optionen2", "Optionen", [this] { showOptions(); }));

    QMenu* editors = menuBar()->addMenu("Editoren");
    editors->setObjectName("Editoren1");
    int editorKey = Qt::Key_1; // Ctrl+1 ... Ctrl+9 in menu order
    for (const EditorEntry& e : Editors()) {
        const char* className = e.className;
        QAction* a = action(e.menuAction, QString::fromUtf8(e.caption), [this, className] { openEditor(className); });
        a->setEnabled(e.enabled);
        if (e.enabled && editorKey <= Qt::Key_9)
            withKeys(a, QKeySequence(Qt::CTRL | editorKey++));
        editors->addAction(a);
    }

    QMenu* help = menuBar()->addMenu("Hilfe");
    help->setObjectName("Hilfe1");
    // F1 of the main window; in the other windows the event filter takes it,
    // so the page is that of the window where it was pressed.
    QAction* contents = action("Inhalt", "Inhalt", [this] { openManual(); });
    contents->setShortcut(QKeySequence::HelpContents);
    help->addAction(contents);
    help->addAction(action("Info1", "Info", [this] { showInfo(); }));
    help->addAction(action("About1", "About", [this] { showAbout(); }));

    developerMenu_ = menuBar()->addMenu("Developer");
    developerMenu_->setObjectName("Developer1");
    developerMenu_->addAction(action("Strings1", "Strings", [this] { showUiTexts(); }));
}

void MainWindow::buildToolBar()
{
    toolBar_ = addToolBar("Tools");
    toolBar_->setObjectName("ToolBar1");
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(18, 18));
    int buttonNumber = 1;
    auto addButton = [&](QAction* first, QAction* second, const QIcon& icon) {
        auto* b = new QToolButton(toolBar_);
        b->setObjectName(QString("ToolButton%1").arg(buttonNumber++));
        b->setIcon(icon);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setFixedSize(25, 24);
        b->setAutoRaise(true);
        if (first) {
            b->setProperty("menuAction", first->objectName());
            connect(b, &QToolButton::clicked, first, &QAction::trigger);
            b->setText(first->text());
            b->setToolTip(first->text());
        }
        if (second) {
            auto* menu = new QMenu(b);
            menu->addAction(first);
            menu->addAction(second);
            b->setMenu(menu);
            b->setPopupMode(QToolButton::MenuButtonPopup);
            b->setFixedSize(37, 24);
        }
        toolBar_->addWidget(b);
        return b;
    };
    auto find = [this](const char* name) { return findChild<QAction*>(name); };
    // The drop-down entries are actions of their own, as the language table names them.
    addButton(action("MenuItem5", "Set laden", [this] { openCarset(); }),
              action("MenuItem6", "Komplettes Set laden", [this] { openCompleteCarset(); }),
              MakeToolIcon(ToolIcon::Open));
    addButton(action("Setspeichern2", "Set speichern", [this] { saveCarsetAs(); }),
              action("KomplettesSetladen1", "Komplettes Set speichern", [this] { saveCompleteCarsetAs(); }),
              MakeToolIcon(ToolIcon::Save));
    addButton(action("MenuItem1", "Importieren", [this] { importSelected(); }),
              action("MenuItem2", "Alles importieren", [this] { importAll(); }), MakeToolIcon(ToolIcon::Import));
    addButton(action("MenuItem3", "Exportieren", [this] { exportSelected(); }),
              action("MenuItem4", "Alles exportieren", [this] { exportAll(); }), MakeToolIcon(ToolIcon::Export));
    addButton(find("Beenden1"), nullptr, MakeToolIcon(ToolIcon::Quit));
    toolBar_->addSeparator();
    addButton(find("CarsetInformationeditieren1"), nullptr, MakeToolIcon(ToolIcon::CarsetInfo));
    addButton(find("Backup1"), nullptr, MakeToolIcon(ToolIcon::Backup));
    addButton(find("Optionen2"), nullptr, MakeToolIcon(ToolIcon::Options));
    addButton(find("GrandPrix3starten1"), nullptr, MakeToolIcon(ToolIcon::StartGame));
    toolBar_->addSeparator();
    for (const EditorEntry& e : Editors()) {
        if (!e.enabled) {
            addButton(nullptr, nullptr, QIcon())->setEnabled(false); // the career button has no command
            continue;
        }
        addButton(find(e.menuAction), nullptr,
                  MakeEditorIcon(QString::fromLatin1(e.iconLetters), QColor(e.iconColour)));
    }
    toolBar_->addSeparator();
    addButton(find("Inhalt"), nullptr, MakeToolIcon(ToolIcon::Help));
    addButton(find("About1"), nullptr, MakeToolIcon(ToolIcon::About));
    addButton(find("Info1"), nullptr, MakeToolIcon(ToolIcon::Info));
}

void MainWindow::copyHintsFromMenu()
{
    for (QToolButton* b : toolBar_->findChildren<QToolButton*>()) {
        QString name = b->property("menuAction").toString();
        if (name.isEmpty())
            continue;
        if (QAction* a = findChild<QAction*>(name)) {
            b->setToolTip(WithoutMnemonic(a->text()));
            b->setText(WithoutMnemonic(a->text())); // what screen readers say for the icon
        }
    }
}

// The carsets last opened or saved, newest first; choosing one loads it as
// "Set laden" does.
void MainWindow::fillRecentCarsetsMenu()
{
    recentCarsetsMenu_->clear();
    for (const std::string& file : ReadRecentCarsets(app_.program.directories.settingsFile())) {
        QAction* a = recentCarsetsMenu_->addAction(QString::fromStdString(file).replace('&', "&&"));
        connect(a, &QAction::triggered, this, [this, file] { loadCarset(false, file); });
    }
    AssignMnemonics(recentCarsetsMenu_);
}

// The game folders of the options, the one in use ticked.
void MainWindow::fillInstallationsMenu()
{
    installationsMenu_->clear();
    const Settings& settings = app_.program.settings;
    for (const std::string& directory : settings.gameDirectories) {
        // A folder's "&" is its own, not a mnemonic marker.
        QAction* a = installationsMenu_->addAction(GameFolderEntry(app_.program.texts, directory).replace('&', "&&"));
        a->setCheckable(true);
        a->setChecked(directory == settings.gameDirectory);
        connect(a, &QAction::triggered, this, [this, directory] { switchInstallation(directory); });
    }
    AssignMnemonics(installationsMenu_);
}

} // namespace pitwall::gui
