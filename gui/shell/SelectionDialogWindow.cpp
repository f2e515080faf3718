#include "SelectionDialogWindow.h"

#include "AppContext.h"
#include "QtMessages.h"
#include "teams/TeamsArea.h"
#include "tracks/TracksArea.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

// The German captions the dialog shows before a language is applied.
struct DefaultCaption {
    int item;
    const char* text;
};
constexpr DefaultCaption kDefaultCaptions[] = {
    {1, "Teams und Fahrer"},
    {2, "Punkteverteilung"},
    {3, "Fahrhilfen"},
    {4, "Verschiedenes"},
    {5, "Menuhintergründe"},
    {6, "Startnummer-Positionen"},
    {7, "Cockpit-Grafik Software"},
    {8, "Cockpit-Grafik Hardware"},
    {9, "LCD-Display Deutsch"},
    {10, "Flaggenfarben"},
    {77, "Helmgrafiken (Software)"},
    {78, "Cockpit-Objekte"},
    {102, "Helmgrafiken (Hardware)"},
    {103, "Schadensdaten"},
    {116, "Sounds"},
    {117, "Ladebilder"},
    {118, "LCD-Texte"},
    {119, "Anzeige"},
    {120, "Kameras"},
    {176, "Alle Sprachen"},
    {189, "Reifentyp 1"},
    {190, "Reifentyp 2"},
    {167, "Gemeinsam mit den Streckendateien auch die von ihnen benötigten JAMs speichern"},
};
constexpr const char* kLanguages[] = {"Deutsch",     "Englisch",     "Spanisch", "Französisch",
                                      "Italienisch", "Amerikanisch", "Polnisch", "Portugiesisch"};
constexpr const char* kTextsCaptions[] = {"Deutsche Texte",     "Englische Texte",    "Spanische Texte",
                                          "Französische Texte", "Italienische Texte", "Amerikanische Texte",
                                          "Polnische Texte",    "Portugisische Texte"};

// "SW    HW" above a pair of columns: each word is drawn centred over its own
// column, so it stands above its check boxes whatever the font and language.
class PairCaption : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QStringList words = text().split(' ', Qt::SkipEmptyParts);
        if (words.size() != 2) {
            QPainter p(this);
            p.drawText(rect(), Qt::AlignCenter, text());
            return;
        }
        QPainter p(this);
        const int half = width() / 2;
        p.drawText(QRect(0, 0, half, height()), Qt::AlignCenter, words[0]);
        p.drawText(QRect(half, 0, width() - half, height()), Qt::AlignCenter, words[1]);
    }
};

} // namespace

SelectionDialogWindow::SelectionDialogWindow(AppContext& app, QWidget* parent) : QDialog(parent), app_(app)
{
    setObjectName("TForm6");
    setWindowTitle("Auswahl");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName("PageControl1");
    auto* data = new QWidget;
    data->setObjectName("TabSheet1");
    auto* graphics = new QWidget;
    graphics->setObjectName("TabSheet2");
    auto* tracks = new QWidget;
    tracks->setObjectName("TabSheet3");
    tabs->addTab(data, "Daten");
    tabs->addTab(graphics, "Grafiken");
    tabs->addTab(tracks, "Strecken");
    names_.reserve(400);
    buildDataPage(data);
    buildGraphicsPage(graphics);
    buildTracksPage(tracks);
    layout->addWidget(tabs);

    all_ = new QCheckBox("Alles importieren / exportieren", this);
    all_->setObjectName("CheckBoxAll");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Abbrechen", this);
    cancel->setObjectName("BitBtn2");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(all_);
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(all_, &QCheckBox::clicked, this, [this] {
        model_.clickAll();
        syncFromModel();
    });

    texts_.push_back({"", TextRole::Caption, 509});
    texts_.push_back({"BitBtn1", TextRole::Caption, 203});
    texts_.push_back({"BitBtn2", TextRole::Caption, 204});
    texts_.push_back({"CheckBoxAll", TextRole::Caption, 480});
    texts_.push_back({"TabSheet1", TextRole::TabTitle, 469});
    texts_.push_back({"TabSheet2", TextRole::TabTitle, 448});
    texts_.push_back({"TabSheet3", TextRole::TabTitle, 423});
    for (int n = 1; n <= kLastItem; ++n) {
        int text = ItemCaptionText(n);
        if (text >= 0 && boxes_[static_cast<std::size_t>(n)])
            texts_.push_back({names_[static_cast<std::size_t>(n - 1)].c_str(), TextRole::Caption, text});
    }
    syncFromModel();
    resize(860, 560);
}

QCheckBox* SelectionDialogWindow::makeBox(int item, QWidget* parent, const char* caption)
{
    auto* b = new QCheckBox(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(names_[static_cast<std::size_t>(item - 1)].c_str()));
    b->setProperty("tag", ItemTag(item));
    boxes_[static_cast<std::size_t>(item)] = b;
    connect(b, &QCheckBox::clicked, this, [this, item] { boxClicked(item); });
    return b;
}

void SelectionDialogWindow::buildDataPage(QWidget* page)
{
    for (int n = 1; n <= kLastItem; ++n)
        names_.push_back("CheckBox" + std::to_string(n));
    auto caption = [](int item) -> const char* {
        for (const auto& c : kDefaultCaptions)
            if (c.item == item)
                return c.text;
        return "";
    };
    auto* grid = new QGridLayout(page);
    auto group = [&](const char* name, const char* title, int text, std::initializer_list<int> items, int row,
                     int column, int rowSpan = 1) {
        auto* g = new QGroupBox(QString::fromUtf8(title), page);
        g->setObjectName(name);
        auto* l = new QVBoxLayout(g);
        for (int item : items)
            l->addWidget(makeBox(item, g, caption(item)));
        l->addStretch();
        grid->addWidget(g, row, column, rowSpan, 1);
        texts_.push_back({name, TextRole::Caption, text});
        return g;
    };
    // Built column by column, so Tab reads down each column before the next.
    group("GroupBox3", "Verschiedenes", 81, {1, 2, 3, 4, 103, 119, 120, 116}, 0, 0);
    group("GroupBox6", "Anderes", 1118, {5, 6, 10, 117}, 1, 0);
    group("GroupBox4", "Helme", 154, {77, 102}, 2, 0);
    auto* textsGroup = new QGroupBox("Texte:", page);
    textsGroup->setObjectName("GroupBox2");
    texts_.push_back({"GroupBox2", TextRole::Caption, 441});
    auto* tl = new QVBoxLayout(textsGroup);
    for (int i = 0; i < 8; ++i)
        tl->addWidget(makeBox(kTextsFirst + i, textsGroup, kTextsCaptions[i]));
    tl->addWidget(makeBox(176, textsGroup, caption(176)));
    grid->addWidget(textsGroup, 0, 1, 2, 1);
    group("GroupBox5", "Reifen", 1091, {189, 190}, 2, 1);
    auto* cockpit = group("GroupBox1", "Cockpit", 157, {7, 8, 78, 118, 9}, 0, 2, 2);
    // The LCD boxes go above the group's closing stretch, so the group has
    // no gap in its middle.
    auto* cockpitColumn = static_cast<QVBoxLayout*>(cockpit->layout());
    for (int i = 0; i < 8; ++i)
        cockpitColumn->insertWidget(
            cockpitColumn->count() - 1,
            makeBox(kLcdDisplayFirst + i, cockpit, (std::string("LCD-Display ") + kLanguages[i]).c_str()));
}

void SelectionDialogWindow::buildGraphicsPage(QWidget* page)
{
    auto* grid = new QGridLayout(page);
    auto label = [&](const char* name, const char* text, int uiText, int row, int column, int span = 1) {
        auto* l = new QLabel(QString::fromUtf8(text), page);
        l->setObjectName(name);
        grid->addWidget(l, row, column, 1, span, Qt::AlignCenter);
        texts_.push_back({name, TextRole::Caption, uiText});
    };
    label("LabelCar", "Auto:", 449, 0, 1, 2);
    label("LabelCockpit", "Cockpit:", 450, 0, 3, 2);
    label("LabelJack", "Wagenheber:", 914, 0, 5, 2);
    label("LabelTeamArt", "Teamgrafiken (Menu):", 452, 0, 7);
    label("LabelPitCrew", "Boxencrew", 899, 0, 8);
    label("LabelRow", "Alles", 913, 0, 9);
    static const char* const kPairLabels[] = {"LabelSwHw1", "LabelSwHw2", "LabelSwHw3"};
    for (int pair = 0; pair < 3; ++pair) {
        auto* l = new PairCaption("SW    HW", page);
        l->setObjectName(kPairLabels[pair]);
        grid->addWidget(l, 1, 1 + 2 * pair, 1, 2);
        texts_.push_back({kPairLabels[pair], TextRole::Caption, 453});
    }
    // The two columns of a pair are equally wide, so the halves of its caption
    // stand over their check boxes; the rest share the width alike.
    for (int c = 1; c <= 9; ++c) {
        grid->setColumnMinimumWidth(c, 56);
        grid->setColumnStretch(c, 1);
    }
    label("LabelColours", "( Farben )", 915, 1, 8);
    static const char* const kTeamLabels[] = {"LabelTeam1", "LabelTeam2",  "LabelTeam3", "LabelTeam4",
                                              "LabelTeam5", "LabelTeam6",  "LabelTeam7", "LabelTeam8",
                                              "LabelTeam9", "LabelTeam10", "LabelTeam11"};
    const int columns[] = {kCarSoftFirst,  kCarHardFirst, kCockpitSoftFirst, kCockpitHardFirst, kJackSoftFirst,
                           kJackHardFirst, kTeamArtFirst, kPitCrewFirst,     kRowBoxFirst};
    for (int team = 0; team < 11; ++team) {
        int row = 2 + team;
        label(kTeamLabels[team], ("Team Nr. " + std::to_string(team + 1) + ":").c_str(), 454 + team, row, 0);
        for (int c = 0; c < 9; ++c)
            grid->addWidget(makeBox(columns[c] + team, page), row, 1 + c, Qt::AlignCenter);
    }
    label("LabelAll", "Alle:", 465, 13, 0);
    const int selectAll[] = {79, 80, 81, 82, 83, 84, 115, 177, 166};
    for (int c = 0; c < 9; ++c)
        grid->addWidget(makeBox(selectAll[c], page), 13, 1 + c, Qt::AlignCenter);
}

void SelectionDialogWindow::buildTracksPage(QWidget* page)
{
    auto* grid = new QGridLayout(page);
    auto label = [&](const std::string& name, const std::string& text, int uiText, int row, int column) {
        auto* l = new QLabel(QString::fromStdString(text), page);
        l->setObjectName(QString::fromStdString(name));
        grid->addWidget(l, row, column, Qt::AlignCenter);
        names_.push_back(name);
        texts_.push_back({names_.back().c_str(), TextRole::Caption, uiText});
    };
    label("LabelTrackFiles", "Streckendateien:", 551, 0, 1);
    label("LabelTrackGraphics", "Streckengrafiken:", 552, 0, 2);
    label("LabelTrackInfo", "Streckeninformationen:", 474, 0, 3);
    for (int t = 0; t < 16; ++t) {
        label("LabelTrack" + std::to_string(t + 1), "Strecke " + std::to_string(t + 1) + ":", 534 + t, 1 + t, 0);
        grid->addWidget(makeBox(kTrackFileFirst + t, page), 1 + t, 1, Qt::AlignCenter);
        grid->addWidget(makeBox(kTrackGraphicsFirst + t, page), 1 + t, 2, Qt::AlignCenter);
        grid->addWidget(makeBox(kTrackInfoFirst + t, page), 1 + t, 3, Qt::AlignCenter);
    }
    label("LabelAllTracks", "Alle Strecken:", 550, 17, 0);
    grid->addWidget(makeBox(101, page), 17, 1, Qt::AlignCenter);
    grid->addWidget(makeBox(137, page), 17, 2, Qt::AlignCenter);
    grid->addWidget(makeBox(154, page), 17, 3, Qt::AlignCenter);
    auto* jams = makeBox(167, page, kDefaultCaptions[std::size(kDefaultCaptions) - 1].text);
    grid->addWidget(jams, 18, 0, 1, 4);
}

void SelectionDialogWindow::syncFromModel()
{
    for (int n = 1; n <= kLastItem; ++n) {
        QCheckBox* b = boxes_[static_cast<std::size_t>(n)];
        if (!b)
            continue;
        const SelectionBox& m = model_.box(n);
        b->setVisible(m.visible);
        b->setEnabled(m.enabled);
        b->setChecked(m.checked);
    }
    all_->setChecked(model_.allBox().checked);
}

void SelectionDialogWindow::boxClicked(int item)
{
    model_.click(item);
    syncFromModel();
}

void SelectionDialogWindow::prepareImport(const ItemBytes& offered, bool carset, int gameVersion)
{
    model_.prepareImport(offered, carset, gameVersion);
    syncFromModel();
    nameRowsByLoadedData();
}

void SelectionDialogWindow::prepareExport(const ItemBytes& offered, bool carset)
{
    model_.prepareExport(offered, carset);
    syncFromModel();
    nameRowsByLoadedData();
}

// The model, not the widgets: a box on a page not in front is not visible
// as a widget, yet its item is chosen all the same.
ItemBytes SelectionDialogWindow::readSelectionDialog() const { return model_.readSelection(); }

void SelectionDialogWindow::applyLanguage()
{
    ApplyTexts(this, texts_, app_.program.texts);
    nameRowsByLoadedData();
}

// "Team no. 3:" says little; with the teams loaded the row reads
// "Team no. 3: Ferrano", and a track row gives the track's English city.
void SelectionDialogWindow::nameRowsByLoadedData()
{
    const WorkingSet& data = app_.workingSet();
    auto nameRow = [this](const QString& labelName, int uiText, const std::string& name) {
        auto* label = findChild<QLabel*>(labelName);
        if (!label)
            return;
        QString base = FromGameText(app_.program.texts.text(uiText));
        if (name.empty()) {
            label->setText(base);
            return;
        }
        if (base.endsWith(':'))
            base.chop(1);
        label->setText(base + ": " + FromUntrustedGameText(name));
    };
    const bool teamsLoaded = data.transfer.isLoaded(kTeamsItem);
    for (int team = 0; team < kTeamCount; ++team)
        nameRow(QString("LabelTeam%1").arg(team + 1), 454 + team,
                teamsLoaded ? data.teams.teams[static_cast<std::size_t>(team)].name.text() : std::string());
    for (int t = 0; t < kTrackCount; ++t) {
        const auto& info = data.tracks.info[static_cast<std::size_t>(t)];
        nameRow(QString("LabelTrack%1").arg(t + 1), 534 + t,
                data.transfer.isLoaded(TrackInfoItem(t)) ? info.texts[kTrackCity][1].text() : std::string());
    }
    nameGridBoxes();
}

// The boxes of the graphics and tracks pages have no caption of their own:
// a screen reader says "Team no. 3: Ferrano, Car: SW" for them, from the
// labels of their row and column.
void SelectionDialogWindow::nameGridBoxes()
{
    auto text = [this](const QString& labelName) {
        auto* label = findChild<QLabel*>(labelName);
        QString t = label ? label->text().simplified() : QString();
        while (t.endsWith(':'))
            t.chop(1);
        return t;
    };
    const QStringList halves = FromGameText(app_.program.texts.text(453)).split(' ', Qt::SkipEmptyParts);
    auto half = [&](int which) { return which < halves.size() ? " " + halves[which] : QString(); };
    const QString columns[] = {text("LabelCar") + half(0),     text("LabelCar") + half(1),
                               text("LabelCockpit") + half(0), text("LabelCockpit") + half(1),
                               text("LabelJack") + half(0),    text("LabelJack") + half(1),
                               text("LabelTeamArt"),           text("LabelPitCrew"),
                               text("LabelRow")};
    const int firsts[] = {kCarSoftFirst,  kCarHardFirst, kCockpitSoftFirst, kCockpitHardFirst, kJackSoftFirst,
                          kJackHardFirst, kTeamArtFirst, kPitCrewFirst,     kRowBoxFirst};
    const int selectAll[] = {79, 80, 81, 82, 83, 84, 115, 177, 166};
    for (int c = 0; c < 9; ++c) {
        for (int team = 0; team < kTeamCount; ++team)
            if (QCheckBox* b = boxes_[static_cast<std::size_t>(firsts[c] + team)])
                b->setAccessibleName(text(QString("LabelTeam%1").arg(team + 1)) + ", " + columns[c]);
        if (QCheckBox* b = boxes_[static_cast<std::size_t>(selectAll[c])])
            b->setAccessibleName(text("LabelAll") + ", " + columns[c]);
    }
    const QString trackColumns[] = {text("LabelTrackFiles"), text("LabelTrackGraphics"), text("LabelTrackInfo")};
    const int trackFirsts[] = {kTrackFileFirst, kTrackGraphicsFirst, kTrackInfoFirst};
    const int allTracks[] = {101, 137, 154};
    for (int c = 0; c < 3; ++c) {
        for (int t = 0; t < kTrackCount; ++t)
            if (QCheckBox* b = boxes_[static_cast<std::size_t>(trackFirsts[c] + t)])
                b->setAccessibleName(text(QString("LabelTrack%1").arg(t + 1)) + ", " + trackColumns[c]);
        if (QCheckBox* b = boxes_[static_cast<std::size_t>(allTracks[c])])
            b->setAccessibleName(text("LabelAllTracks") + ", " + trackColumns[c]);
    }
}

bool SelectionDialogWindow::showForImport(const ItemBytes& offered, bool carset, int gameVersion)
{
    prepareImport(offered, carset, gameVersion);
    return exec() == QDialog::Accepted;
}

bool SelectionDialogWindow::showForExport(const ItemBytes& offered, bool carset)
{
    prepareExport(offered, carset);
    return exec() == QDialog::Accepted;
}

} // namespace pitwall::gui
