#include "MenuBackgroundsPage.h"

#include "AppContext.h"
#include "ImageConversion.h"
#include "PictureDescription.h"
#include "WidgetHelpers.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/Bmp.h"
#include "menu/MenuArt.h"
#include "menu/MenuPictureFiles.h"
#include "transfer/ReportedFormats.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kBmpFilter = 944, kJpgFilter = 946, kPngFilter = 881;
// Every picture file that is read.
constexpr int kPictureFilter = 1204;
constexpr int kSavingText = 1009, kLoadingText = 1010;

std::vector<int> AllBackgrounds()
{
    std::vector<int> numbers;
    for (int n = 0; n < kMenuBackgroundCount; ++n)
        numbers.push_back(n);
    return numbers;
}

} // namespace

MenuBackgroundsPage::MenuBackgroundsPage(MenuGraphicsServices& services, QWidget* parent)
    : QWidget(parent), services_(services)
{
    setObjectName("TabSheet1");
    auto* layout = new QHBoxLayout(this);
    names_ = new QListWidget(this);
    names_->setObjectName("ListBox1");
    names_->setFixedWidth(230);
    layout->addWidget(names_);

    controls_ = new QWidget(this);
    auto* middle = new QVBoxLayout(controls_);
    middle->setContentsMargins(0, 0, 0, 0);
    // Both pictures share one place; only one of them is visible.
    auto* pictures = new QGridLayout;
    replacement_ = new QLabel(controls_);
    replacement_->setObjectName("Image8");
    artEntry_ = new QLabel(controls_);
    artEntry_->setObjectName("Image9");
    for (QLabel* label : {replacement_, artEntry_}) {
        KeepPictureDescribed(label, services_.app.program.texts);
        label->setFixedSize(kMenuBackgroundWidth / 2, kMenuBackgroundHeight / 2);
        label->setScaledContents(true);
        label->setFrameShape(QFrame::StyledPanel);
        pictures->addWidget(label, 0, 0);
    }
    replacement_->hide();
    middle->addLayout(pictures);
    show_ = new QCheckBox("Grafik anzeigen", controls_);
    show_->setObjectName("CheckBox4");
    middle->addWidget(show_);
    auto* buttons = new QGridLayout;
    buttons->addWidget(Button(controls_, "Button38", "Grafik speichern"), 0, 0);
    buttons->addWidget(Button(controls_, "Button36", "Alle speichern"), 0, 1);
    buttons->addWidget(Button(controls_, "Button52", "Grafik laden"), 1, 0);
    buttons->addWidget(Button(controls_, "Button37", "Alle laden"), 1, 1);
    middle->addLayout(buttons);
    middle->addStretch(1);
    layout->addWidget(controls_);

    auto* right = new QVBoxLayout;
    auto* listLabel = new QLabel("Folgende Grafiken werden exportiert:", this);
    listLabel->setObjectName("Label18");
    listLabel->setWordWrap(true);
    right->addWidget(listLabel);
    exportList_ = new QListWidget(this);
    exportList_->setObjectName("ListBox18");
    exportList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    exportList_->setSortingEnabled(true);
    exportList_->installEventFilter(this);
    right->addWidget(exportList_, 1);
    right->addWidget(Button(this, "BitBtn28", "Diese Grafik zur Liste hinzufügen"));
    right->addWidget(Button(this, "BitBtn31", "Alle Grafiken zur Liste hinzufügen"));
    auto* transfer = new QHBoxLayout;
    transfer->addWidget(Button(this, "Button30", "Importieren"));
    transfer->addWidget(Button(this, "Button31", "Exportieren"));
    right->addLayout(transfer);
    layout->addLayout(right, 1);

    connect(names_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            services_.state.background = row;
        showBackground();
    });
    connect(show_, &QCheckBox::toggled, this, [this](bool on) {
        services_.state.showBackground = on;
        showBackground();
    });
    connect(findChild<QPushButton*>("Button38"), &QPushButton::clicked, this,
            &MenuBackgroundsPage::saveBackgroundToFile);
    connect(findChild<QPushButton*>("Button36"), &QPushButton::clicked, this, &MenuBackgroundsPage::saveAllBackgrounds);
    connect(findChild<QPushButton*>("Button52"), &QPushButton::clicked, this,
            &MenuBackgroundsPage::loadBackgroundFromFile);
    connect(findChild<QPushButton*>("Button37"), &QPushButton::clicked, this, &MenuBackgroundsPage::loadAllBackgrounds);
    connect(findChild<QPushButton*>("BitBtn28"), &QPushButton::clicked, this,
            &MenuBackgroundsPage::addBackgroundToExport);
    connect(findChild<QPushButton*>("BitBtn31"), &QPushButton::clicked, this,
            &MenuBackgroundsPage::addAllBackgroundsToExport);
    connect(findChild<QPushButton*>("Button30"), &QPushButton::clicked, this,
            [this] { services_.transfer({kMenuBackgroundsItem}, false); });
    connect(findChild<QPushButton*>("Button31"), &QPushButton::clicked, this,
            [this] { services_.transfer({kMenuBackgroundsItem}, true); });
}

int MenuBackgroundsPage::background() const
{
    return std::clamp(services_.state.background, 0, kMenuBackgroundCount - 1);
}

std::string MenuBackgroundsPage::bankFile() const
{
    return ResolveGamePath(services_.app.program.settings.gameDirectory, kArtBankGamePath);
}

void MenuBackgroundsPage::enableControls()
{
    const bool loaded = services_.app.workingSet().transfer.isLoaded(kMenuBackgroundsItem);
    controls_->setEnabled(loaded);
    for (const char* name : {"BitBtn28", "BitBtn31", "Button31"})
        findChild<QPushButton*>(name)->setEnabled(loaded);
    exportList_->setEnabled(loaded);
}

void MenuBackgroundsPage::restore()
{
    {
        QSignalBlocker block(names_);
        names_->clear();
        for (int n = 0; n < kMenuBackgroundCount; ++n)
            names_->addItem(FromGameText(MenuBackgroundLine(n, services_.app.program.texts)));
        names_->setCurrentRow(background());
    }
    {
        QSignalBlocker block(show_);
        show_->setChecked(services_.state.showBackground);
    }
    fillExportList();
    enableControls();
    showBackground();
}

void MenuBackgroundsPage::fillExportList()
{
    exportList_->clear();
    // The entries name their backgrounds in the language shown now, whatever
    // language they were added (or a carset was saved) in. Only the list
    // shown is translated: the working set's lines stay as they are, so
    // looking at the page is no edit.
    for (const std::string& line : services_.app.workingSet().menuBackgrounds) {
        const auto n = MenuBackgroundNumber(line);
        exportList_->addItem(FromGameText(n ? MenuBackgroundLine(*n, services_.app.program.texts) : line));
    }
}

void MenuBackgroundsPage::showBackground()
{
    replacement_->clear();
    artEntry_->clear();
    if (!services_.app.workingSet().transfer.isLoaded(kMenuBackgroundsItem) || !show_->isChecked())
        return;
    const int n = background();
    const std::string file = services_.app.program.directories.working + MenuReplacementName(n);
    try {
        if (FileExists(file)) {
            replacement_->setPixmap(QPixmap::fromImage(ToQImage(LoadBmpFile(file))));
            artEntry_->hide();
            replacement_->show();
            return;
        }
        ArtPicture picture;
        Messenger messenger = services_.app.messenger();
        if (ReadArtImage(bankFile(), kMenuBackgroundFirstEntry + static_cast<std::size_t>(n), picture, &messenger))
            artEntry_->setPixmap(QPixmap::fromImage(ToQImage(ArtPictureToImage(picture))));
    } catch (const std::exception& e) {
        services_.app.messenger().showFixed(file + ": " + e.what());
    }
    replacement_->hide();
    artEntry_->show();
}

void MenuBackgroundsPage::saveBackgroundToFile()
{
    const int n = background();
    FileRequest request{"MenuBackSave", "MenuBackground" + std::to_string(n) + ".BMP", {kBmpFilter, kJpgFilter}, 1};
    auto name = services_.app.chooseFileToSave(request);
    if (!name)
        return;
    Messenger messenger = services_.app.messenger();
    SaveMenuBackground(services_.app.program.directories.working, bankFile(), n, *name, &messenger);
}

void MenuBackgroundsPage::saveAllBackgrounds()
{
    auto sequence = services_.chooseSequence();
    if (!sequence)
        return;
    Messenger messenger = services_.app.messenger();
    RunPictureSequence(this, services_.app, kSavingText, AllBackgrounds(), [&](int n) {
        SaveMenuBackground(services_.app.program.directories.working, bankFile(), n, sequence->fileName(n), &messenger);
    });
}

void MenuBackgroundsPage::loadBackgroundFromFile()
{
    const int n = background();
    FileRequest request{"MenuBackLoad",
                        "MenuBackground" + std::to_string(n) + ".BMP",
                        {kPictureFilter, kBmpFilter, kPngFilter, kJpgFilter},
                        1};
    auto name = services_.app.chooseFileToOpen(request);
    if (!name)
        return;
    Messenger messenger = services_.app.messenger();
    TakeInMenuBackground(services_.app.program.directories.working, n, *name, messenger);
    showBackground();
}

void MenuBackgroundsPage::loadAllBackgrounds()
{
    auto sequence = services_.chooseSequence();
    if (!sequence)
        return;
    Messenger messenger = services_.app.messenger();
    if (!AnyFileOf(*sequence, AllBackgrounds(), messenger))
        return;
    RunPictureSequence(this, services_.app, kLoadingText, AllBackgrounds(), [&](int n) {
        const std::string file = sequence->fileName(n);
        if (FileExists(file))
            TakeInMenuBackground(services_.app.program.directories.working, n, file, messenger);
    });
    showBackground();
}

void MenuBackgroundsPage::addBackgroundToExport()
{
    AddMenuBackground(services_.app.workingSet().menuBackgrounds,
                      MenuBackgroundLine(background(), services_.app.program.texts));
    fillExportList();
}

void MenuBackgroundsPage::addAllBackgroundsToExport()
{
    for (int n = 0; n < kMenuBackgroundCount; ++n)
        AddMenuBackground(services_.app.workingSet().menuBackgrounds,
                          MenuBackgroundLine(n, services_.app.program.texts));
    fillExportList();
}

void MenuBackgroundsPage::deleteSelectedFromList()
{
    MenuReplacementList& list = services_.app.workingSet().menuBackgrounds;
    // By row: the list shows each line in the language of the moment.
    std::vector<std::string> selected;
    for (int row = 0; row < exportList_->count() && row < static_cast<int>(list.size()); ++row)
        if (exportList_->item(row)->isSelected())
            selected.push_back(list[static_cast<std::size_t>(row)]);
    for (const std::string& line : selected)
        list.erase(std::remove(list.begin(), list.end(), line), list.end());
    fillExportList();
}

// In the export list, Delete removes the selected entries.
bool MenuBackgroundsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == exportList_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteSelectedFromList();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pitwall::gui
