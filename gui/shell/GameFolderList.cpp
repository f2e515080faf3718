#include "GameFolderList.h"

#include "AppContext.h"
#include "app/Settings.h"
#include "base/FileUtils.h"
#include "formats/GameInstallation.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kFolderEntryText = 1196;
constexpr int kChooseFolderTitle = 1197;
constexpr int kNoGameExeText = 1199;

} // namespace

QString GameFolderEntry(const UITexts& texts, const std::string& directory)
{
    const char* version = GameVersionName(DetectGameVersions(directory).gameVersion);
    // The folder is UTF-8, the language file's text Windows-1252: the folder
    // goes in after the conversion.
    QString text = FromGameText(texts.format(kFolderEntryText, Args("\x01", version)));
    text.replace(QChar(1), QString::fromStdString(directory));
    return text;
}

GameFolderList::GameFolderList(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    list_ = new QListWidget(this);
    list_->setObjectName("ListGameFolders");
    list_->setMaximumHeight(110);
    auto* add = new QPushButton("Ordner hinzufügen...", this);
    add->setObjectName("ButtonAddFolder");
    auto* remove = new QPushButton("Entfernen", this);
    remove->setObjectName("ButtonRemoveFolder");
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    // Picked by a click, or with the keys: Enter on the entry the arrows
    // reached. (Reaching the list with Tab makes its first entry current:
    // that is no choice.)
    auto pick = [this](QListWidgetItem* item) {
        if (item && picked)
            picked(item->data(Qt::UserRole).toString().toStdString());
    };
    connect(list_, &QListWidget::itemClicked, this, pick);
    connect(list_, &QListWidget::itemActivated, this, pick);
    connect(add, &QPushButton::clicked, this, &GameFolderList::browse);
    connect(remove, &QPushButton::clicked, this, &GameFolderList::removeSelected);
}

void GameFolderList::refresh()
{
    const Settings& settings = app_.program.settings;
    QSignalBlocker filling(list_);
    list_->clear();
    for (const auto& directory : settings.gameDirectories) {
        auto* item = new QListWidgetItem(GameFolderEntry(app_.program.texts, directory), list_);
        item->setData(Qt::UserRole, QString::fromStdString(directory));
        if (directory == settings.gameDirectory)
            list_->setCurrentItem(item);
    }
}

bool GameFolderList::addFolder(const std::string& directory)
{
    if (!GameDirectoryHasExe(directory)) {
        app_.messenger().show(kNoGameExeText, Args(directory));
        return false;
    }
    RememberGameDirectory(app_.program.settings, directory);
    refresh();
    return true;
}

void GameFolderList::browse()
{
    QString chosen = QFileDialog::getExistingDirectory(this, FromGameText(app_.program.texts.text(kChooseFolderTitle)),
                                                       QString::fromStdString(app_.program.settings.gameDirectory));
    if (chosen.isEmpty())
        return;
    std::string directory = IncludeTrailingBackslash(chosen.toStdString());
    if (!addFolder(directory) || !picked)
        return;
    picked(directory);
    refresh(); // the folder added is now the one selected
}

void GameFolderList::removeSelected()
{
    QListWidgetItem* item = list_->currentItem();
    if (!item)
        return;
    auto& folders = app_.program.settings.gameDirectories;
    const std::string directory = item->data(Qt::UserRole).toString().toStdString();
    folders.erase(std::remove(folders.begin(), folders.end(), directory), folders.end());
    refresh();
}

} // namespace pitwall::gui
