#include "MenuTeamArtPage.h"

#include "AppContext.h"
#include "ImageConversion.h"
#include "PictureDescription.h"
#include "WidgetHelpers.h"
#include "formats/ArtBankPictures.h"
#include "formats/TeamArtSheet.h"
#include "menu/MenuArt.h"
#include "menu/MenuPictureFiles.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kBmpFilter = 944;
// Every picture file that is read, and its kinds.
constexpr int kPictureFilter = 1204, kPngFilter = 881, kJpgFilter = 946;
constexpr std::size_t kCarFrames = 30, kHelmetFrames = 3;
constexpr std::size_t kFirstHelmet1 = 38, kFirstHelmet2 = 41;

QGroupBox* Group(QWidget* parent, const char* name, const char* title)
{
    auto* group = new QGroupBox(QString::fromUtf8(title), parent);
    group->setObjectName(name);
    return group;
}

} // namespace

MenuTeamArtPage::MenuTeamArtPage(MenuGraphicsServices& services, QWidget* parent) : QWidget(parent), services_(services)
{
    setObjectName("TabSheet2");
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    auto* teamsLabel = new QLabel("Teams:", this);
    teamsLabel->setObjectName("Label11");
    left->addWidget(teamsLabel);
    teams_ = new QListWidget(this);
    teams_->setObjectName("ListBox11");
    teams_->setFixedWidth(170);
    left->addWidget(teams_, 1);
    for (const auto& [name, text] :
         {std::pair{"Button55", "Grafik als BMP speichern"}, std::pair{"Button56", "Grafik aus BMP laden"}}) {
        auto* b = Button(this, name, text);
        left->addWidget(b);
        needLoaded_.push_back(b);
    }
    auto* transfer = new QGridLayout;
    transfer->addWidget(Button(this, "Button24", "Importieren"), 0, 0);
    transfer->addWidget(Button(this, "Button25", "Exportieren"), 0, 1);
    transfer->addWidget(Button(this, "Button26", "Alles importieren"), 1, 0);
    transfer->addWidget(Button(this, "Button27", "Alles exportieren"), 1, 1);
    needLoaded_.push_back(findChild<QPushButton*>("Button25"));
    left->addLayout(transfer);
    layout->addLayout(left);

    inner_ = new QTabWidget(this);
    inner_->setObjectName("PageControl2");
    // Team pictures: the rotating car, the four car pictures and the logo.
    auto* teamPage = new QWidget(inner_);
    teamPage->setObjectName("TabSheet4");
    auto* teamGrid = new QGridLayout(teamPage);
    auto* animation = Group(teamPage, "GroupBox11", "Teamanimation");
    (new QVBoxLayout(animation))->addWidget(picture("Image7", 140, 130, animation));
    teamGrid->addWidget(animation, 0, 0);
    auto* logo = Group(teamPage, "GroupBox12", "Teamlogo");
    (new QVBoxLayout(logo))->addWidget(picture("Image2", 120, 60, logo));
    teamGrid->addWidget(logo, 1, 0, Qt::AlignTop);
    auto* cars = Group(teamPage, "GroupBox13", "Autografiken");
    auto* carGrid = new QGridLayout(cars);
    carGrid->addWidget(picture("Image3", 80, 194, cars), 0, 0, 2, 1);
    carGrid->addWidget(picture("Image4", 62, 154, cars), 0, 1, 2, 1);
    carGrid->addWidget(picture("Image5", 204, 50, cars), 0, 2);
    carGrid->addWidget(picture("Image6", 90, 24, cars), 1, 2, Qt::AlignTop | Qt::AlignLeft);
    teamGrid->addWidget(cars, 0, 1, 2, 1);
    teamGrid->setRowStretch(2, 1);
    teamGrid->setColumnStretch(2, 1);
    inner_->addTab(teamPage, "Teamgrafiken");
    // Driver pictures: two pictures and the helmet animation per driver.
    auto* driverPage = new QWidget(inner_);
    driverPage->setObjectName("TabSheet5");
    auto* driverGrid = new QGridLayout(driverPage);
    const std::array<std::array<const char*, 3>, 2> driverImages = {
        {{"Image10", "Image13", "Image12"}, {"Image11", "Image14", "Image15"}}};
    for (int d = 0; d < 2; ++d) {
        auto* group = Group(driverPage, d == 0 ? "GroupBox21" : "GroupBox22", d == 0 ? "Fahrer 1" : "Fahrer 2");
        auto* row = new QHBoxLayout(group);
        row->addWidget(picture(driverImages[d][0], 132, 132, group));
        row->addWidget(picture(driverImages[d][1], 132, 132, group));
        row->addWidget(picture(driverImages[d][2], 90, 84, group));
        row->addStretch(1);
        driverGrid->addWidget(group, d, 0);
    }
    driverGrid->setRowStretch(2, 1);
    inner_->addTab(driverPage, "Fahrergrafiken");
    layout->addWidget(inner_, 1);

    // The editor redraws the team (and starts or stops the animation).
    connect(teams_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            services_.state.team = row;
    });
    connect(inner_, &QTabWidget::currentChanged, this, [this](int page) {
        if (page >= 0)
            services_.state.innerPage = page;
    });
    connect(findChild<QPushButton*>("Button55"), &QPushButton::clicked, this, &MenuTeamArtPage::saveSheetToFile);
    connect(findChild<QPushButton*>("Button56"), &QPushButton::clicked, this, &MenuTeamArtPage::loadSheetFromFile);
    connect(findChild<QPushButton*>("Button24"), &QPushButton::clicked, this,
            [this] { services_.transfer({TeamArtItem(services_.state.team)}, false); });
    connect(findChild<QPushButton*>("Button25"), &QPushButton::clicked, this,
            [this] { services_.transfer({TeamArtItem(services_.state.team)}, true); });
    auto allTeams = [] {
        std::vector<int> items;
        for (int t = 0; t < kRacingTeams; ++t)
            items.push_back(TeamArtItem(t));
        return items;
    };
    connect(findChild<QPushButton*>("Button26"), &QPushButton::clicked, this,
            [this, allTeams] { services_.transfer(allTeams(), false); });
    connect(findChild<QPushButton*>("Button27"), &QPushButton::clicked, this,
            [this, allTeams] { services_.transfer(allTeams(), true); });
}

QLabel* MenuTeamArtPage::picture(const char* name, int width, int height, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedSize(width, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pictures_.push_back(label);
    KeepPictureDescribed(label, services_.app.program.texts);
    return label;
}

const ArtPicture& MenuTeamArtPage::sheet() const
{
    const int team = std::clamp(services_.state.team, 0, kRacingTeams - 1);
    return services_.app.workingSet().teamArt[static_cast<std::size_t>(team)];
}

bool MenuTeamArtPage::teamLoaded() const
{
    const ArtPicture& s = sheet();
    return services_.app.workingSet().transfer.isLoaded(TeamArtItem(services_.state.team)) && s.width == kTeamSheetWidth
        && s.height == kTeamSheetHeight;
}

void MenuTeamArtPage::restore()
{
    QSignalBlocker block(teams_);
    teams_->clear();
    for (const auto& team : services_.app.workingSet().teams.teams)
        teams_->addItem(FromUntrustedGameText(team.name.text()));
    services_.state.team = std::clamp(services_.state.team, 0, kRacingTeams - 1);
    teams_->setCurrentRow(services_.state.team);
    QSignalBlocker blockInner(inner_);
    inner_->setCurrentIndex(std::clamp(services_.state.innerPage, 0, 1));
}

void MenuTeamArtPage::enableControls()
{
    const bool loaded = teamLoaded();
    inner_->setEnabled(loaded);
    for (QPushButton* b : needLoaded_)
        b->setEnabled(loaded);
}

// A sprite on the button-face colour, at the top left or centred.
void MenuTeamArtPage::draw(QLabel* label, std::size_t position, bool centred)
{
    const QColor face = palette().color(QPalette::Button);
    ArtPicture target(static_cast<std::uint32_t>(label->width()), static_cast<std::uint32_t>(label->height()),
                      ArtWordFromRgb(face.red(), face.green(), face.blue()));
    const SheetSize size = TeamSpriteSize(position);
    const int x = centred ? (label->width() - static_cast<int>(size.width)) / 2 : 0;
    const int y = centred ? (label->height() - static_cast<int>(size.height)) / 2 : 0;
    DrawTeamSprite(sheet(), position, target, x, y);
    label->setPixmap(QPixmap::fromImage(ToQImage(ArtPictureToImage(target))));
}

bool MenuTeamArtPage::showTeam()
{
    for (QLabel* label : pictures_) {
        QPixmap face(label->size());
        face.fill(palette().color(QPalette::Button));
        label->setPixmap(face);
    }
    enableControls();
    if (!teamLoaded())
        return false;
    const std::pair<const char*, std::size_t> sprites[] = {
        {"Image3", 30},  {"Image4", 31},  {"Image5", 32},  {"Image6", 33},  {"Image2", 44},
        {"Image10", 34}, {"Image13", 35}, {"Image11", 36}, {"Image14", 37},
    };
    for (const auto& [name, position] : sprites)
        draw(findChild<QLabel*>(name), position, false);
    MenuGraphicsEditorState& s = services_.state;
    draw(findChild<QLabel*>("Image7"), static_cast<std::size_t>(s.carFrame), true);
    draw(findChild<QLabel*>("Image12"), kFirstHelmet1 + static_cast<std::size_t>(s.helmetFrame), false);
    draw(findChild<QLabel*>("Image15"), kFirstHelmet2 + static_cast<std::size_t>(s.helmetFrame), false);
    return true;
}

void MenuTeamArtPage::animateTeamArt()
{
    if (!teamLoaded())
        return;
    MenuGraphicsEditorState& s = services_.state;
    if (inner_->currentIndex() == 0) {
        s.carFrame = (s.carFrame + 1) % static_cast<int>(kCarFrames);
        draw(findChild<QLabel*>("Image7"), static_cast<std::size_t>(s.carFrame), true);
    } else {
        s.helmetFrame = (s.helmetFrame + 1) % static_cast<int>(kHelmetFrames);
        draw(findChild<QLabel*>("Image12"), kFirstHelmet1 + static_cast<std::size_t>(s.helmetFrame), false);
        draw(findChild<QLabel*>("Image15"), kFirstHelmet2 + static_cast<std::size_t>(s.helmetFrame), false);
    }
}

void MenuTeamArtPage::saveSheetToFile()
{
    const std::string defaultName = "Team " + std::to_string(services_.state.team) + ".BMP";
    auto name = services_.app.chooseFileToSave({"TeamArtSave", defaultName, {kBmpFilter}, 1});
    if (!name)
        return;
    Messenger messenger = services_.app.messenger();
    SaveTeamSheet(sheet(), *name, &messenger);
}

void MenuTeamArtPage::loadSheetFromFile()
{
    const std::string defaultName = "Team " + std::to_string(services_.state.team) + ".BMP";
    auto name = services_.app.chooseFileToOpen(
        {"TeamArtLoad", defaultName, {kPictureFilter, kBmpFilter, kPngFilter, kJpgFilter}, 1});
    if (!name)
        return;
    Messenger messenger = services_.app.messenger();
    const int team = std::clamp(services_.state.team, 0, kRacingTeams - 1);
    LoadTeamSheet(services_.app.workingSet().teamArt[static_cast<std::size_t>(team)], *name, messenger);
    showTeam();
}

} // namespace pitwall::gui
