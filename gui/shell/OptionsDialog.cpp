#include "OptionsDialog.h"

#include "AppContext.h"
#include "FileDialogs.h"
#include "GameFolderList.h"
#include "LanguageTable.h"
#include "app/GameInstallationSearch.h"
#include "app/GamePalette.h"
#include "app/Language.h"
#include "app/IniFile.h"
#include "app/Settings.h"
#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "formats/GameInstallation.h"
#include "transfer/CarsetLibrary.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace pitwall::gui {

namespace {

// The library folder as the settings file names it; empty for the default.
std::string LibrarySetting(const AppContext& app)
{
    IniFile ini;
    const std::string file = app.program.directories.settingsFile();
    if (!FileExists(file) || !ini.load(file))
        return {};
    return ini.readString(kGeneralSection, "Library", "");
}

// Keeps the typed library folder in the settings file when it changed; a
// file that cannot be written is said once.
void TakeLibraryFolder(AppContext& app, QWidget* dialog)
{
    auto* edit = dialog->findChild<QLineEdit*>("EditLibrary");
    const std::string typed = edit->text().trimmed().toStdString();
    if (typed == LibrarySetting(app))
        return;
    try {
        WriteLibrarySetting(app.program.directories.settingsFile(), typed);
    } catch (const std::exception& e) {
        app.messenger().showFixed(e.what());
    }
}

constexpr TextBinding kOptionsTexts[] = {
    {"", TextRole::Caption, 187},
    {"Label93", TextRole::Caption, 188},
    {"Button1", TextRole::Caption, 1150},
    {"Label94", TextRole::Caption, 189},
    {"CheckBox2", TextRole::Caption, 190},
    {"CheckBox1", TextRole::Caption, 998},
    {"LabelStartCommand", TextRole::Caption, 905},
    {"EditStartCommand", TextRole::Hint, 906},
    {"BitBtn1", TextRole::Caption, 203},
    {"BitBtn2", TextRole::Caption, 205},
    {"GroupBox1", TextRole::Caption, 990},
    {"LabelGameFolders", TextRole::Caption, 1193},
    {"ButtonAddFolder", TextRole::Caption, 1194},
    {"ButtonRemoveFolder", TextRole::Caption, 1195},
    {"LabelPalette", TextRole::Caption, 1226},
    {"ButtonPalette", TextRole::Caption, 1227},
    {"LabelLibrary", TextRole::Caption, 1299},
    {"ButtonLibrary", TextRole::Caption, 1227},
    {"LabelRestorePoints", TextRole::Caption, 1225},
};

} // namespace

OptionsDialog::OptionsDialog(AppContext& app, QWidget* parent) : QDialog(parent), app_(app)
{
    setObjectName("TForm21");
    setWindowTitle("Optionen");
    setModal(true);
    auto* grid = new QGridLayout(this);

    auto* pathLabel = new QLabel("Grand Prix 3 Pfad:", this);
    pathLabel->setObjectName("Label93");
    gameDirectory_ = new QLineEdit(this);
    gameDirectory_->setObjectName("Edit8");
    auto* search = new QPushButton("Automatische Suche", this);
    search->setObjectName("Button1");
    grid->addWidget(pathLabel, 0, 0);
    grid->addWidget(gameDirectory_, 0, 1);
    grid->addWidget(search, 0, 2);

    auto* foldersLabel = new QLabel("Spielordner:", this);
    foldersLabel->setObjectName("LabelGameFolders");
    gameFolders_ = new GameFolderList(app_, this);
    gameFolders_->picked = [this](const std::string& directory) { pickGameDirectory(directory); };
    // The label names the list for screen readers too.
    foldersLabel->setBuddy(gameFolders_->findChild<QListWidget*>("ListGameFolders"));
    grid->addWidget(foldersLabel, 1, 0, Qt::AlignTop);
    grid->addWidget(gameFolders_, 1, 1, 1, 2);

    auto* languageLabel = new QLabel("Sprache:", this);
    languageLabel->setObjectName("Label94");
    languages_ = new QListWidget(this);
    languages_->setObjectName("ListBox19");
    languages_->setMaximumHeight(90);
    grid->addWidget(languageLabel, 2, 0, Qt::AlignTop);
    grid->addWidget(languages_, 2, 1, 1, 2);

    alwaysImport_ = new QCheckBox("Bei jedem Start automatisch Daten von Grand Prix 3 importieren", this);
    alwaysImport_->setObjectName("CheckBox2");
    showExportOK_ = new QCheckBox("Erfolgsmeldung nach Exportieren anzeigen", this);
    showExportOK_->setObjectName("CheckBox1");
    grid->addWidget(alwaysImport_, 3, 0, 1, 3);
    grid->addWidget(showExportOK_, 4, 0, 1, 3);

    auto* startLabel = new QLabel("Startbefehl:", this);
    startLabel->setObjectName("LabelStartCommand");
    startCommand_ = new QLineEdit(this);
    startCommand_->setObjectName("EditStartCommand");
    startCommand_->setPlaceholderText(
#ifdef _WIN32
        "GP3.EXE"
#else
        "wine"
#endif
    );
    grid->addWidget(startLabel, 5, 0);
    grid->addWidget(startCommand_, 5, 1, 1, 2);

    auto* paletteLabel = new QLabel("Spielpalette:", this);
    paletteLabel->setObjectName("LabelPalette");
    paletteFile_ = new QLineEdit(this);
    paletteFile_->setObjectName("EditPalette");
    paletteLabel->setBuddy(paletteFile_);
    auto* choosePalette = new QPushButton("Wählen...", this);
    choosePalette->setObjectName("ButtonPalette");
    grid->addWidget(paletteLabel, 6, 0);
    grid->addWidget(paletteFile_, 6, 1);
    grid->addWidget(choosePalette, 6, 2);

    // The carset library's folder: empty for the default in the user's data
    // directory, which the field shows greyed.
    auto* libraryLabel = new QLabel("Carset-Bibliothek:", this);
    libraryLabel->setObjectName("LabelLibrary");
    auto* libraryFolder = new QLineEdit(this);
    libraryFolder->setObjectName("EditLibrary");
    libraryFolder->setPlaceholderText(QString::fromStdString(DefaultLibraryDirectory()));
    libraryLabel->setBuddy(libraryFolder);
    auto* chooseLibrary = new QPushButton("Wählen...", this);
    chooseLibrary->setObjectName("ButtonLibrary");
    grid->addWidget(libraryLabel, 7, 0);
    grid->addWidget(libraryFolder, 7, 1);
    grid->addWidget(chooseLibrary, 7, 2);

    auto* restoreLabel = new QLabel("Wiederherstellungspunkte je Installation:", this);
    restoreLabel->setObjectName("LabelRestorePoints");
    restorePointsKept_ = new QSpinBox(this);
    restorePointsKept_->setObjectName("SpinRestorePoints");
    restorePointsKept_->setRange(1, 1000);
    restoreLabel->setBuddy(restorePointsKept_);
    restorePointsMB_ = new QSpinBox(this);
    restorePointsMB_->setObjectName("SpinRestorePointsMB");
    restorePointsMB_->setRange(1, 1'000'000);
    auto* restoreRow = new QHBoxLayout;
    restoreRow->addWidget(restorePointsKept_);
    restoreRow->addWidget(restorePointsMB_);
    restoreRow->addStretch();
    grid->addWidget(restoreLabel, 8, 0);
    grid->addLayout(restoreRow, 8, 1, 1, 2);

    auto* historyGroup = new QGroupBox("History", this);
    historyGroup->setObjectName("GroupBox1");
    auto* historyLayout = new QVBoxLayout(historyGroup);
    history_ = new QPlainTextEdit(historyGroup);
    history_->setObjectName("Memo2");
    history_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    historyLayout->addWidget(history_);
    grid->addWidget(historyGroup, 9, 0, 1, 3);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    auto* quit = new QPushButton("Programm beenden", this);
    quit->setObjectName("BitBtn2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(quit);
    grid->addLayout(buttons, 10, 0, 1, 3);
    resize(620, 580);

    connect(gameDirectory_, &QLineEdit::editingFinished, this, &OptionsDialog::takeGameDirectory);
    connect(search, &QPushButton::clicked, this, &OptionsDialog::searchGameDirectory);
    // Chosen by a click or with the keys (arrows, a letter) alike.
    connect(languages_, &QListWidget::currentRowChanged, this, &OptionsDialog::chooseLanguage);
    connect(alwaysImport_, &QCheckBox::clicked, this, [this](bool on) { app_.program.settings.alwaysImport = on; });
    connect(startCommand_, &QLineEdit::editingFinished, this,
            [this] { app_.program.settings.startCommand = startCommand_->text().trimmed().toStdString(); });
    connect(paletteFile_, &QLineEdit::editingFinished, this, &OptionsDialog::takePaletteFile);
    connect(choosePalette, &QPushButton::clicked, this, &OptionsDialog::choosePaletteFile);
    connect(libraryFolder, &QLineEdit::editingFinished, this, [this] { TakeLibraryFolder(app_, this); });
    connect(chooseLibrary, &QPushButton::clicked, this, [this, libraryFolder] {
        const QString chosen = QFileDialog::getExistingDirectory(this, QString(), libraryFolder->text());
        if (chosen.isEmpty())
            return;
        libraryFolder->setText(chosen);
        TakeLibraryFolder(app_, this);
    });
    connect(restorePointsKept_, &QSpinBox::valueChanged, this,
            [this](int n) { app_.program.settings.restorePointsKept = n; });
    connect(restorePointsMB_, &QSpinBox::valueChanged, this,
            [this](int mb) { app_.program.settings.restorePointsMB = mb; });
    connect(showExportOK_, &QCheckBox::clicked, this, [this](bool on) { app_.program.settings.showExportOK = on; });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(quit, &QPushButton::clicked, this, [this] {
        if (mayQuit && !mayQuit())
            return;
        takeGameDirectory();
        app_.shutdown();
        QDialog::reject(); // ends the program: nothing to put back
        app_.quit();
    });
}

void OptionsDialog::applyLanguage()
{
    const UITexts& texts = app_.program.texts;
    ApplyTexts(this, kOptionsTexts, texts);
    paletteFile_->setPlaceholderText(FromGameText(texts.text(1228)));
    restorePointsKept_->setSuffix(" " + FromGameText(texts.text(1233)));
    restorePointsMB_->setPrefix(FromGameText(texts.text(1234)) + " ");
    restorePointsMB_->setSuffix(" MB");
}

void OptionsDialog::showEvent(QShowEvent* event)
{
    settingsBefore_ = app_.program.settings;
    languageBefore_ = app_.program.languageIndex;
    libraryBefore_ = LibrarySetting(app_);
    rejecting_ = false;
    applyLanguage();
    showExportOK_->setChecked(app_.program.settings.showExportOK);
    alwaysImport_->setChecked(app_.program.settings.alwaysImport);
    gameDirectory_->setText(QString::fromStdString(app_.program.settings.gameDirectory));
    gameFolders_->refresh();
    startCommand_->setText(QString::fromStdString(app_.program.settings.startCommand));
    paletteFile_->setText(QString::fromStdString(app_.program.settings.paletteFile));
    findChild<QLineEdit*>("EditLibrary")->setText(QString::fromStdString(LibrarySetting(app_)));
    restorePointsKept_->setValue(app_.program.settings.restorePointsKept);
    restorePointsMB_->setValue(app_.program.settings.restorePointsMB);
    {
        QSignalBlocker filling(languages_);
        languages_->clear();
        // File names, UTF-8 as the file system gives them (not game text).
        for (const auto& file : app_.program.languageFiles)
            languages_->addItem(QString::fromStdString(file));
        languages_->setCurrentRow(app_.program.languageIndex);
    }
    loadHistory();
    QDialog::showEvent(event);
}

void OptionsDialog::reject()
{
    rejecting_ = true;
    QDialog::reject();
    const std::string palette = app_.program.settings.paletteFile;
    app_.program.settings = settingsBefore_;
    if (LibrarySetting(app_) != libraryBefore_) {
        try {
            WriteLibrarySetting(app_.program.directories.settingsFile(), libraryBefore_);
        } catch (const std::exception& e) {
            app_.messenger().showFixed(e.what());
        }
    }
    if (palette != settingsBefore_.paletteFile) {
        app_.program.settings.paletteFile = palette; // so the one before counts as another
        if (UsePaletteFile(app_.program, settingsBefore_.paletteFile, app_.messages) && paletteChanged)
            paletteChanged();
    }
    if (app_.program.languageIndex != languageBefore_) {
        {
            QSignalBlocker back(languages_);
            languages_->setCurrentRow(languageBefore_);
        }
        chooseLanguage();
    }
}

void OptionsDialog::hideEvent(QHideEvent* event)
{
    if (rejecting_) {
        QDialog::hideEvent(event);
        return;
    }
    takeGameDirectory();
    app_.program.settings.startCommand = startCommand_->text().trimmed().toStdString();
    takePaletteFile();
    TakeLibraryFolder(app_, this);
    QDialog::hideEvent(event);
}

void OptionsDialog::takePaletteFile()
{
    // File names are UTF-8 inside the program, as every dialog gives them.
    const std::string typed = paletteFile_->text().trimmed().toStdString();
    if (typed == app_.program.settings.paletteFile)
        return;
    if (UsePaletteFile(app_.program, typed, app_.messages) && paletteChanged)
        paletteChanged();
    // A file that could not be read leaves the one in use, and shows it.
    paletteFile_->setText(QString::fromStdString(app_.program.settings.paletteFile));
}

void OptionsDialog::choosePaletteFile()
{
    auto file = app_.chooseFileToOpen(FileRequest{"Palette", "", {1231}, 1});
    if (!file)
        return;
    paletteFile_->setText(QString::fromStdString(*file));
    takePaletteFile();
}

void OptionsDialog::takeGameDirectory()
{
    std::string typed = gameDirectory_->text().trimmed().toStdString();
    Settings& settings = app_.program.settings;
    settings.gameDirectory = IncludeTrailingBackslash(typed);
    gameDirectory_->setText(QString::fromStdString(settings.gameDirectory));
    // A typed folder joins the list once it holds the game. (A folder picked
    // from the list is there already; its entry is not rebuilt under the
    // click that picked it.)
    const auto& listed = settings.gameDirectories;
    if (GameDirectoryHasExe(settings.gameDirectory)
        && std::find(listed.begin(), listed.end(), settings.gameDirectory) == listed.end()) {
        RememberGameDirectory(settings, settings.gameDirectory);
        gameFolders_->refresh();
    }
}

void OptionsDialog::pickGameDirectory(const std::string& directory)
{
    gameDirectory_->setText(QString::fromStdString(directory));
    takeGameDirectory();
}

void OptionsDialog::searchGameDirectory()
{
    const auto found = FindGameInstallations();
    if (found.empty()) {
        Messenger m = app_.messenger();
        m.show(999);
        return;
    }
    Settings& settings = app_.program.settings;
    for (const auto& installation : found)
        RememberGameDirectory(settings, installation.directory);
    // The folder in use stays unless it holds no game; the user picks
    // another from the list.
    if (!GameDirectoryHasExe(settings.gameDirectory))
        pickGameDirectory(found.front().directory);
    gameFolders_->refresh();
}

void OptionsDialog::chooseLanguage()
{
    int row = languages_->currentRow();
    if (row < 0 || row >= static_cast<int>(app_.program.languageFiles.size()))
        return;
    app_.program.languageIndex = row;
    app_.program.settings.languageFile = app_.program.languageFiles[static_cast<std::size_t>(row)];
    LoadLanguage(app_.program.directories.program, app_.program.settings.languageFile, app_.program.texts,
                 app_.messages);
    if (languageChanged)
        languageChanged();
}

void OptionsDialog::loadHistory()
{
    history_->clear();
    QFile file(QString::fromStdString(app_.program.directories.program + "HISTORYE.TXT"));
    if (file.open(QIODevice::ReadOnly))
        history_->setPlainText(FromGameText(file.readAll().toStdString()));
}

} // namespace pitwall::gui
