#include "MiscEditor.h"

#include "AppContext.h"
#include "CarOutline.h"
#include "EditTrackerRecords.h"
#include "EditorStatusBar.h"
#include "LanguageTable.h"
#include "PictureDescription.h"
#include "QtMessages.h"
#include "WidgetHelpers.h"
#include "base/FileUtils.h"
#include "settings/SettingsValues.h"
#include "transfer/SelectionItems.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <initializer_list>

namespace pitwall::gui {

namespace {

constexpr int kPageItems[MiscEditor::kPageCount] = {kPointsItem,  kAidsItem, kDamageItem,
                                                    kDisplayItem, kMiscItem, kCamerasItem};

// UI texts of the window. Lists of captions are one text with a line per caption.
constexpr int kCaptionText = 82;
constexpr int kPointsPageText = 83, kAidsPageText = 84, kDamagePageText = 85, kDisplayPageText = 87, kMiscPageText = 88,
              kCamerasPageText = 89;
constexpr int kTransferGroupText = 90, kImportText = 91, kExportText = 92, kStandardText = 93;
constexpr int kPointsGroupText = 94, kPresetsGroupText = 95, kPresetNamesText = 96;
constexpr int kAidLevelsText = 97, kAidNamesText = 98, kAllAidsText = 99;
constexpr int kDamageLabelsText = 100, kCarPartsText = 101;
constexpr int kDisplayLabelsText = 102, kMiscLabelsText = 103, kCameraLabelsText = 104;
constexpr int kCameraEntryText = 383;

constexpr TextBinding kMiscEditorTexts[] = {
    {"", TextRole::Caption, kCaptionText},
    {"TabSheet1", TextRole::TabTitle, kPointsPageText},
    {"TabSheet2", TextRole::TabTitle, kAidsPageText},
    {"TabSheet3", TextRole::TabTitle, kDamagePageText},
    {"TabSheet4", TextRole::TabTitle, kDisplayPageText},
    {"TabSheet5", TextRole::TabTitle, kMiscPageText},
    {"TabSheet6", TextRole::TabTitle, kCamerasPageText},
    {"GroupBox1", TextRole::Caption, kPointsGroupText},
    {"GroupBox2", TextRole::Caption, kPresetsGroupText},
};

QSpinBox* NarrowNumberField(QWidget* parent, const QString& name, int low, int high)
{
    QSpinBox* spin = NumberField(parent, name, low, high);
    spin->setMaximumWidth(120); // numbers, not text: the window's width goes to the labels
    return spin;
}

QString Numbered(const char* prefix, int n) { return QString("%1%2").arg(prefix).arg(n); }

void SetCaption(QObject* o, const QString& text)
{
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(o))
        l->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(o))
        g->setTitle(text);
}

// The lines of a text that lists several captions (the language file's
// line breaks, '|', arrive as new lines).
QStringList Lines(const UITexts& texts, int text)
{
    return FromGameText(texts.text(text)).replace('|', '\n').split('\n');
}

// Line n of the text goes to the control named names[n] (an empty name skips a line).
void ApplyLines(QObject* window, int text, const QStringList& names, const UITexts& texts)
{
    QStringList lines = Lines(texts, text);
    for (int i = 0; i < names.size() && i < lines.size(); ++i)
        if (!names[i].isEmpty())
            for (QObject* o : window->findChildren<QObject*>(names[i]))
                SetCaption(o, lines[i]);
}

QStringList NumberedNames(const char* prefix, int count)
{
    QStringList names;
    for (int n = 1; n <= count; ++n)
        names << Numbered(prefix, n);
    return names;
}

// The German captions the window has before the language routine runs.
const char* const kCarPartCaptions[kCarPartCount] = {
    "Nase:",
    "Frontflügel (Rechte Seite):",
    "Frontflügel (Linke Seite):",
    "Kleiner Frontflügel (Rechte Seite):",
    "Kleiner Frontflügel (Linke Seite):",
    "Vorderradaufhängung (Rechts):",
    "Vorderrad (Rechts):",
    "Vorderradaufhängung (Links):",
    "Vorderrad (Links):",
    "Seitenkasten (Rechts):",
    "Seitenkasten (Links):",
    "Heck:",
    "Hinterradaufhängung (Rechts):",
    "Hinterrad (Rechts):",
    "Hinterradaufhängung (Links):",
    "Hinterrad (Links):",
    "Heckflügel:",
    "Heckflügel (Rechte Seite):",
    "Heckflügel (Linke Seite):",
    "Heckflügel (Oben):",
    "Kleiner Heckflügel (Rechte Seite):",
    "Kleiner Heckflügel (Linke Seite):",
};
const char* const kAidCaptions[kAidCount] = {"Bremsautomatik",
                                             "Gangwechselautomatik",
                                             "Automatische Schleuderkorrektur",
                                             "Unzerstörbarkeitsmodus",
                                             "Ideallinie anzeigen",
                                             "Gangvorschlag",
                                             "Drosselhilfe",
                                             "Lenkhilfe"};

// Stores a value only when the field shows something other than the
// record did: a value the field cannot show exactly (an angle between two
// degrees, laps above the editor's range) stays as it is.
template <typename Field>
void StoreIfChanged(const QSpinBox* spin, int shown, Field& field, int value)
{
    if (spin->value() != shown)
        field = static_cast<Field>(value);
}

} // namespace

MiscEditor::MiscEditor(AppContext& app, QWidget* parent) : EditorWindow(app, "TForm18", parent)
{
    setWindowTitle("Verschiedenes");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    pages_->addTab(buildPointsPage(), "Punkteverteilung");
    pages_->addTab(buildAidsPage(), "Fahrhilfen");
    pages_->addTab(buildDamagePage(), "Schaden");
    pages_->addTab(buildDisplayPage(), "Anzeige");
    pages_->addTab(buildMiscPage(), "Diverses");
    pages_->addTab(buildCamerasPage(), "On-Board-Kameras");
    layout->addWidget(pages_, 1);
    statusBar_ = CreateEditorStatusBar(this);
    layout->addWidget(statusBar_);

    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (page < 0)
            return;
        state().page = page;
        updateEnabled();
    });
}

// A page: its controls in a panel (enabled when its item is loaded) and
// its "Import / Export:" group beside them.
namespace {
QWidget* PageFrame(int index, QWidget* panel, QGroupBox* transfer)
{
    auto* page = panel->parentWidget();
    page->setObjectName(Numbered("TabSheet", index + 1));
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(panel, 1);
    auto* side = new QVBoxLayout;
    side->addStretch();
    side->addWidget(transfer);
    layout->addLayout(side);
    return page;
}
} // namespace

QGroupBox* MiscEditor::buildTransferGroup(Page page, QWidget* parent)
{
    const int n = page + 1;
    auto* group = new QGroupBox("Import / Export:", parent);
    group->setObjectName(Numbered("TransferGroup", n));
    auto* buttons = new QVBoxLayout(group);
    auto add = [&](const char* prefix, const char* caption, void (MiscEditor::*click)(Page)) {
        auto* b = new QPushButton(caption, group);
        b->setObjectName(Numbered(prefix, n));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, click, page] { (this->*click)(page); });
    };
    add("ImportButton", "Importieren", &MiscEditor::importClick);
    add("ExportButton", "Exportieren", &MiscEditor::exportClick);
    add("StandardButton", "Standard", &MiscEditor::standardClick);
    return group;
}

QWidget* MiscEditor::buildPointsPage()
{
    auto* page = new QWidget;
    auto* panel = new QWidget(page);
    panel->setObjectName("PagePanel1");
    auto* layout = new QVBoxLayout(panel);
    auto* positions = new QGroupBox("Punkte für Position...", panel);
    positions->setObjectName("GroupBox1");
    auto* grid = new QGridLayout(positions);
    for (int p = 0; p < kFinishingPositions; ++p) {
        int row = p % 11, column = (p / 11) * 2;
        grid->addWidget(Label(positions, Numbered("PositionLabel", p + 1), QString("%1:").arg(p + 1)), row, column);
        points_[static_cast<std::size_t>(p)] = NarrowNumberField(positions, Numbered("SpinEdit", 14 + p), 0, 255);
        grid->addWidget(points_[static_cast<std::size_t>(p)], row, column + 1);
    }
    layout->addWidget(positions);
    auto* presets = new QGroupBox("Vordefinierte Punkteverteilungen:", panel);
    presets->setObjectName("GroupBox2");
    auto* buttons = new QHBoxLayout(presets);
    const std::pair<const char*, PointsPreset> kPresets[] = {{"Formel 1", PointsPreset::Formula1},
                                                             {"CART", PointsPreset::Cart},
                                                             {"Punkte für alle", PointsPreset::PointsForAll},
                                                             {"Formel 1 Alt", PointsPreset::Formula1Old}};
    int n = 1;
    for (const auto& [caption, preset] : kPresets) {
        auto* b = new QPushButton(caption, presets);
        b->setObjectName(Numbered("PresetButton", n++));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, preset] {
            PointsTable table = PresetPoints(preset);
            for (int p = 0; p < kFinishingPositions; ++p)
                points_[static_cast<std::size_t>(p)]->setValue(table.points[static_cast<std::size_t>(p)]);
        });
    }
    layout->addWidget(presets);
    layout->addStretch();
    return PageFrame(kPointsPage, panel, buildTransferGroup(kPointsPage, page));
}

QWidget* MiscEditor::buildAidsPage()
{
    auto* page = new QWidget;
    auto* panel = new QWidget(page);
    panel->setObjectName("PagePanel2");
    auto* layout = new QVBoxLayout(panel);
    auto* grid = new QGridLayout;
    const char* const levels[kAidLevelCount] = {"Rookie:", "Amateur:", "Semi-Pro:", "Pro:", "As:"};
    for (int aid = 0; aid < kAidCount; ++aid) {
        auto* head = Label(panel, Numbered("AidLabel", aid + 1), QString("F%1:").arg(aid + 1));
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, aid + 1);
    }
    for (int level = 0; level < kAidLevelCount; ++level) {
        grid->addWidget(Label(panel, Numbered("LevelLabel", level + 1), levels[level]), level + 1, 0);
        for (int aid = 0; aid < kAidCount; ++aid) {
            auto* toggle = new QToolButton(panel);
            toggle->setObjectName(QString("AidButton%1_%2").arg(level + 1).arg(aid + 1));
            toggle->setCheckable(true);
            toggle->setText(QString("F%1").arg(aid + 1));
            toggle->setMinimumSize(40, 28);
            aids_[static_cast<std::size_t>(level)][static_cast<std::size_t>(aid)] = toggle;
            grid->addWidget(toggle, level + 1, aid + 1);
        }
        auto* all = new QPushButton("Alle", panel);
        all->setObjectName(Numbered("AllButton", level + 1));
        grid->addWidget(all, level + 1, kAidCount + 1);
        connect(all, &QPushButton::clicked, this, [this, level] { allAidsClick(level); });
    }
    layout->addLayout(grid);
    QString legend;
    for (int aid = 0; aid < kAidCount; ++aid)
        legend += QString("%1F%2: %3").arg(aid ? "\n" : "").arg(aid + 1).arg(QString::fromUtf8(kAidCaptions[aid]));
    auto* names = Label(panel, "AidNames", legend);
    layout->addWidget(names);
    layout->addStretch();
    return PageFrame(kAidsPage, panel, buildTransferGroup(kAidsPage, page));
}

QWidget* MiscEditor::buildDamagePage()
{
    auto* page = new QWidget;
    auto* panel = new QWidget(page);
    panel->setObjectName("PagePanel3");
    auto* layout = new QHBoxLayout(panel);
    auto* parts = new QGroupBox("Teile des Autos:", panel);
    parts->setObjectName("GroupBox3");
    auto* grid = new QGridLayout(parts);
    for (int part = 0; part < kCarPartCount; ++part) {
        int row = part % 11, column = (part / 11) * 2;
        grid->addWidget(Label(parts, Numbered("PartLabel", part + 1), QString::fromUtf8(kCarPartCaptions[part])), row,
                        column);
        auto* spin = NarrowNumberField(parts, Numbered("PartEdit", part + 1), 0, 65535);
        spin->installEventFilter(this);
        spin->setProperty("carPart", part);
        parts_[static_cast<std::size_t>(part)] = spin;
        grid->addWidget(spin, row, column + 1);
    }
    layout->addWidget(parts, 1);
    auto* right = new QVBoxLayout;
    outline_ = new CarOutline(panel);
    KeepPictureDescribed(outline_, app_.program.texts);
    right->addWidget(outline_, 0, Qt::AlignHCenter);
    auto* misc = new QGroupBox("Verschiedenes:", panel);
    misc->setObjectName("GroupBox4");
    auto* fields = new QGridLayout(misc);
    wallBounce_ = NarrowNumberField(misc, "WallBounce", 0, 255);
    wallRobustness_ = NarrowNumberField(misc, "WallRobustness", 0, 65535);
    carRobustness_ = NarrowNumberField(misc, "CarRobustness", 0, 65535);
    carBounce_ = NarrowNumberField(misc, "CarBounce", 0, 255);
    const std::pair<const char*, QSpinBox*> rows[] = {{"Rückprall an Mauern:", wallBounce_},
                                                      {"Robustheit bei Crash mit Mauern:", wallRobustness_},
                                                      {"Robustheit bei Crash mit Autos:", carRobustness_},
                                                      {"Rückprall an Autos:", carBounce_}};
    int r = 0;
    for (const auto& [caption, spin] : rows) {
        fields->addWidget(Label(misc, Numbered("DamageLabel", r + 1), QString::fromUtf8(caption)), r, 0);
        fields->addWidget(spin, r, 1);
        ++r;
    }
    right->addWidget(misc);
    right->addStretch();
    layout->addLayout(right);
    return PageFrame(kDamagePage, panel, buildTransferGroup(kDamagePage, page));
}

QWidget* MiscEditor::buildDisplayPage()
{
    auto* page = new QWidget;
    auto* panel = new QWidget(page);
    panel->setObjectName("PagePanel4");
    auto* layout = new QVBoxLayout(panel);
    auto* group = new QGroupBox("RCR-Distanzen:", panel);
    group->setObjectName("GroupBox5");
    auto* grid = new QGridLayout(group);
    const char* const views[kViewCount] = {"Cockpit-Ansicht:", "InCar-Ansicht:", "Heck-Ansicht:", "Kamera-Ansicht:"};
    for (int view = 0; view < kViewCount; ++view) {
        grid->addWidget(Label(group, Numbered("ViewLabel", view + 1), views[view]), view, 0);
        distances_[static_cast<std::size_t>(view)] =
            NarrowNumberField(group, Numbered("DistanceEdit", view + 1), INT_MIN, INT_MAX);
        distances_[static_cast<std::size_t>(view)]->setMinimumWidth(120);
        distances_[static_cast<std::size_t>(view)]->setMaximumWidth(140);
        grid->addWidget(distances_[static_cast<std::size_t>(view)], view, 1);
    }
    layout->addWidget(group);
    layout->addStretch();
    return PageFrame(kDisplayPage, panel, buildTransferGroup(kDisplayPage, page));
}

QWidget* MiscEditor::buildMiscPage()
{
    auto* page = new QWidget;
    auto* panel = new QWidget(page);
    panel->setObjectName("PagePanel5");
    auto* layout = new QVBoxLayout(panel);

    auto* quick = new QGroupBox("Schnelles Rennen:", panel);
    quick->setObjectName("GroupBox6");
    auto* quickRow = new QHBoxLayout(quick);
    quickRow->addWidget(Label(quick, "MiscLabel1", "Rundenzahl des Schnellen Rennens:"));
    quickRaceLaps_ = NarrowNumberField(quick, "QuickRaceLaps", 0, kQuickRaceLapsMax);
    quickRow->addWidget(quickRaceLaps_);
    quickRow->addStretch();
    layout->addWidget(quick);

    auto* player = new QGroupBox("Spielerauto-Einstellungen", panel);
    player->setObjectName("GroupBox7");
    auto* grid = new QGridLayout(player);
    performance_ = new QComboBox(player);
    performance_->setObjectName("ComboBox1");
    performance_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    performance_->addItems(
        {QString::fromUtf8("Vorgegeben (Standard)"), QString::fromUtf8("Performance des gewählten Teams")});
    playerQualifying_ = NarrowNumberField(player, "PerformanceQualifying", 0, kPlayerPerformanceMax);
    playerRace_ = NarrowNumberField(player, "PerformanceRace", 0, kPlayerPerformanceMax);
    weight_ = NarrowNumberField(player, "Weight", 0, kWeightMax);
    grid->addWidget(Label(player, "MiscLabel2", "Performance des Spielerautos:"), 0, 0);
    grid->addWidget(performance_, 0, 1);
    grid->addWidget(Label(player, "MiscLabel3", "Performance Qualifying:"), 1, 0);
    grid->addWidget(playerQualifying_, 1, 1);
    grid->addWidget(Label(player, "MiscLabel4", "Performance Rennen:"), 2, 0);
    grid->addWidget(playerRace_, 2, 1);
    grid->addWidget(Label(player, "MiscLabel5", "Gewicht:"), 3, 0);
    grid->addWidget(weight_, 3, 1);
    layout->addWidget(player);

    keepRecords_ = new QCheckBox(QString::fromUtf8("Streckenrekorde bei jeder Rennlänge sichern"), panel);
    keepRecords_->setObjectName("CheckBox1");
    showFuel_ = new QCheckBox("Spritmenge der Computergegner immer anzeigen", panel);
    showFuel_->setObjectName("CheckBox2");
    layout->addWidget(keepRecords_);
    layout->addWidget(showFuel_);
    auto* pitRow = new QHBoxLayout;
    pitRow->addWidget(Label(panel, "MiscLabel6", "Boxengasse Geschwindigkeitsbegrenzung (mph)"));
    pitSpeed_ = NarrowNumberField(panel, "PitSpeed", 0, kPitSpeedMaxMph);
    pitRow->addWidget(pitSpeed_);
    pitRow->addStretch();
    layout->addLayout(pitRow);
    layout->addStretch();

    connect(performance_, &QComboBox::currentIndexChanged, this, [this] { performanceChange(); });
    return PageFrame(kMiscPage, panel, buildTransferGroup(kMiscPage, page));
}

QWidget* MiscEditor::buildCamerasPage()
{
    auto* page = new QWidget;
    auto* panel = new QWidget(page);
    panel->setObjectName("PagePanel6");
    auto* layout = new QHBoxLayout(panel);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(Label(panel, "CameraLabel1", "Kameras:"));
    cameraList_ = new QListWidget(panel);
    cameraList_->setObjectName("ListBox1");
    cameraList_->setFixedWidth(150);
    listColumn->addWidget(cameraList_, 1);
    layout->addLayout(listColumn);

    using W = CameraRecord::Word;
    auto group = [&](const char* name, const char* caption, std::initializer_list<std::pair<const char*, W>> rows,
                     int low, int high, int& labelNumber) {
        auto* box = new QGroupBox(QString::fromUtf8(caption), panel);
        box->setObjectName(name);
        auto* grid = new QGridLayout(box);
        int r = 0;
        for (const auto& [label, word] : rows) {
            grid->addWidget(Label(box, Numbered("CameraWordLabel", labelNumber++), QString::fromUtf8(label)), r, 0);
            auto* spin = NarrowNumberField(box, Numbered("CameraWord", word + 1), low, high);
            cameraWords_[static_cast<std::size_t>(word)] = spin;
            grid->addWidget(spin, r++, 1);
        }
        return box;
    };
    int labelNumber = 1;
    auto* fields = new QVBoxLayout;
    fields->addWidget(
        group("GroupBox8", "Position:", {{"X:", W::X}, {"Y:", W::Y}, {"Z:", W::Z}}, -32768, 32767, labelNumber));
    fields->addWidget(group("GroupBox9", "Ausrichtung (Grad):",
                            {{"Richtung:", W::Direction}, {"Neigung:", W::Pitch}, {"Drehung:", W::Roll}}, -180, 180,
                            labelNumber));
    fields->addWidget(group("GroupBox10", "Anderes:",
                            {{"Detail 1:", W::Detail1},
                             {"Detail 2:", W::Detail2},
                             {"Unbekannt 1:", W::Unknown1},
                             {"Unbekannt 2:", W::Unknown2}},
                            -32768, 32767, labelNumber));
    fields->addStretch();
    layout->addLayout(fields, 1);

    connect(cameraList_, &QListWidget::currentRowChanged, this, &MiscEditor::cameraClick);
    return PageFrame(kCamerasPage, panel, buildTransferGroup(kCamerasPage, page));
}

GameSettings& MiscEditor::settings() { return app_.workingSet().settings; }
MiscEditorState& MiscEditor::state() { return app_.editorStates.misc; }

void MiscEditor::applyLanguage()
{
    const UITexts& texts = app_.program.texts;
    ApplyTexts(this, kMiscEditorTexts, texts);
    // The group and the three buttons each have a number of their own.
    for (int page = 1; page <= kPageCount; ++page) {
        const char* const names[] = {"TransferGroup", "ImportButton", "ExportButton", "StandardButton"};
        const int numbers[] = {kTransferGroupText, kImportText, kExportText, kStandardText};
        for (int i = 0; i < 4; ++i)
            if (auto* o = findChild<QObject*>(Numbered(names[i], page)))
                SetCaption(o, FromGameText(texts.text(numbers[i])));
    }
    ApplyLines(this, kPresetNamesText, NumberedNames("PresetButton", 4), texts);
    ApplyLines(this, kAidLevelsText, NumberedNames("LevelLabel", kAidLevelCount), texts);
    QStringList aidNames = Lines(texts, kAidNamesText);
    QString legend;
    for (int aid = 0; aid < kAidCount && aid < aidNames.size(); ++aid) {
        legend += QString("%1F%2: %3").arg(aid ? "\n" : "").arg(aid + 1).arg(aidNames[aid]);
        for (int level = 0; level < kAidLevelCount; ++level)
            aids_[static_cast<std::size_t>(level)][static_cast<std::size_t>(aid)]->setToolTip(aidNames[aid]);
    }
    if (auto* names = findChild<QLabel*>("AidNames"))
        names->setText(legend);
    for (int level = 1; level <= kAidLevelCount; ++level)
        if (auto* b = findChild<QPushButton*>(Numbered("AllButton", level)))
            b->setText(FromGameText(texts.text(kAllAidsText)));
    ApplyLines(this, kDamageLabelsText, QStringList{"GroupBox3", "GroupBox4"} + NumberedNames("DamageLabel", 4), texts);
    ApplyLines(this, kCarPartsText, NumberedNames("PartLabel", kCarPartCount), texts);
    ApplyLines(this, kDisplayLabelsText, QStringList{"GroupBox5"} + NumberedNames("ViewLabel", kViewCount), texts);
    ApplyLines(this, kMiscLabelsText,
               {"GroupBox6", "MiscLabel1", "GroupBox7", "MiscLabel2", "", "", "MiscLabel3", "MiscLabel4", "MiscLabel5",
                "CheckBox1", "CheckBox2", "MiscLabel6"},
               texts);
    QStringList misc = Lines(texts, kMiscLabelsText);
    if (misc.size() > 5) {
        performance_->setItemText(0, misc[4]);
        performance_->setItemText(1, misc[5]);
    }
    ApplyLines(this, kCameraLabelsText,
               {"CameraLabel1", "GroupBox8", "GroupBox9", "CameraWordLabel4", "CameraWordLabel5", "CameraWordLabel6",
                "GroupBox10", "CameraWordLabel7", "CameraWordLabel8", "CameraWordLabel9", "CameraWordLabel10"},
               texts);
    for (int c = 0; c < cameraList_->count(); ++c)
        cameraList_->item(c)->setText(FromGameText(texts.format(kCameraEntryText, Args(c + 1))));
}

void MiscEditor::setUp()
{
    MiscEditorState& s = state();
    s.page = std::clamp(s.page, 0, kPageCount - 1);
    s.camera = std::clamp(s.camera, 0, kCameraCount - 1);
    {
        QSignalBlocker block(pages_);
        pages_->setCurrentIndex(s.page);
    }
    showAll();
    outline_->highlight(s.part);
}

void MiscEditor::restore() { showAll(); }

void MiscEditor::store()
{
    for (int page = 0; page < kPageCount; ++page)
        storePage(static_cast<Page>(page));
}

QString MiscEditor::recordOf(const QWidget* control) const
{
    const bool camera = Within(control, pages_->widget(kCamerasPage)) && control != cameraList_;
    return RecordParts({PageTitleOf(pages_, control), camera ? ChosenEntries({cameraList_}) : QString()});
}

void MiscEditor::showAll()
{
    {
        QSignalBlocker block(cameraList_);
        cameraList_->clear();
        for (int c = 0; c < kCameraCount; ++c)
            cameraList_->addItem(FromGameText(app_.program.texts.format(kCameraEntryText, Args(c + 1))));
        cameraList_->setCurrentRow(state().camera);
    }
    cameraShown_ = state().camera;
    for (int page = 0; page < kPageCount; ++page)
        showPage(static_cast<Page>(page));
    updateEnabled();
}

void MiscEditor::updateEnabled()
{
    const TransferState& transfer = app_.workingSet().transfer;
    for (int page = 0; page < kPageCount; ++page)
        if (auto* panel = findChild<QWidget*>(Numbered("PagePanel", page + 1)))
            panel->setEnabled(transfer.isLoaded(kPageItems[page]));
    int current = std::clamp(pages_->currentIndex(), 0, kPageCount - 1);
    SetupEditorStatusBar(statusBar_, transfer.isLoaded(kPageItems[current]), true, app_);
    performanceChange();
}

void MiscEditor::showPage(Page page)
{
    GameSettings& s = settings();
    switch (page) {
    case kPointsPage:
        for (int p = 0; p < kFinishingPositions; ++p)
            points_[static_cast<std::size_t>(p)]->setValue(s.points.points[static_cast<std::size_t>(p)]);
        break;
    case kAidsPage:
        for (int level = 0; level < kAidLevelCount; ++level) {
            AidSwitches on = AidSwitchesOf(s.aids.masks[static_cast<std::size_t>(level)]);
            for (int aid = 0; aid < kAidCount; ++aid)
                aids_[static_cast<std::size_t>(level)][static_cast<std::size_t>(aid)]->setChecked(
                    on[static_cast<std::size_t>(aid)]);
        }
        break;
    case kDamagePage:
        for (int part = 0; part < kCarPartCount; ++part)
            parts_[static_cast<std::size_t>(part)]->setValue(s.damage.parts[static_cast<std::size_t>(part)]);
        wallBounce_->setValue(s.damage.wallBounce);
        wallRobustness_->setValue(s.damage.wallRobustness);
        carRobustness_->setValue(s.damage.carRobustness);
        carBounce_->setValue(s.damage.carBounce);
        break;
    case kDisplayPage:
        for (int view = 0; view < kViewCount; ++view)
            distances_[static_cast<std::size_t>(view)]->setValue(s.display.views[static_cast<std::size_t>(view)]);
        break;
    case kMiscPage: {
        const MiscSettings& m = s.misc;
        quickRaceLaps_->setValue(m.quickRaceLaps);
        performance_->setCurrentIndex(m.presetPerformance ? 0 : 1);
        playerQualifying_->setValue(m.playerQualifying);
        playerRace_->setValue(m.playerRace);
        weight_->setValue(WeightForEditor(m.weight));
        keepRecords_->setChecked(m.keepTrackRecords != 0);
        showFuel_->setChecked(m.showComputerFuel != 0);
        pitSpeed_->setValue(m.pitSpeedMph);
        performanceChange();
        break;
    }
    case kCamerasPage:
        showCamera(cameraShown_);
        break;
    case kPageCount:
        break;
    }
}

void MiscEditor::storePage(Page page)
{
    GameSettings& s = settings();
    switch (page) {
    case kPointsPage:
        for (int p = 0; p < kFinishingPositions; ++p)
            s.points.points[static_cast<std::size_t>(p)] =
                static_cast<std::uint8_t>(points_[static_cast<std::size_t>(p)]->value());
        break;
    case kAidsPage:
        for (int level = 0; level < kAidLevelCount; ++level) {
            AidSwitches on{};
            for (int aid = 0; aid < kAidCount; ++aid)
                on[static_cast<std::size_t>(aid)] =
                    aids_[static_cast<std::size_t>(level)][static_cast<std::size_t>(aid)]->isChecked();
            std::uint16_t& mask = s.aids.masks[static_cast<std::size_t>(level)];
            // A mask the toggles show as it is stays as the game has it
            // (other bits included); a changed one is written as the game's
            // editor writes it.
            if (AidSwitchesOf(mask) != on)
                mask = AidMask(on);
        }
        break;
    case kDamagePage:
        for (int part = 0; part < kCarPartCount; ++part)
            s.damage.parts[static_cast<std::size_t>(part)] =
                static_cast<std::uint16_t>(parts_[static_cast<std::size_t>(part)]->value());
        s.damage.wallBounce = static_cast<std::uint8_t>(wallBounce_->value());
        s.damage.wallRobustness = static_cast<std::uint16_t>(wallRobustness_->value());
        s.damage.carRobustness = static_cast<std::uint16_t>(carRobustness_->value());
        s.damage.carBounce = static_cast<std::uint8_t>(carBounce_->value());
        break;
    case kDisplayPage:
        for (int view = 0; view < kViewCount; ++view)
            s.display.views[static_cast<std::size_t>(view)] = distances_[static_cast<std::size_t>(view)]->value();
        break;
    case kMiscPage: {
        MiscSettings& m = s.misc;
        StoreIfChanged(quickRaceLaps_, std::min<int>(m.quickRaceLaps, kQuickRaceLapsMax), m.quickRaceLaps,
                       quickRaceLaps_->value());
        // A carset's byte of 2..255 reads as its non-zero meaning and stays
        // as it is until the user changes the control.
        if ((performance_->currentIndex() == 0) != (m.presetPerformance != 0))
            m.presetPerformance = performance_->currentIndex() == 1 ? 0 : 1;
        StoreIfChanged(playerQualifying_, std::min<int>(m.playerQualifying, kPlayerPerformanceMax), m.playerQualifying,
                       playerQualifying_->value());
        StoreIfChanged(playerRace_, std::min<int>(m.playerRace, kPlayerPerformanceMax), m.playerRace,
                       playerRace_->value());
        // A weight the field could not show (NaN, out of range) is kept
        // unless the user types a new one.
        if (weight_->value() != WeightForEditor(m.weight))
            m.weight = weight_->value();
        if (keepRecords_->isChecked() != (m.keepTrackRecords != 0))
            m.keepTrackRecords = keepRecords_->isChecked() ? 1 : 0;
        if (showFuel_->isChecked() != (m.showComputerFuel != 0))
            m.showComputerFuel = showFuel_->isChecked() ? 1 : 0;
        StoreIfChanged(pitSpeed_, std::clamp(m.pitSpeedMph, 0, kPitSpeedMaxMph), m.pitSpeedMph, pitSpeed_->value());
        break;
    }
    case kCamerasPage:
        storeCamera(cameraShown_);
        break;
    case kPageCount:
        break;
    }
}

void MiscEditor::showCamera(int camera)
{
    const CameraRecord& record = settings().cameras.cameras.at(static_cast<std::size_t>(camera));
    for (int w = 0; w < CameraRecord::Count; ++w) {
        bool angle = w >= CameraRecord::Direction && w <= CameraRecord::Roll;
        std::int16_t word = record.words[static_cast<std::size_t>(w)];
        cameraWords_[static_cast<std::size_t>(w)]->setValue(angle ? AngleDegrees(word) : word);
    }
    cameraShown_ = camera;
}

void MiscEditor::storeCamera(int camera)
{
    CameraRecord& record = settings().cameras.cameras.at(static_cast<std::size_t>(camera));
    for (int w = 0; w < CameraRecord::Count; ++w) {
        bool angle = w >= CameraRecord::Direction && w <= CameraRecord::Roll;
        std::int16_t& word = record.words[static_cast<std::size_t>(w)];
        const QSpinBox* spin = cameraWords_[static_cast<std::size_t>(w)];
        if (angle)
            StoreIfChanged(spin, AngleDegrees(word), word, AngleWord(spin->value()));
        else
            word = static_cast<std::int16_t>(spin->value());
    }
}

void MiscEditor::cameraClick(int row)
{
    if (row < 0 || row >= kCameraCount)
        return;
    storeCamera(cameraShown_);
    state().camera = row;
    showCamera(row);
}

void MiscEditor::performanceChange()
{
    // The player's own performance values only count while the game's
    // preset is chosen.
    bool preset = performance_->currentIndex() != 1;
    playerQualifying_->setEnabled(preset);
    playerRace_->setEnabled(preset);
}

void MiscEditor::allAidsClick(int level)
{
    for (QToolButton* toggle : aids_.at(static_cast<std::size_t>(level)))
        toggle->setChecked(true);
}

bool MiscEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) {
        QVariant part = watched->property("carPart");
        if (part.isValid()) {
            outline_->highlight(part.toInt());
            state().part = part.toInt();
        }
    }
    return EditorWindow::eventFilter(watched, event);
}

void MiscEditor::importClick(Page page)
{
    store();
    const std::uint8_t item = static_cast<std::uint8_t>(kPageItems[page]);
    app_.workingSet().transfer.selection = BuildSelection(std::array<std::uint8_t, 1>{item});
    TransferUi ui = app_.transferUi();
    app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    showAll();
}

void MiscEditor::exportClick(Page page)
{
    store();
    const std::uint8_t item = static_cast<std::uint8_t>(kPageItems[page]);
    app_.workingSet().transfer.selection = BuildSelection(std::array<std::uint8_t, 1>{item});
    TransferUi ui = app_.transferUi();
    app_.engine().exportToGame(ItemChoice::AsSelected, ui);
}

void MiscEditor::standardClick(Page page)
{
    store();
    const std::uint8_t item = static_cast<std::uint8_t>(kPageItems[page]);
    app_.workingSet().transfer.selection = BuildSelection(std::array<std::uint8_t, 1>{item});
    TransferUi ui = app_.transferUi();
    std::string standard = IncludeTrailingBackslash(app_.program.directories.program) + "Standard.DAT";
    // Defaults are not a carset of the user's: the carset information stays.
    app_.engine().loadCarset(ItemChoice::AsSelected, standard, ui, CarsetInformation::Keep);
    showAll();
}

} // namespace pitwall::gui
