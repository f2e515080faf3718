#include "ExpansionDialog.h"

#include "AppContext.h"
#include "LanguageTable.h"
#include "formats/ArtBankGroups.h"
#include "transfer/FormatMessages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace pitwall::gui {

namespace {

constexpr TextBinding kExpansionTexts[] = {
    {"", TextRole::Caption, 725},          {"Label1", TextRole::Caption, 671},    {"CheckBox1", TextRole::Caption, 672},
    {"CheckBox2", TextRole::Caption, 673}, {"CheckBox3", TextRole::Caption, 674}, {"CheckBox5", TextRole::Caption, 675},
    {"CheckBox4", TextRole::Caption, 676}, {"CheckBox6", TextRole::Caption, 732}, {"CheckBox7", TextRole::Caption, 733},
    {"BitBtn1", TextRole::Caption, 734},   {"BitBtn2", TextRole::Caption, 735},   {"BitBtn3", TextRole::Caption, 204},
};

struct Group {
    const char* name;
    const char* caption;
    ArtEntryRange range;
};

constexpr Group kGroups[] = {
    {"CheckBox1", "GP3 Logo expandieren", kGameLogoEntries},
    {"CheckBox2", "Teamarts expandieren", kTeamArtEntries},
    {"CheckBox3", "Streckengrafiken expandieren", kTrackPictureEntries},
    {"CheckBox5", "Wettergrafiken expandieren", kWeatherEntries},
    {"CheckBox4", "Menuhintergründe expandieren", kMenuBackgroundEntries},
    {"CheckBox6", "Alles expandieren", {0, kArtEntryCount - 1}},
};

} // namespace

ExpansionDialog::ExpansionDialog(AppContext& app, const ArtDirectory& directory, const ItemBytes& selection,
                                 const std::array<std::uint8_t, 256>& backgroundMarks, QWidget* parent)
    : QDialog(parent), app_(app), selection_(selection), marks_(backgroundMarks), result_(kArtEntryCount, false)
{
    setObjectName("TForm10");
    setWindowTitle("Grafikdatei expandieren");
    setModal(true);
    auto* grid = new QGridLayout(this);
    auto* explanation = new QLabel(this);
    explanation->setObjectName("Label1");
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    explanation->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    grid->addWidget(explanation, 0, 0, 1, 2);
    list_ = new QListWidget(this);
    list_->setObjectName("CheckListBox1");
    for (std::size_t e = 0; e < kArtEntryCount; ++e) {
        auto* item = new QListWidgetItem(FromGameText(ArtEntryLabel(e, app.program.texts)), list_);
        bool fits = e < directory.entries.size() && directory.entries[e].fits();
        item->setFlags(fits ? Qt::ItemIsUserCheckable
                            : (Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        item->setCheckState(fits ? Qt::Checked : Qt::Unchecked);
    }
    grid->addWidget(list_, 1, 0, 8, 1);
    int row = 1;
    for (const Group& g : kGroups) {
        auto* box = new QCheckBox(QString::fromUtf8(g.caption), this);
        box->setObjectName(g.name);
        grid->addWidget(box, row++, 1);
        ArtEntryRange range = g.range;
        connect(box, &QCheckBox::clicked, this, [this, range](bool on) { setGroup(range.first, range.last, on); });
    }
    auto* backup = new QCheckBox("Backup der Datei erstellen (GP3ART5.BIN.OLD)", this);
    backup->setObjectName("CheckBox7");
    backup->setChecked(true);
    grid->addWidget(backup, row++, 1);
    auto* all = new QPushButton("Alle angewählten und alle zu speichernden expandieren", this);
    all->setObjectName("BitBtn1");
    all->setDefault(true);
    auto* chosen = new QPushButton("Angewählte Einträge expandieren", this);
    chosen->setObjectName("BitBtn2");
    auto* cancel = new QPushButton("Abbrechen", this);
    cancel->setObjectName("BitBtn3");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(all);
    buttons->addWidget(chosen);
    buttons->addStretch();
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 9, 0, 1, 2);
    // Extra height goes to the list, below the check boxes, never above the text.
    grid->setRowStretch(8, 1);
    connect(all, &QPushButton::clicked, this, &ExpansionDialog::expandAll);
    connect(chosen, &QPushButton::clicked, this, &ExpansionDialog::expandChosen);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    applyLanguage();
    resize(720, 560);
}

void ExpansionDialog::applyLanguage() { ApplyTexts(this, kExpansionTexts, app_.program.texts); }

QCheckBox* ExpansionDialog::groupBox(int number) const
{
    return findChild<QCheckBox*>(QString("CheckBox%1").arg(number));
}

bool ExpansionDialog::keepBackup() const { return groupBox(7)->isChecked(); }

void ExpansionDialog::setGroup(std::size_t first, std::size_t last, bool checked)
{
    // Grey entries fit already and keep their check.
    for (std::size_t e = first; e <= last && e < kArtEntryCount; ++e) {
        QListWidgetItem* item = list_->item(static_cast<int>(e));
        if (item->flags() & Qt::ItemIsEnabled)
            item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
}

void ExpansionDialog::takeResult()
{
    for (std::size_t e = 0; e < kArtEntryCount; ++e)
        result_[e] = list_->item(static_cast<int>(e))->checkState() == Qt::Checked;
}

void ExpansionDialog::expandAll()
{
    auto check = [this](std::size_t e) { list_->item(static_cast<int>(e))->setCheckState(Qt::Checked); };
    for (int t = 0; t < 11; ++t)
        if (selection_[static_cast<std::size_t>(kTeamArtFirst + t)])
            for (std::size_t e : TeamArtEntryList(t))
                check(e);
    for (int k = 0; k < 16; ++k)
        if (selection_[static_cast<std::size_t>(kTrackGraphicsFirst + k)])
            for (std::size_t e : TrackPictureEntryList(k))
                check(e);
    if (selection_[5])
        for (int b = 0; b < static_cast<int>(kMenuBackgrounds); ++b)
            if (marks_[static_cast<std::size_t>(b)])
                check(MenuBackgroundEntry(b));
    okFlag_ = true;
    takeResult();
    accept();
}

void ExpansionDialog::expandChosen()
{
    takeResult();
    accept();
}

} // namespace pitwall::gui
