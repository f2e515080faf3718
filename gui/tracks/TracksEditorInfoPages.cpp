// The tracks editor's pages about the track file and the names: the JAMs
// the track file needs, its GP3INFO block, and the texts of every language.

#include "TracksEditor.h"

#include "AppContext.h"
#include "TracksEditorWidgets.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/GameLanguages.h"
#include "tracks/Gp3InfoValues.h"
#include "tracks/TrackFileNames.h"
#include "tracks/TrackJams.h"
#include "transfer/ReportedFormats.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pitwall::gui {

using namespace tracks;

namespace {

constexpr int kJamCountText = 514, kJamMissingText = 515, kJamsPresentText = 516, kMissingFileText = 349;
constexpr int kFirstGp3InfoLabel = 964;

const char* const kTextCaptions[kTrackTextKinds] = {
    "Stadt:", "Land 1:", "Land 2:", "Land 3:", "Land 4:", "Land 5:", "Attribut:"};
const char* const kFlagNames[kLanguageCount] = {"DE", "EN", "ES", "FR", "IT", "US", "PL", "PT"};

// The track file of the shown slot, or empty when it has none that exists.
std::string TrackFileOf(const ProgramState& program, const TrackInfo& info)
{
    const std::string name = info.fileName.text();
    if (!TrackFileNameProblem(name).empty())
        return {};
    try {
        std::string file = ResolveGamePath(program.settings.gameDirectory, TrackFileGamePath(name));
        return FileExists(file) ? file : std::string();
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

QWidget* TracksEditor::buildTrackInfoPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Label(page, "Label40", "Die folgenden JAM-Files werden von dieser Strecke benötigt:"));
    jams_ = new QListWidget(page);
    jams_->setObjectName("ListBox4");
    layout->addWidget(jams_, 1);
    jamCount_ = Label(page, "Label41", "");
    layout->addWidget(jamCount_);
    auto* buttons = new QHBoxLayout;
    checkSoftware_ = Button(page, "BitBtn25", "Prüfen, ob alle diese JAMs vorhanden sind");
    checkHardware_ = Button(page, "BitBtn1", "Prüfen, ob alle diese JAMs vorhanden sind (Hardware)");
    buttons->addWidget(checkSoftware_);
    buttons->addWidget(checkHardware_);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(checkSoftware_, &QPushButton::clicked, this, [this] { checkJams(false); });
    connect(checkHardware_, &QPushButton::clicked, this, [this] { checkJams(true); });
    return page;
}

void TracksEditor::showTrackInfo()
{
    jams_->clear();
    const std::string file = TrackFileOf(app_.program, info());
    const bool found = !file.empty();
    checkSoftware_->setEnabled(found);
    checkHardware_->setEnabled(found);
    if (!found) {
        jams_->addItem(
            FromUntrustedGameText(app_.program.texts.format(kMissingFileText, Args(info().fileName.text()))));
        jamCount_->clear();
        return;
    }
    auto list = ReadJamList(file, nullptr);
    for (const std::string& jam : list)
        jams_->addItem(FromUntrustedGameText(jam));
    jamCount_->setText(
        FromUntrustedGameText(app_.program.texts.format(kJamCountText, Args(static_cast<int>(list.size())))));
}

void TracksEditor::checkJams(bool hardware)
{
    Messenger messenger = app_.messenger();
    for (int row = 0; row < jams_->count(); ++row) {
        std::string path = ToGameText(jams_->item(row)->text());
        if (hardware)
            path = HardwareJamPath(path);
        if (!ResolveTrackJam(app_.program.settings.gameDirectory, path, nullptr)
            || !FileExists(*ResolveTrackJam(app_.program.settings.gameDirectory, path, nullptr))) {
            messenger.show(kJamMissingText, Args(path));
            return;
        }
    }
    messenger.show(kJamsPresentText);
}

QWidget* TracksEditor::buildGp3InfoPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    gp3Info_ = new QTreeWidget(page);
    gp3Info_->setObjectName("ListView2");
    gp3Info_->setHeaderLabels({"Eigenschaft", "Wert"});
    gp3Info_->setRootIsDecorated(false);
    gp3Info_->setColumnWidth(0, 170);
    left->addWidget(gp3Info_, 1);
    gp3InfoFound_ = new QCheckBox("GP3INFO-Eintrag vorhanden", page);
    gp3InfoFound_->setObjectName("CheckBox2");
    gp3InfoFound_->setEnabled(false);
    left->addWidget(gp3InfoFound_);
    layout->addLayout(left, 1);

    auto* take = new QGroupBox("Übernehmen", page);
    take->setObjectName("GroupBox40");
    auto* buttons = new QVBoxLayout(take);
    using F = Gp3InfoField;
    int number = 41;
    auto addButton = [&](const char* caption, F field) {
        QPushButton* b = Button(take, QString("Button%1").arg(number++).toLatin1().constData(), caption);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, field] { takeFromGp3Info(static_cast<int>(field)); });
        b->setEnabled(field != F::Tyre); // the track data has no field for the tyre wear
    };
    static constexpr F kTakenByAll[] = {F::Name, F::Country, F::Year, F::Laps, F::LengthMetres};
    const char* const allCaptions[] = {"Name", "Land", "Jahr", "Rundenzahl", "Länge (Meter)"};
    for (int i = 0; i < 5; ++i)
        addButton(allCaptions[i], kTakenByAll[i]);
    QPushButton* all = Button(take, "Button40", "Alles übernehmen");
    buttons->addWidget(all);
    connect(all, &QPushButton::clicked, this, [this] {
        for (F f : kTakenByAll)
            takeFromGp3Info(static_cast<int>(f));
    });
    addButton("Rundenrekord Qualifying", F::LapRecordQualify);
    addButton("Rundenrekord Rennen", F::LapRecord);
    addButton("Reifenverbrauch", F::Tyre);
    buttons->addStretch();
    layout->addWidget(take);
    return page;
}

void TracksEditor::showGp3Info()
{
    gp3Info_->clear();
    gp3Block_ = {};
    const std::string file = TrackFileOf(app_.program, info());
    if (!file.empty())
        ReadTrackInfo(file, gp3Block_, nullptr);
    gp3InfoFound_->setChecked(gp3Block_.found);
    for (std::size_t i = 0; i < kTrackInfoFieldCount; ++i)
        gp3Info_->addTopLevelItem(new QTreeWidgetItem(
            {FromUntrustedGameText(app_.program.texts.text(kFirstGp3InfoLabel + static_cast<int>(i))),
             FromUntrustedGameText(gp3Block_.values[i])}));
}

void TracksEditor::takeFromGp3Info(int field)
{
    if (!gp3Block_.found)
        return;
    storeSlot();
    if (TakeGp3InfoValue(info(), gp3Block_, static_cast<Gp3InfoField>(field)))
        showSlot(shown_);
}

QWidget* TracksEditor::buildTextsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* flags = new QHBoxLayout;
    for (int l = 0; l < kLanguageCount; ++l) {
        QPushButton* flag = Button(page, QString("Image%1").arg(20 + l).toLatin1().constData(), kFlagNames[l]);
        flag->setCheckable(true);
        flag->setAutoExclusive(true);
        flag->setFixedWidth(44);
        flag->setToolTip(QString::fromStdString(LanguageNameUtf8(l)));
        flags_[static_cast<std::size_t>(l)] = flag;
        flags->addWidget(flag);
        connect(flag, &QPushButton::clicked, this, [this, l] {
            storeTexts();
            state().language = l;
            showTexts();
        });
    }
    flags->addStretch();
    layout->addLayout(flags);
    auto* grid = new QGridLayout;
    for (int k = 0; k < kTrackTextKinds; ++k) {
        texts_[static_cast<std::size_t>(k)] = Edit(page, QString("Edit%1").arg(30 + k), kTrackTextLength);
        grid->addWidget(Label(page, QString("Label%1").arg(60 + k).toLatin1().constData(), kTextCaptions[k]), k, 0);
        grid->addWidget(texts_[static_cast<std::size_t>(k)], k, 1);
        QPushButton* all =
            Button(page, QString("Button%1").arg(70 + k).toLatin1().constData(), "Text für alle Strecken benutzen");
        grid->addWidget(all, k, 2);
        connect(all, &QPushButton::clicked, this, [this, k] { useTextForAllTracks(k); });
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

void TracksEditor::showTexts()
{
    const int l = std::clamp(state().language, 0, kLanguageCount - 1);
    flags_[static_cast<std::size_t>(l)]->setChecked(true);
    for (int k = 0; k < kTrackTextKinds; ++k)
        ShowText(texts_[static_cast<std::size_t>(k)],
                 info().texts[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)]);
}

void TracksEditor::storeTexts()
{
    const int l = std::clamp(state().language, 0, kLanguageCount - 1);
    for (int k = 0; k < kTrackTextKinds; ++k)
        StoreText(texts_[static_cast<std::size_t>(k)],
                  info().texts[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)], kTrackTextLength);
}

void TracksEditor::useTextForAllTracks(int kind)
{
    storeSlot();
    const auto l = static_cast<std::size_t>(std::clamp(state().language, 0, kLanguageCount - 1));
    const auto k = static_cast<std::size_t>(kind);
    const auto text = info().texts[k][l];
    for (TrackInfo& other : table().info)
        other.texts[k][l] = text;
}

} // namespace pitwall::gui
