#include "TrackInfoPages.h"

#include "AppContext.h"
#include "LanguageTable.h"
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
constexpr int kCountryText = 1088, kAllTracksText = 1089;

constexpr TextBinding kJamsTexts[] = {
    {"Label40", TextRole::Caption, 340},
    {"BitBtn25", TextRole::Caption, 338},
    {"BitBtn1", TextRole::Caption, 339},
};

// The buttons carry the names of the entries they take.
constexpr TextBinding kGp3InfoTexts[] = {
    {"Button40", TextRole::Caption, 350},     {"ListView2", TextRole::Column, 1078, 0},
    {"ListView2", TextRole::Column, 1079, 1}, {"CheckBox2", TextRole::Caption, 1080},
    {"GroupBox40", TextRole::Caption, 1081},  {"Button41", TextRole::Caption, 964},
    {"Button42", TextRole::Caption, 965},     {"Button43", TextRole::Caption, 968},
    {"Button44", TextRole::Caption, 971},     {"Button45", TextRole::Caption, 974},
    {"Button46", TextRole::Caption, 976},     {"Button47", TextRole::Caption, 975},
    {"Button48", TextRole::Caption, 973},     {"Button48", TextRole::Hint, 1090},
};

constexpr TextBinding kTextsTexts[] = {
    {"Label60", TextRole::Caption, 360},
    {"Label66", TextRole::Caption, 362},
};

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

TrackJamsPage::TrackJamsPage(TrackPageContext& context, QWidget* parent) : TrackPage(context, parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label(this, "Label40", "Die folgenden JAM-Files werden von dieser Strecke benötigt:"));
    jams_ = new QListWidget(this);
    jams_->setObjectName("ListBox4");
    layout->addWidget(jams_, 1);
    jamCount_ = Label(this, "Label41", "");
    layout->addWidget(jamCount_);
    auto* buttons = new QHBoxLayout;
    checkSoftware_ = Button(this, "BitBtn25", "Prüfen, ob alle diese JAMs vorhanden sind");
    checkHardware_ = Button(this, "BitBtn1", "Prüfen, ob alle diese JAMs vorhanden sind (Hardware)");
    buttons->addWidget(checkSoftware_);
    buttons->addWidget(checkHardware_);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(checkSoftware_, &QPushButton::clicked, this, [this] { checkJams(false); });
    connect(checkHardware_, &QPushButton::clicked, this, [this] { checkJams(true); });
}

// The list's texts come from the language: shown again once a slot is.
void TrackJamsPage::applyLanguage(const UITexts& texts)
{
    ApplyTexts(this, kJamsTexts, texts);
    if (context_.shown >= 0)
        showSlot();
}

void TrackJamsPage::showSlot()
{
    const AppContext& app = context_.app;
    jams_->clear();
    const std::string file = TrackFileOf(app.program, context_.info());
    const bool found = !file.empty();
    checkSoftware_->setEnabled(found);
    checkHardware_->setEnabled(found);
    if (!found) {
        jams_->addItem(
            FromUntrustedGameText(app.program.texts.format(kMissingFileText, Args(context_.info().fileName.text()))));
        jamCount_->clear();
        return;
    }
    auto list = ReadJamList(file, nullptr);
    for (const std::string& jam : list)
        jams_->addItem(FromUntrustedGameText(jam));
    jamCount_->setText(
        FromUntrustedGameText(app.program.texts.format(kJamCountText, Args(static_cast<int>(list.size())))));
}

void TrackJamsPage::checkJams(bool hardware)
{
    AppContext& app = context_.app;
    Messenger messenger = app.messenger();
    for (int row = 0; row < jams_->count(); ++row) {
        std::string path = ToGameText(jams_->item(row)->text());
        if (hardware)
            path = HardwareJamPath(path);
        if (!ResolveTrackJam(app.program.settings.gameDirectory, path, nullptr)
            || !FileExists(*ResolveTrackJam(app.program.settings.gameDirectory, path, nullptr))) {
            messenger.show(kJamMissingText, Args(path));
            return;
        }
    }
    messenger.show(kJamsPresentText);
}

TrackGp3InfoPage::TrackGp3InfoPage(TrackPageContext& context, QWidget* parent) : TrackPage(context, parent)
{
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    gp3Info_ = new QTreeWidget(this);
    gp3Info_->setObjectName("ListView2");
    gp3Info_->setHeaderLabels({"Eigenschaft", "Wert"});
    gp3Info_->setRootIsDecorated(false);
    gp3Info_->setColumnWidth(0, 170);
    left->addWidget(gp3Info_, 1);
    gp3InfoFound_ = new QCheckBox("GP3INFO-Eintrag vorhanden", this);
    gp3InfoFound_->setObjectName("CheckBox2");
    gp3InfoFound_->setEnabled(false);
    left->addWidget(gp3InfoFound_);
    layout->addLayout(left, 1);

    auto* take = new QGroupBox("Übernehmen", this);
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
}

// The entries' names come from the language: shown again once a slot is.
void TrackGp3InfoPage::applyLanguage(const UITexts& texts)
{
    ApplyTexts(this, kGp3InfoTexts, texts);
    if (context_.shown >= 0)
        showSlot();
}

void TrackGp3InfoPage::showSlot()
{
    const AppContext& app = context_.app;
    gp3Info_->clear();
    gp3Block_ = {};
    const std::string file = TrackFileOf(app.program, context_.info());
    if (!file.empty())
        ReadTrackInfo(file, gp3Block_, nullptr);
    gp3InfoFound_->setChecked(gp3Block_.found);
    for (std::size_t i = 0; i < kTrackInfoFieldCount; ++i)
        gp3Info_->addTopLevelItem(new QTreeWidgetItem(
            {FromUntrustedGameText(app.program.texts.text(kFirstGp3InfoLabel + static_cast<int>(i))),
             FromUntrustedGameText(gp3Block_.values[i])}));
}

void TrackGp3InfoPage::takeFromGp3Info(int field)
{
    if (!gp3Block_.found)
        return;
    context_.storeSlot();
    if (TakeGp3InfoValue(context_.info(), gp3Block_, static_cast<Gp3InfoField>(field)))
        context_.showSlot();
}

TrackTextsPage::TrackTextsPage(TrackPageContext& context, QWidget* parent) : TrackPage(context, parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* flags = new QHBoxLayout;
    for (int l = 0; l < kLanguageCount; ++l) {
        QPushButton* flag = Button(this, QString("Image%1").arg(20 + l).toLatin1().constData(), kFlagNames[l]);
        flag->setCheckable(true);
        flag->setAutoExclusive(true);
        flag->setFixedWidth(44);
        flag->setToolTip(QString::fromStdString(LanguageNameUtf8(l)));
        flags_[static_cast<std::size_t>(l)] = flag;
        flags->addWidget(flag);
        connect(flag, &QPushButton::clicked, this, [this, l] {
            storeSlot();
            context_.state().language = l;
            showSlot();
        });
    }
    flags->addStretch();
    layout->addLayout(flags);
    auto* grid = new QGridLayout;
    for (int k = 0; k < kTrackTextKinds; ++k) {
        texts_[static_cast<std::size_t>(k)] = Edit(this, QString("Edit%1").arg(30 + k), kTrackTextLength);
        grid->addWidget(Label(this, QString("Label%1").arg(60 + k).toLatin1().constData(), kTextCaptions[k]), k, 0);
        grid->addWidget(texts_[static_cast<std::size_t>(k)], k, 1);
        QPushButton* all =
            Button(this, QString("Button%1").arg(70 + k).toLatin1().constData(), "Text für alle Strecken benutzen");
        grid->addWidget(all, k, 2);
        connect(all, &QPushButton::clicked, this, [this, k] { useTextForAllTracks(k); });
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch();
}

void TrackTextsPage::applyLanguage(const UITexts& texts)
{
    ApplyTexts(this, kTextsTexts, texts);
    for (int k = 1; k <= 5; ++k)
        SetCaption(this, QString("Label%1").arg(60 + k), FromGameText(texts.format(kCountryText, Args(k))));
    for (int k = 0; k < kTrackTextKinds; ++k)
        SetCaption(this, QString("Button%1").arg(70 + k), FromGameText(texts.text(kAllTracksText)));
}

void TrackTextsPage::showSlot()
{
    const int l = std::clamp(context_.state().language, 0, kLanguageCount - 1);
    flags_[static_cast<std::size_t>(l)]->setChecked(true);
    for (int k = 0; k < kTrackTextKinds; ++k)
        ShowText(texts_[static_cast<std::size_t>(k)],
                 context_.info().texts[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)]);
}

void TrackTextsPage::storeSlot()
{
    const int l = std::clamp(context_.state().language, 0, kLanguageCount - 1);
    for (int k = 0; k < kTrackTextKinds; ++k)
        StoreText(texts_[static_cast<std::size_t>(k)],
                  context_.info().texts[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)], kTrackTextLength);
}

void TrackTextsPage::useTextForAllTracks(int kind)
{
    context_.storeSlot();
    const auto l = static_cast<std::size_t>(std::clamp(context_.state().language, 0, kLanguageCount - 1));
    const auto k = static_cast<std::size_t>(kind);
    const auto text = context_.info().texts[k][l];
    for (TrackInfo& other : context_.table().info)
        other.texts[k][l] = text;
}

} // namespace pitwall::gui
