#include "SimulationWindow.h"

#include "AppContext.h"
#include "LanguageTable.h"
#include "MainWindow.h"
#include "ScreenPlacement.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

constexpr int kQualifyingRows = 12;
constexpr int kRaceRows = 11;

constexpr TextBinding kSimulationTexts[] = {
    {"", TextRole::Caption, 1049},
    {"GroupBox1", TextRole::Caption, 197},
    {"GroupBox2", TextRole::Caption, 198},
    {"BitBtn1", TextRole::Caption, 200},
    {"BitBtn2", TextRole::Caption, 200},
    {"RadioGroup1", TextRole::Caption, 201},
    {"RadioGroup2", TextRole::Caption, 900},
    {"RadioGroup1_0", TextRole::Caption, 844},
    {"RadioGroup1_1", TextRole::Caption, 845},
    {"RadioGroup2_0", TextRole::Caption, 844},
    {"RadioGroup2_1", TextRole::Caption, 845},
    {"RadioGroup3", TextRole::Caption, 747},
    {"RadioGroup4", TextRole::Caption, 748},
    {"RadioGroup3_0", TextRole::Caption, 901},
    {"RadioGroup3_1", TextRole::Caption, 902},
    {"RadioGroup4_0", TextRole::Caption, 903},
    {"RadioGroup4_1", TextRole::Caption, 904},
    {"CheckBox1", TextRole::Caption, 736},
};

// A captioned group of two radio buttons named <name>_0 and <name>_1.
QGroupBox* Choice(QWidget* parent, const char* name, const QString& caption, const QString& first,
                  const QString& second, QRadioButton*& firstButton, QRadioButton*& secondButton)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    firstButton = new QRadioButton(first, box);
    firstButton->setObjectName(QString(name) + "_0");
    secondButton = new QRadioButton(second, box);
    secondButton->setObjectName(QString(name) + "_1");
    firstButton->setChecked(true);
    layout->addWidget(firstButton);
    layout->addWidget(secondButton);
    return box;
}

} // namespace

SimulationWindow::SimulationWindow(AppContext& app, QWidget* parent)
    : QWidget(parent, Qt::Window), app_(app), random_(MakeRandomBelow(QRandomGenerator::global()->generate()))
{
    setObjectName("TForm2");
    setWindowTitle("Simulation");
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    buildGroup(qualifying_, Ranking::Qualifying, kQualifyingRows);
    buildGroup(race_, Ranking::Race, kRaceRows);
    groups->addWidget(qualifying_.box, 0, Qt::AlignTop);
    groups->addWidget(race_.box, 0, Qt::AlignTop);
    layout->addLayout(groups);

    auto* options = new QHBoxLayout;
    options->addWidget(Choice(this, "RadioGroup3", "Abstände", "Absolut", "Relativ", absolute_, relative_));
    options->addWidget(
        Choice(this, "RadioGroup4", "Namen", "Fahrernamen zeigen", "Teamnamen zeigen", driverNames_, teamNames_));
    consistency_ = new QCheckBox("Konstanz berücksichtigen", this);
    consistency_->setObjectName("CheckBox1");
    options->addWidget(consistency_, 0, Qt::AlignBottom);
    options->addStretch();
    layout->addLayout(options);

    for (QRadioButton* b : {relative_, teamNames_})
        connect(b, &QRadioButton::toggled, this, [this] { rebuildLastRanking(); });
}

void SimulationWindow::buildGroup(Group& g, Ranking ranking, int rows)
{
    bool qualifying = ranking == Ranking::Qualifying;
    const char* prefix = qualifying ? "Qualifying" : "Race";
    g.box = new QGroupBox(qualifying ? "Qualifikation:" : "Rennen:", this);
    g.box->setObjectName(qualifying ? "GroupBox1" : "GroupBox2");
    auto* grid = new QGridLayout(g.box);
    grid->setVerticalSpacing(2);
    for (int row = 0; row < rows; ++row) {
        auto* name = new QLabel(g.box);
        name->setObjectName(QString("%1Name%2").arg(prefix).arg(row + 1));
        name->setMinimumWidth(190);
        auto* value = new QLabel(g.box);
        value->setObjectName(QString("%1Time%2").arg(prefix).arg(row + 1));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(70);
        grid->addWidget(name, row, 0);
        grid->addWidget(value, row, 1);
        g.names.push_back(name);
        g.values.push_back(value);
    }
    // A race group is one row shorter: keep the rows of both groups aligned.
    grid->setRowStretch(kQualifyingRows, 1);
    const char* choiceName = qualifying ? "RadioGroup1" : "RadioGroup2";
    QGroupBox* view = Choice(g.box, choiceName, qualifying ? "Ansicht:" : "Positionen:", "Positionen 1-12",
                             "Positionen 13-22", g.firstPart, g.secondPart);
    grid->addWidget(view, kQualifyingRows + 1, 0, 1, 2);
    auto* again = new QPushButton("Neu simulieren", g.box);
    again->setObjectName(qualifying ? "BitBtn1" : "BitBtn2");
    grid->addWidget(again, kQualifyingRows + 2, 0, 1, 2);

    connect(g.secondPart, &QRadioButton::toggled, this, [this, ranking] { showRanking(ranking); });
    connect(again, &QPushButton::clicked, this, [this, ranking] { simulate(ranking); });
}

SimulationWindow* SimulationWindow::instanceFor(AppContext& app)
{
    QWidget* owner = app.mainWindow;
    Q_ASSERT(owner);
    auto* window = owner->findChild<SimulationWindow*>("TForm2", Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new SimulationWindow(app, owner);
        window->applyLanguage();
    }
    return window;
}

void SimulationWindow::applyLanguage() { ApplyTexts(this, kSimulationTexts, app_.program.texts); }

void SimulationWindow::simulateQualifying() { simulate(Ranking::Qualifying); }
void SimulationWindow::simulateRace() { simulate(Ranking::Race); }

const std::vector<std::string>& SimulationWindow::lines(Ranking ranking) const
{
    return ranking == Ranking::Qualifying ? qualifying_.lines : race_.lines;
}

void SimulationWindow::simulate(Ranking ranking)
{
    const TeamTable& table = app_.workingSet().teams;
    bool randomise = consistency_->isChecked();
    lastResult_ = ranking == Ranking::Qualifying ? pitwall::SimulateQualifying(table, randomise, random_)
                                                 : pitwall::SimulateRace(table, randomise, random_);
    lastRanking_ = ranking;
    rebuildLastRanking();
}

void SimulationWindow::rebuildLastRanking()
{
    if (!lastRanking_)
        return;
    group(*lastRanking_).lines =
        FormatSimulationResult(lastResult_, app_.workingSet().teams, relative_->isChecked(), driverNames_->isChecked());
    showRanking(*lastRanking_);
}

void SimulationWindow::showRanking(Ranking ranking)
{
    Group& g = group(ranking);
    std::size_t first = g.secondPart->isChecked() ? g.names.size() : 0;
    for (std::size_t row = 0; row < g.names.size(); ++row) {
        std::size_t line = first + row;
        bool used = line < g.lines.size();
        g.names[row]->setVisible(used);
        g.values[row]->setVisible(used);
        if (!used)
            continue;
        auto [label, value] = SplitSimulationLine(g.lines[line]);
        g.names[row]->setText(FromUntrustedGameText(label));
        g.values[row]->setText(QString::fromStdString(FormatLapTime(value)));
    }
    if (!isVisible()) {
        // Beside the main window, as the editors sit below it: never at the
        // screen's corner over the main window's menu.
        // Where the right side has no room, it goes to the left; failing
        // that, onto the screen over part of the main window.
        if (QWidget* owner = parentWidget()) {
            const QRect frame = owner->frameGeometry();
            const QRect available = AvailableAreaOf(owner);
            const int width = (isVisible() ? frameGeometry().size() : size().expandedTo(sizeHint())).width() + 16;
            QPoint place(frame.right() + 1, frame.top());
            if (place.x() + width > available.right() + 1 && frame.left() - width >= available.left())
                place.setX(frame.left() - width);
            MoveOntoScreen(this, place, owner);
        }
        show();
    }
    raise();
    activateWindow();
}

} // namespace pitwall::gui
